// The backup wizard through the real pages of the sandbox edition and the
// platform's real save dialog, on sandbox machines: the default target, the
// save dialog's checks, the compression choice, values kept across Back, and
// Next then Start handing the job over.
#include "support/SandboxMachine.h"

#include "app/PageMessages.h"
#include "app/ResourceIds.h"
#include "backup/BackupPagesDrawing.h"
#include "job/JobContent.h"

#include <gtest/gtest.h>

#include <optional>
#include <regex>

namespace quorvane::testing {
namespace {

namespace fs = std::filesystem;

// The save dialog's file-name field: an edit (edt1) or the combo box that
// holds one (cmb13).
constexpr int fileNameEdit = 0x480;
constexpr int fileNameCombo = 0x47C;

class BackupWizard : public ::testing::Test {
protected:
    // Starts the program on the machine, with these drive letters, and opens
    // the options page from the main menu's Backup button.
    void start(const std::string& volumes)
    {
        ASSERT_TRUE(machine.ready());
        ASSERT_TRUE(machine.addDisk(1, "100G", "'type=7'"));
        machine.writeMachine("[Volumes]\r\n" + volumes);
        program = std::make_unique<ProgramUnderTest>(machine.program());
        shell = program->waitForShell();
        ASSERT_TRUE(shell);
        ASSERT_EQ(visiblePage(shell), "main menu");
        click(IDC_MENU_BACKUP);
        ASSERT_TRUE(showsPage("backup options"));
    }

    void TearDown() override
    {
        if (program && program->exitCode() == STILL_ACTIVE)
            program->answerClose(shell, IDYES);
    }

    bool showsPage(const std::string& name) { return waitForPage(shell, name); }

    HWND control(int id) const { return GetDlgItem(visiblePageWindow(shell), id); }
    std::wstring target() const { return controlText(control(IDC_BACKUP_TARGET)); }
    std::wstring description() const { return controlText(control(IDC_BACKUP_DESCRIPTION)); }

    // "none", "fast", "maximum" for the one disabled choice; "?" otherwise.
    std::string chosenCompression() const
    {
        const std::pair<int, const char*> choices[] = {
            {IDC_BACKUP_NONE, "none"}, {IDC_BACKUP_FAST, "fast"}, {IDC_BACKUP_MAXIMUM, "maximum"}};
        std::string chosen;
        for (const auto& [id, name] : choices) {
            if (!IsWindowEnabled(control(id)))
                chosen += chosen.empty() ? name : "?";
        }
        return chosen.empty() ? "?" : chosen;
    }

    void click(int id) { clickControl(control(id)); }

    // The save dialog of the program, once it shows.
    HWND waitForSaveDialog() const
    {
        return program->waitForWindow([](HWND w) {
            wchar_t name[16] = {};
            GetClassNameW(w, name, 16);
            return IsWindowVisible(w) && std::wstring(name) == L"#32770"
                   && (GetDlgItem(w, fileNameCombo) || GetDlgItem(w, fileNameEdit));
        });
    }

    // Types a name into the save dialog (none: Cancel) and presses its button.
    void save(HWND dialog, const std::optional<std::wstring>& name)
    {
        HWND field = GetDlgItem(dialog, fileNameCombo);
        if (!field)
            field = GetDlgItem(dialog, fileNameEdit);
        if (name)
            SendMessageW(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name->c_str()));
        const int button = name ? IDOK : IDCANCEL;
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, button)));
    }

    // Browse, then the name typed into the save dialog (none: Cancel).
    void browseTo(const std::optional<std::wstring>& name)
    {
        click(IDC_BACKUP_BROWSE);
        HWND dialog = waitForSaveDialog();
        ASSERT_TRUE(dialog) << "no save dialog";
        save(dialog, name);
        ASSERT_TRUE(waitUntil([&] { return !IsWindow(dialog); }));
    }

    // A message box of the page with this text, answered with OK.
    void expectMessage(const std::wstring& text)
    {
        const MessageBoxInfo box = program->waitForMessageBox();
        ASSERT_TRUE(box.window) << "no message " << narrow(text);
        EXPECT_EQ(box.text, text);
        // A page is a child window: its boxes belong to the shell it lies in.
        EXPECT_EQ(box.owner, shell);
        EXPECT_TRUE(GetDlgItem(box.window, IDOK));
        EXPECT_FALSE(GetDlgItem(box.window, IDCANCEL));
        ProgramUnderTest::pressButton(box.window, IDOK);
        ASSERT_TRUE(waitUntil([&] { return !IsWindow(box.window); }));
    }

    void drainPostedMessages() { ASSERT_TRUE(program->answerClose(shell, IDNO).window); }

    // What the options page shows, in one line for comparisons.
    std::string shownChoice() const
    {
        return narrow(target()) + " | " + chosenCompression() + " | '" + narrow(description()) + "'";
    }

    // Next, Start, and the restart that follows; the job file must hold `job`,
    // with the time of Next as its description where `job` has none.
    void handOver(BackupJobParameters job, bool otherDisk = false)
    {
        click(IDC_BACKUP_NEXT);
        ASSERT_TRUE(showsPage("backup confirm"));
        click(IDC_BACKUP_CONFIRM_START);
        if (otherDisk) {
            ASSERT_TRUE(program->waitForMessageBox(30s).window);
            EXPECT_EQ(machine.eventsLog(), "") << "not yet restarted";
            expectMessage(imageOnOtherDisk);
        }
        ASSERT_TRUE(program->waitForExit(30s)) << "the hand-off did not end in a restart";
        EXPECT_EQ(program->exitCode(), 0u);
        EXPECT_EQ(machine.eventsLog(), "restart\r\n");
        EXPECT_EQ(machine.bootablePartitions(), "1");
        const Bytes bytes = fileBytes(machine.jobFile());
        const std::wstring text(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / 2);
        std::wsmatch stamp;
        if (job.description.empty()) {
            EXPECT_TRUE(std::regex_search(text, stamp, std::wregex(LR"(\r\nDesc=(\d{4}-\d{2}-\d{2} \d{2}:\d{2} ?)\r\n)")));
            job.description = stamp.str(1);
        }
        EXPECT_TRUE(jobFileHolds(bytes, backupJobKeys(job))) << narrow(text);
    }

    SandboxMachine machine;
    std::unique_ptr<ProgramUnderTest> program;
    HWND shell = nullptr;
};

