// The restore wizard through the real pages of the sandbox edition, the real
// list view and the platform's real open dialog, on sandbox machines with real
// images made by wimlib-imagex: the rows, the description of the clicked row,
// the checks of Next and Browse, Back rebuilding the list, and Start handing a
// listed image and (from the keyboard) the factory image over. One program
// start per hand-off.
#include "support/ListView.h"
#include "support/WizardDriver.h"

#include "app/ResourceIds.h"
#include "restore/RestorePagesDrawing.h"

#include <commctrl.h>

namespace quorvane::testing {
namespace {

namespace fs = std::filesystem;
using Rows = std::vector<std::vector<std::wstring>>;

// Disk 0 with its recovery, system (p) and data (q) partitions, and disk 1
// whose one partition has no letter. On q: two good images, one whose header
// is damaged (its name cannot be read) and one still flagged as being written;
// on p: a good image on the partition a restore overwrites. The list names
// them all and one on the letterless partition.
class RestoreWizard : public WizardDriver {
protected:
    // The machine made and the program started on it, showing the main menu.
    void start()
    {
        ASSERT_TRUE(machine.addDisk(1, "100G", "'type=7'"));
        ASSERT_TRUE(machine.addDrive('q', dataFolder()));
        fs::copy_file(testImage(L"monday.QVX"), dataFolder() / L"monday.QVX");
        fs::copy_file(testImage(L"accents.QVX"), dataFolder() / L"accents.QVX");
        fs::copy_file(testImage(L"monday.QVX"), machine.systemFolder() / L"onsystem.QVX");
        changedCopy(testImage(L"monday.QVX"), dataFolder() / L"damaged.QVX", [](Bytes& b) { b[0] = 'X'; });
        changedCopy(testImage(L"monday.QVX"), dataFolder() / L"flagged.QVX", [](Bytes& b) { b[16] |= 0x40; });
        writeImageList(dataFolder() / L"Backup_Image_List.ini", 6,
                       {{0, L"Q:\\monday.QVX", 3, 0}, {1, L"C:\\onsystem.QVX", 2, 0}, {2, L"Q:\\damaged.QVX", 3, 0},
                        {3, L"Q:\\flagged.QVX", 3, 0}, {4, L"Q:\\monday.QVX", 1, 1}, {5, L"Q:\\accents.QVX", 3, 0}});
        ASSERT_NO_FATAL_FAILURE(startProgram("p=0,2\r\nq=0,3\r\n"));
    }

    void openRestorePage()
    {
        click(IDC_MENU_RESTORE);
        ASSERT_TRUE(showsPage("restore select"));
    }

    fs::path dataFolder() const { return machine.folder() / L"data"; }
    HWND list() const { return control(IDC_RESTORE_LIST); }

    // The list once it holds `count` rows.
    Rows rowsOnceThereAre(std::size_t count) const
    {
        Rows rows;
        waitUntil([&] { return (rows = listRows(list())).size() == count; });
        return rows;
    }

    std::wstring sizeOf(const wchar_t* image) const
    {
        return std::to_wstring(fs::file_size(testImage(image)) / 1048576) + L" MB";
    }

    // Next on row `row`, refused with the message `text`.
    void nextRefused(int row, const std::wstring& text)
    {
        ASSERT_TRUE(clickListRow(list(), row)) << "row " << row;
        click(IDC_RESTORE_NEXT);
        ASSERT_NO_FATAL_FAILURE(expectMessage(text));
        EXPECT_EQ(visiblePage(shell), "restore select");
    }

