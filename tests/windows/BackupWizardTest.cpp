// The backup wizard through the real pages of the sandbox edition and the
// platform's real save dialog, on sandbox machines: the default target, the
// save dialog's checks, the compression choice, values kept across Back, and
// Next then Start handing the job over. Each test is one program start.
#include "support/WizardDriver.h"

#include "app/PageMessages.h"
#include "app/ResourceIds.h"
#include "job/JobContent.h"

#include <fstream>
#include <regex>

namespace quorvane::testing {
namespace {

namespace fs = std::filesystem;

class BackupWizard : public WizardDriver {
protected:
    using WizardDriver::WizardDriver;

    // Starts the program on the machine, with a second disk of `secondDisk`
    // and these drive letters, and opens the options page from the main
    // menu's Backup button.
    void start(const std::string& volumes, const std::string& secondDisk = "'type=7'")
    {
        ASSERT_TRUE(machine.addDisk(1, "200G", secondDisk));
        ASSERT_NO_FATAL_FAILURE(startProgram(volumes));
        click(IDC_MENU_BACKUP);
        ASSERT_TRUE(showsPage("backup options"));
    }

    std::wstring target() const { return controlText(control(IDC_BACKUP_TARGET)); }
    std::wstring description() const { return controlText(control(IDC_BACKUP_DESCRIPTION)); }
    void setDescription(const wchar_t* text)
    {
        SendMessageW(control(IDC_BACKUP_DESCRIPTION), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
    }

    // The disabled choices, which show the chosen level: "fast" when only Fast is.
    std::string chosenCompression() const
    {
        std::string chosen;
        for (const auto& [id, name] :
             {std::pair{IDC_BACKUP_NONE, " none"}, {IDC_BACKUP_FAST, " fast"}, {IDC_BACKUP_MAXIMUM, " maximum"}}) {
            if (!IsWindowEnabled(control(id)))
                chosen += name;
        }
        return chosen.empty() ? chosen : chosen.substr(1);
    }

    // What the options page shows, in one line for comparisons.
    std::string shownChoice() const
    {
        return narrow(target()) + " | " + chosenCompression() + " | '" + narrow(description()) + "'";
    }

    // Next, Start, and the restart that follows; the job file must hold `job`,
    // with the time of Next as its description where `job` has none.
    void handOver(BackupJobParameters job, bool otherDisk)
    {
        click(IDC_BACKUP_NEXT);
        ASSERT_TRUE(showsPage("backup confirm"));
        click(IDC_BACKUP_CONFIRM_START);
        // What the hand-off itself does (the switch, the notice's timing, the
        // restart) is tested with the job runner; here: that Start hands over.
        if (otherDisk)
            expectMessage(imageOnOtherDisk);
        ASSERT_NO_FATAL_FAILURE(expectHandedOver());
        const Bytes bytes = fileBytes(machine.jobFile());
        const std::wstring text(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / 2);
        std::wsmatch stamp;
        if (job.description.empty()) {
            EXPECT_TRUE(std::regex_search(text, stamp, std::wregex(LR"(\r\nDesc=(\d{4}-\d{2}-\d{2} \d{2}:\d{2} ?)\r\n)")));
            job.description = stamp.str(1);
        }
        EXPECT_TRUE(jobFileHolds(bytes, backupJobKeys(job))) << narrow(text);
    }
};

// Partition 3 lettered e as the program starts: the default target still
// names D:, with Fast and the time, and stays what the start found when the
// letter is gone before the page first shows; the controls' places and
// styles (owner-drawn skin buttons, a read-only target); clicks on the
// choices, edges included; a blank description becomes the time of Next.
TEST_F(BackupWizard, OptionsPageDefaultsControlsAndCompressionClicks)
{
    ASSERT_TRUE(machine.addDisk(1, "200G", "'type=7'"));
    ASSERT_NO_FATAL_FAILURE(startProgram("p=0,2\r\ne=0,3\r\n"));
    machine.writeMachine("[Volumes]\r\np=0,2\r\n");
    click(IDC_MENU_BACKUP);
    ASSERT_TRUE(showsPage("backup options"));
    EXPECT_EQ(target(), L"D:\\backup.QVX");
    machine.writeMachine("[Volumes]\r\np=0,2\r\ne=0,3\r\n");
    EXPECT_EQ(chosenCompression(), "fast");
    const std::wregex timeStamp(LR"(\d{4}-\d{2}-\d{2} \d{2}:\d{2} )");
    EXPECT_TRUE(std::regex_match(description(), timeStamp)) << narrow(description());

    for (int id : {IDC_BACKUP_BACK, IDC_BACKUP_NEXT, IDC_BACKUP_BROWSE, IDC_BACKUP_NONE, IDC_BACKUP_FAST, IDC_BACKUP_MAXIMUM})
        EXPECT_EQ(GetWindowLongW(control(id), GWL_STYLE) & 0x0F, BS_OWNERDRAW) << id;
    const LONG targetStyle = GetWindowLongW(control(IDC_BACKUP_TARGET), GWL_STYLE);
    EXPECT_EQ(targetStyle & (ES_READONLY | ES_AUTOHSCROLL), ES_READONLY | ES_AUTOHSCROLL);
    // Typing stops when the text fills the description's width: it does not scroll.
    setDescription(L"");
    for (int typed = 0; typed < 120; ++typed)
        PostMessageW(control(IDC_BACKUP_DESCRIPTION), WM_CHAR, L'W', 1);
    ASSERT_TRUE(program->answerClose(shell, IDNO).window); // everything posted before has been handled
    EXPECT_GT(description().size(), 10u);
    EXPECT_LT(description().size(), 120u);

    clickControl(control(IDC_BACKUP_MAXIMUM));
    EXPECT_TRUE(waitUntil([&] { return chosenCompression() == "maximum"; })) << chosenCompression();
    // One pixel beyond None's bottom-right corner is not None; the corner is.
    RECT none{};
    GetClientRect(control(IDC_BACKUP_NONE), &none);
    clickControl(control(IDC_BACKUP_NONE), POINT{none.right + 1, none.bottom + 1});
    ASSERT_TRUE(program->answerClose(shell, IDNO).window);
    EXPECT_EQ(chosenCompression(), "maximum");
    clickControl(control(IDC_BACKUP_NONE), POINT{none.right, none.bottom});
    EXPECT_TRUE(waitUntil([&] { return chosenCompression() == "none"; })) << chosenCompression();
    setDescription(L" \t  ");
    handOver({1, L"", L"D:\\backup.QVX", 3, 0}, false);
}

// No partition 3: Next asks for a target; Cancel changes nothing; the save
// dialog refuses the system partition and unmapped drives and asks again.
// Then the choices are kept across Back from Confirm and Back to the menu,
// and handed over as they stand.
TEST_F(BackupWizard, BrowseRefusesUnsafeTargetsAndChoicesAreKeptAcrossBack)
{
    start("p=0,2\r\ne=1,1\r\n");
    EXPECT_EQ(target(), L"");
    click(IDC_BACKUP_NEXT);
    expectMessage(L"text 83");
    EXPECT_EQ(visiblePage(shell), "backup options");
    click(IDC_BACKUP_BROWSE);
    answerFileDialog(std::nullopt);
    EXPECT_EQ(target(), L"");

    click(IDC_BACKUP_BROWSE);
    answerFileDialog(L"p:\\on-the-system-partition");
    expectMessage(L"text 84");
    answerFileDialog(L"c:\\not-in-the-map");
    expectMessage(L"text 85");
    EXPECT_EQ(target(), L"") << "nothing chosen yet";
    answerFileDialog(L"e:\\kept.bak");
    ASSERT_TRUE(waitUntil([&] { return target() != L""; }));
    setDescription(L"  x ");
    clickControl(control(IDC_BACKUP_MAXIMUM));
    const std::string chosen = "e:\\kept.bak.QVX | maximum | '  x '";
    ASSERT_TRUE(waitUntil([&] { return shownChoice() == chosen; })) << shownChoice();

    click(IDC_BACKUP_NEXT);
    ASSERT_TRUE(showsPage("backup confirm"));
    click(IDC_BACKUP_CONFIRM_BACK);
    ASSERT_TRUE(showsPage("backup options"));
    EXPECT_EQ(shownChoice(), chosen);
    click(IDC_BACKUP_BACK);
    ASSERT_TRUE(showsPage("main menu"));
    click(IDC_MENU_BACKUP);
    ASSERT_TRUE(showsPage("backup options"));
    EXPECT_EQ(shownChoice(), chosen);
    handOver({3, L"  x ", L"e:\\kept.bak.QVX", 1, 1}, true);
}

// A whole backup from the keyboard alone: Tab, Shift+Tab and Space, from the
// main menu to Start, with Maximum chosen by Space. The focus shows only once
// the keyboard is in use: the focused Backup tile looks as it does unfocused
// until the first Tab, which frames the Restore tile.
TEST_F(BackupWizard, KeyboardAloneFromTheMainMenuToStart)
{
    ASSERT_NO_FATAL_FAILURE(startProgram("p=0,2\r\ne=0,3\r\n"));
    ASSERT_NO_FATAL_FAILURE(takeKeyboard());
    ASSERT_TRUE(waitUntil([&] { return focused() == control(IDC_MENU_BACKUP); }));
    const PixelRect backupTile = placeOf(control(IDC_MENU_BACKUP));
    const PixelRect restoreTile = placeOf(control(IDC_MENU_RESTORE));
    const auto backupFocusedUnseen = settledPageArea(backupTile);
    const auto restoreResting = pageArea(restoreTile);
    ASSERT_NO_FATAL_FAILURE(tabTo(IDC_MENU_RESTORE));
    EXPECT_TRUE(waitUntil([&] { return !pageArea(restoreTile)->sameAs(*restoreResting); })) << "no focus cue";
    EXPECT_TRUE(settledPageArea(backupTile)->sameAs(*backupFocusedUnseen)) << "a focus cue before any key";
    ASSERT_NO_FATAL_FAILURE(tabTo(IDC_MENU_BACKUP, true));
    press(VK_SPACE);
    ASSERT_TRUE(showsPage("backup options"));

    // The focus lands on the page's first control; Fast, the chosen level, is
    // disabled and skipped; choosing Maximum hands the focus on to None.
    ASSERT_TRUE(waitUntil([&] { return focused() == control(IDC_BACKUP_TARGET); }));
    for (int id : {IDC_BACKUP_BROWSE, IDC_BACKUP_NONE, IDC_BACKUP_MAXIMUM})
        ASSERT_NO_FATAL_FAILURE(tabTo(id));
    press(VK_SPACE);
    ASSERT_TRUE(waitUntil([&] { return chosenCompression() == "maximum"; })) << chosenCompression();
    ASSERT_TRUE(waitUntil([&] { return focused() == control(IDC_BACKUP_NONE); }));
    for (int id : {IDC_BACKUP_FAST, IDC_BACKUP_DESCRIPTION, IDC_BACKUP_BACK, IDC_BACKUP_NEXT})
        ASSERT_NO_FATAL_FAILURE(tabTo(id));
    const std::wstring stamp = description();
    press(VK_SPACE);
    ASSERT_TRUE(showsPage("backup confirm"));
    ASSERT_TRUE(waitUntil([&] { return focused() == control(IDC_BACKUP_CONFIRM_BACK); }));
    ASSERT_NO_FATAL_FAILURE(tabTo(IDC_BACKUP_CONFIRM_START));
    // Enter and Escape do nothing, also on a focused button; keys are taken in
    // order, so once the next Tab has moved the focus they have been handled.
    press(VK_RETURN);
    press(VK_ESCAPE);
    ASSERT_NO_FATAL_FAILURE(tabTo(IDC_BACKUP_CONFIRM_BACK));
    EXPECT_EQ(visiblePage(shell), "backup confirm");
    EXPECT_FALSE(fs::exists(machine.jobFile()));
    ASSERT_NO_FATAL_FAILURE(tabTo(IDC_BACKUP_CONFIRM_START));
    press(VK_SPACE);
    ASSERT_NO_FATAL_FAILURE(expectHandedOver());
    EXPECT_TRUE(jobFileHolds(fileBytes(machine.jobFile()), backupJobKeys({3, stamp, L"D:\\backup.QVX", 3, 0})));
}

constexpr char ntfsRecoveryLayout[] = "'size=20G, type=27' 'size=100G, type=7, bootable' 'type=7'";

class BackupWizardOnAClone : public BackupWizard {
protected:
    BackupWizardOnAClone()
        : BackupWizard("'size=20G, type=7' 'size=100G, type=7, bootable' 'type=7'", L"\u7a0b\u5e8f \u6587\u4ef6\u5939")
    {
    }
};

// Partition 1 of disk 0 an ordinary NTFS partition (0x07): Start hands nothing
// over, switches nothing and does not restart. With the NTFS recovery type
// 0x27 instead: the program in a folder with a Chinese name, on a machine
// whose disk 1 is a sector clone of disk 0, lettered before it. A typed name
// without extension whose image exists is asked about; a final path of 260
// characters is refused, one of 259 handed over, as partition 3 of disk 0
// with no other-disk notice.
TEST_F(BackupWizardOnAClone, OrdinaryThenRecoveryPartitionChineseFolderExistingImageAndLongPaths)
{
    const std::string volumes = "p=0,2\r\nd=1,3\r\ne=0,3\r\n";
    start(volumes, ntfsRecoveryLayout);
    click(IDC_BACKUP_NEXT);
    ASSERT_TRUE(showsPage("backup confirm"));
    click(IDC_BACKUP_CONFIRM_START);
    expectMessage(cannotHandOver);
    ASSERT_TRUE(program->waitForExit());
    EXPECT_EQ(program->exitCode(), 1u);
    EXPECT_FALSE(fs::exists(machine.jobFile()));
    EXPECT_FALSE(fs::exists(machine.leftScript()));
    EXPECT_EQ(machine.bootablePartitions(), "2");
    EXPECT_EQ(machine.eventsLog(), "");

    ASSERT_TRUE(machine.sfdiskOnDiskZero("--quiet --part-type", "1 27"));
    ASSERT_NO_FATAL_FAILURE(startProgram(volumes));
    click(IDC_MENU_BACKUP);
    ASSERT_TRUE(showsPage("backup options"));
    const fs::path folder = L"e:\\QuorvaneWizard";
    struct Removed {
        fs::path folder;
        ~Removed() { std::error_code ignored; fs::remove_all(folder, ignored); }
    } removed{folder};
    const fs::path deep = folder / std::wstring(200, L'a');
    fs::create_directories(deep);
    std::ofstream(folder / L"monday.QVX") << "an earlier backup";
    const std::wstring deepName = deep.wstring() + L"\\";
    const std::wstring typed259 = deepName + std::wstring(255 - deepName.size(), L'n');

    click(IDC_BACKUP_BROWSE);
    answerFileDialog(L"e:\\QuorvaneWizard\\monday");
    expectMessage(L"text 100", IDNO);
    answerFileDialog(typed259 + L"x");
    expectMessage(L"text 85");
    EXPECT_EQ(target(), L"D:\\backup.QVX") << "nothing chosen yet";
    answerFileDialog(L"e:\\QuorvaneWizard\\monday");
    expectMessage(L"text 100", IDYES);
    ASSERT_TRUE(waitUntil([&] { return target() == L"e:\\QuorvaneWizard\\monday.QVX"; })) << narrow(target());

    click(IDC_BACKUP_BROWSE);
    answerFileDialog(typed259);
    ASSERT_TRUE(waitUntil([&] { return target() == typed259 + L".QVX"; })) << narrow(target());
    ASSERT_EQ(target().size(), 259u);
    setDescription(L"clone");
    handOver({2, L"clone", typed259 + L".QVX", 3, 0}, false);
    EXPECT_FALSE(fs::exists(machine.leftScript()));
}

} // namespace
} // namespace quorvane::testing