const std::wregex timeStamp(LR"(\d{4}-\d{2}-\d{2} \d{2}:\d{2} )");

TEST_F(BackupWizard, DefaultTargetOnPartition3LetteredDIsHandedOverWithFastCompression)
{
    start("p=0,2\r\nd=0,3\r\n");
    EXPECT_EQ(target(), L"D:\\backup.QVX");
    EXPECT_EQ(chosenCompression(), "fast");
    const std::wstring stamp = description();
    EXPECT_TRUE(std::regex_match(stamp, timeStamp)) << narrow(stamp);
    handOver({2, stamp, L"D:\\backup.QVX", 3, 0});
}

TEST_F(BackupWizard, BrowseRefusesTheSystemPartitionAndUnmappedDrivesAndAsksAgain)
{
    start("p=0,2\r\nd=0,3\r\ne=1,1\r\n");

    click(IDC_BACKUP_BROWSE);
    HWND dialog = waitForSaveDialog();
    ASSERT_TRUE(dialog);
    save(dialog, L"p:\\on-the-system-partition");
    expectMessage(L"text 84");
    dialog = waitForSaveDialog();
    ASSERT_TRUE(dialog) << "the save dialog again";
    save(dialog, L"c:\\not-in-the-map");
    expectMessage(L"text 85");
    dialog = waitForSaveDialog();
    ASSERT_TRUE(dialog) << "the save dialog again";
    EXPECT_EQ(target(), L"D:\\backup.QVX") << "nothing chosen yet";
    save(dialog, L"e:\\wizard-test.bak");
    ASSERT_TRUE(waitUntil([&] { return target() != L"D:\\backup.QVX"; }));
    EXPECT_EQ(target(), L"e:\\wizard-test.bak.QVX");
    handOver({2, description(), L"e:\\wizard-test.bak.QVX", 1, 1}, true);
}

// Where a control lies in its page, in pixels.
PixelRect placeOf(HWND control)
{
    RECT rect{};
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
    return {rect.left, rect.top, rect.right, rect.bottom};
}

TEST_F(BackupWizard, ControlsLieWhereThePagesLeaveRoomForThem)
{
    start("p=0,2\r\nd=0,3\r\n");
    const std::pair<int, PixelRect> options[] = {
        {IDC_BACKUP_NEXT, {596, 436, 684, 461}},    {IDC_BACKUP_TARGET, {225, 172, 565, 197}},
        {IDC_BACKUP_MAXIMUM, {227, 290, 427, 305}}, {IDC_BACKUP_DESCRIPTION, {225, 358, 565, 383}},
    };
    for (const auto& [id, place] : options)
        EXPECT_EQ(placeOf(control(id)), place) << id;
    for (int id : {IDC_BACKUP_BACK, IDC_BACKUP_NEXT, IDC_BACKUP_BROWSE, IDC_BACKUP_NONE, IDC_BACKUP_FAST,
                   IDC_BACKUP_MAXIMUM})
        EXPECT_EQ(GetWindowLongW(control(id), GWL_STYLE) & 0x0F, BS_OWNERDRAW) << id;
    const LONG target = GetWindowLongW(control(IDC_BACKUP_TARGET), GWL_STYLE);
    EXPECT_EQ(target & (ES_READONLY | ES_AUTOHSCROLL), ES_READONLY | ES_AUTOHSCROLL);
    for (int id : {IDC_BACKUP_TARGET, IDC_BACKUP_DESCRIPTION})
        EXPECT_TRUE(GetWindowLongW(control(id), GWL_EXSTYLE) & WS_EX_STATICEDGE) << id;
    // Typing stops when the text fills the description's width: it does not scroll.
    SendMessageW(control(IDC_BACKUP_DESCRIPTION), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""));
    for (int typed = 0; typed < 120; ++typed)
        PostMessageW(control(IDC_BACKUP_DESCRIPTION), WM_CHAR, L'W', 1);
    drainPostedMessages();
    const std::size_t kept = description().size();
    EXPECT_GT(kept, 10u);
    EXPECT_LT(kept, 120u);

    click(IDC_BACKUP_NEXT);
    ASSERT_TRUE(showsPage("backup confirm"));
    EXPECT_EQ(placeOf(control(IDC_BACKUP_CONFIRM_START)), (PixelRect{596, 436, 684, 461}));
}