    // Browse, each name typed in the open dialog in turn; every one but the
    // last refused with its message, the dialog then asked again.
    void browse(const std::vector<std::pair<std::wstring, std::wstring>>& refused, const std::wstring& accepted)
    {
        click(IDC_RESTORE_BROWSE);
        for (const auto& [name, message] : refused) {
            ASSERT_NO_FATAL_FAILURE(answerFileDialog(name));
            ASSERT_NO_FATAL_FAILURE(expectMessage(message));
        }
        ASSERT_NO_FATAL_FAILURE(answerFileDialog(accepted));
    }
};

TEST_F(RestoreWizard, RowsDescriptionsChecksBackAndAListedImageHandedOver)
{
    ASSERT_NO_FATAL_FAILURE(start());
    SetForegroundWindow(shell);
    openRestorePage();
    const std::vector<std::wstring> factory = {L"Factory image", L"Recovery partition", L""};
    const Rows listed = {{L"monday.QVX", L"q:", sizeOf(L"monday.QVX")},
                         {L"onsystem.QVX", L"p:", sizeOf(L"monday.QVX")},
                         {L"damaged.QVX", L"q:", sizeOf(L"monday.QVX")},
                         {L"flagged.QVX", L"q:", sizeOf(L"monday.QVX")},
                         {L"accents.QVX", L"q:", sizeOf(L"accents.QVX")}};
    Rows expected = listed;
    expected.insert(expected.begin(), factory);
    EXPECT_EQ(rowsOnceThereAre(6), expected) << "the letterless partition's image is left out";

    // Nothing chosen yet.
    click(IDC_RESTORE_NEXT);
    ASSERT_NO_FATAL_FAILURE(expectMessage(L"text 69"));

    // A right click shows the row's name like a left click; the keyboard moves
    // the selection without changing it.
    const auto blank = pageArea(imageDescriptionArea);
    ASSERT_TRUE(clickListRow(list(), 1, true));
    ASSERT_TRUE(waitUntil([&] { return !pageArea(imageDescriptionArea)->sameAs(*blank); }));
    const auto monday = pageArea(imageDescriptionArea);
    ASSERT_TRUE(clickListRow(list(), 0));
    ASSERT_TRUE(waitUntil([&] { return !pageArea(imageDescriptionArea)->sameAs(*monday); }));
    const auto factoryName = pageArea(imageDescriptionArea);
    PostMessageW(list(), WM_KEYDOWN, VK_DOWN, 0);
    ASSERT_TRUE(waitUntil([&] { return SendMessageW(list(), LVM_GETSELECTIONMARK, 0, 0) == 1; }));
    ASSERT_TRUE(program->answerClose(shell, IDNO).window); // everything posted before has been handled
    EXPECT_TRUE(pageArea(imageDescriptionArea)->sameAs(*factoryName));

    // Listed, but never handed over: on the partition a restore overwrites, a
    // name that cannot be read, a file still flagged as being written.
    ASSERT_NO_FATAL_FAILURE(nextRefused(2, L"text 75"));
    ASSERT_NO_FATAL_FAILURE(nextRefused(3, L"text 77"));
    ASSERT_NO_FATAL_FAILURE(nextRefused(4, L"text 77"));

    // Browse refuses, in this order, a drive outside the map, the system
    // partition, a missing file, an unreadable image and a cut-off one; a
    // second accepted file replaces the first "Other" row.
    changedCopy(testImage(L"monday.QVX"), dataFolder() / L"cut.QVX", [](Bytes& b) { b.resize(b.size() / 2); });
    browse({{L"c:\\elsewhere.QVX", L"text 74"}, {L"p:\\onsystem.QVX", L"text 75"}, {L"q:\\missing.QVX", L"text 76"},
            {L"q:\\damaged.QVX", L"text 77"}, {L"q:\\flagged.QVX", L"text 77"}, {L"q:\\cut.QVX", L"text 77"}},
           L"q:\\accents.QVX");
    EXPECT_EQ(rowsOnceThereAre(7).back(), (std::vector<std::wstring>{L"Other", L"q:\\accents.QVX", sizeOf(L"accents.QVX")}));
    browse({}, L"q:\\monday.QVX");
    ASSERT_TRUE(waitUntil([&] { return listRows(list()).back()[1] == L"q:\\monday.QVX"; }));
    EXPECT_EQ(listRows(list()).size(), 7u);

    // The browsed file on to the confirm page, and Back: a rebuilt list without it.
    ASSERT_TRUE(clickListRow(list(), 6));
    click(IDC_RESTORE_NEXT);
    ASSERT_TRUE(showsPage("restore confirm"));
    click(IDC_RESTORE_CONFIRM_BACK);
    ASSERT_TRUE(showsPage("restore select"));
    EXPECT_EQ(rowsOnceThereAre(6), expected);

    // Without the recovery type in disk 0's first entry there is no factory row.
    const auto reopenWithFirstType = [&](const std::string& type) {
        ASSERT_TRUE(machine.sfdiskOnDiskZero("--quiet --part-type", "1 " + type));
        click(IDC_RESTORE_BACK);
        ASSERT_TRUE(showsPage("main menu"));
        openRestorePage();
    };
    reopenWithFirstType("7");
    EXPECT_EQ(rowsOnceThereAre(5), listed);
    reopenWithFirstType("12");
    rowsOnceThereAre(6);

    // A listed image handed over with its own path, partition and disk.
    ASSERT_TRUE(clickListRow(list(), 1));
    click(IDC_RESTORE_NEXT);
    ASSERT_TRUE(showsPage("restore confirm"));
    click(IDC_RESTORE_CONFIRM_START);
    ASSERT_NO_FATAL_FAILURE(expectHandedOver());
    EXPECT_EQ(fileBytes(machine.jobFile()),
              utf16File(L"[Config]\r\nType=Restore\r\nPath=q:\\monday.QVX\r\nPartID=3\r\nDiskID=0\r\n"));
}

// A whole restore from the keyboard alone, main menu to Start: the factory
// row chosen with End then Home, the rest by Tab and Space; the job names the
// factory image's own file.
TEST_F(RestoreWizard, KeyboardAloneFromTheMainMenuToStart)
{
    ASSERT_NO_FATAL_FAILURE(start());
    ASSERT_NO_FATAL_FAILURE(takeKeyboard());
    ASSERT_NO_FATAL_FAILURE(tabTo(IDC_MENU_RESTORE));
    press(VK_SPACE);
    ASSERT_TRUE(showsPage("restore select"));
    ASSERT_TRUE(waitUntil([&] { return focused() == list(); }));
    rowsOnceThereAre(6);
    press(VK_END);
    ASSERT_TRUE(waitUntil([&] { return SendMessageW(list(), LVM_GETSELECTIONMARK, 0, 0) == 5; }));
    press(VK_HOME);
    ASSERT_TRUE(waitUntil([&] { return SendMessageW(list(), LVM_GETSELECTIONMARK, 0, 0) == 0; }));
    for (int id : {IDC_RESTORE_BROWSE, IDC_RESTORE_BACK, IDC_RESTORE_NEXT})
        ASSERT_NO_FATAL_FAILURE(tabTo(id));
    press(VK_SPACE);
    ASSERT_TRUE(showsPage("restore confirm"));
    ASSERT_TRUE(waitUntil([&] { return focused() == control(IDC_RESTORE_CONFIRM_BACK); }));
    ASSERT_NO_FATAL_FAILURE(tabTo(IDC_RESTORE_CONFIRM_START));
    press(VK_SPACE);
    ASSERT_NO_FATAL_FAILURE(expectHandedOver());
    EXPECT_EQ(fileBytes(machine.jobFile()),
              utf16File(L"[Config]\r\nType=Restore\r\nPath=z:\\FactoryImage.QVX\r\nPartID=1\r\nDiskID=0\r\n"));
}

// Partitions 2 and 3 both under 1 GB: message 94, and the program ends with 1.
TEST(RestoreSelection, NothingToRestoreOntoEndsTheProgram)
{
    SandboxMachine machine("'size=1G, type=12' 'size=900M, type=7, bootable' 'size=900M, type=7'");
    ASSERT_TRUE(machine.ready());
    machine.writeMachine("[Volumes]\r\np=0,2\r\n");
    ProgramUnderTest program(machine.program());
    HWND shell = program.waitForShell();
    ASSERT_TRUE(shell);
    clickButton(GetDlgItem(visiblePageWindow(shell), IDC_MENU_RESTORE));
    answerMessage(program, L"text 94", shell);
    ASSERT_TRUE(program.waitForExit());
    EXPECT_EQ(program.exitCode(), 1u);
}

} // namespace
} // namespace quorvane::testing