// The default target names D: whatever letter partition 3 has; a blank
// description becomes the time of Next.
TEST_F(BackupWizard, DefaultTargetIsTheSameWhenPartition3IsLetteredEAndABlankDescriptionIsStamped)
{
    start("p=0,2\r\ne=0,3\r\n");
    EXPECT_EQ(target(), L"D:\\backup.QVX");
    SendMessageW(control(IDC_BACKUP_DESCRIPTION), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L" \t  "));
    handOver({2, L"", L"D:\\backup.QVX", 3, 0});
}

TEST_F(BackupWizard, WithoutPartition3NextAsksForATargetUntilBrowseFindsOne)
{
    start("p=0,2\r\nd=1,1\r\n");
    EXPECT_EQ(target(), L"");
    click(IDC_BACKUP_NEXT);
    expectMessage(L"text 83");
    EXPECT_EQ(visiblePage(shell), "backup options");

    browseTo(std::nullopt); // Cancel changes nothing
    EXPECT_EQ(target(), L"");
    click(IDC_BACKUP_NEXT);
    expectMessage(L"text 83");

    browseTo(L"d:\\wizard-test.qvx");
    EXPECT_EQ(target(), L"d:\\wizard-test.QVX");
    handOver({2, description(), L"d:\\wizard-test.QVX", 1, 1}, true);
}

TEST_F(BackupWizard, TheClickedCompressionIsChosenEdgesIncluded)
{
    start("p=0,2\r\nd=0,3\r\n");
    click(IDC_BACKUP_FAST);
    EXPECT_TRUE(waitUntil([&] { return chosenCompression() == "fast"; })) << chosenCompression();
    click(IDC_BACKUP_MAXIMUM);
    EXPECT_TRUE(waitUntil([&] { return chosenCompression() == "maximum"; })) << chosenCompression();
    EXPECT_TRUE(IsWindowEnabled(control(IDC_BACKUP_NONE)));
    EXPECT_TRUE(IsWindowEnabled(control(IDC_BACKUP_FAST)));

    // One pixel beyond None's bottom-right corner is not None; the corner is.
    RECT none{};
    GetClientRect(control(IDC_BACKUP_NONE), &none);
    clickControl(control(IDC_BACKUP_NONE), POINT{none.right + 1, none.bottom + 1});
    drainPostedMessages();
    EXPECT_EQ(chosenCompression(), "maximum");
    clickControl(control(IDC_BACKUP_NONE), POINT{none.right, none.bottom});
    EXPECT_TRUE(waitUntil([&] { return chosenCompression() == "none"; })) << chosenCompression();
    handOver({1, description(), L"D:\\backup.QVX", 3, 0});
}

TEST_F(BackupWizard, GoingBackAndReturningKeepsTargetCompressionAndDescription)
{
    start("p=0,2\r\nd=0,3\r\ne=1,1\r\n");
    // A first round with the first choices, then back to change them all.
    click(IDC_BACKUP_NEXT);
    ASSERT_TRUE(showsPage("backup confirm"));
    click(IDC_BACKUP_CONFIRM_BACK);
    ASSERT_TRUE(showsPage("backup options"));
    SendMessageW(control(IDC_BACKUP_DESCRIPTION), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"  x "));
    click(IDC_BACKUP_MAXIMUM);
    browseTo(L"e:\\kept");
    const std::string chosen = "e:\\kept.QVX | maximum | '  x '";
    ASSERT_EQ(shownChoice(), chosen);

    click(IDC_BACKUP_BACK);
    ASSERT_TRUE(showsPage("main menu"));
    click(IDC_MENU_BACKUP);
    ASSERT_TRUE(showsPage("backup options"));
    EXPECT_EQ(shownChoice(), chosen);

    click(IDC_BACKUP_NEXT);
    ASSERT_TRUE(showsPage("backup confirm"));
    click(IDC_BACKUP_CONFIRM_BACK);
    ASSERT_TRUE(showsPage("backup options"));
    EXPECT_EQ(shownChoice(), chosen);
    handOver({3, L"  x ", L"e:\\kept.QVX", 1, 1}, true);
}

} // namespace
} // namespace quorvane::testing
