// The main window: page switching, the keys that must do nothing, and leaving.
#include "app/PageMessages.h"
#include "support/ProgramUnderTest.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <tuple>

namespace quorvane::testing {
namespace {

class Shell : public ::testing::Test {
protected:
    void SetUp() override
    {
        writeLanguageFile(folder.path() / L"Lang/Quorvane/409.ini", L"409", languageLines({{92, L"Do you want to leave?"}}));
        program = std::make_unique<ProgramUnderTest>(copyProgram(folder.path()));
        shell = program->waitForShell();
        ASSERT_TRUE(shell);
    }

    void TearDown() override
    {
        if (program && program->exitCode() == STILL_ACTIVE)
            program->answerClose(shell, IDYES);
    }

    bool showsPage(const std::string& page) { return waitForPage(shell, page); }
    void drainPostedMessages() { program->answerClose(shell, IDNO); }

    ScratchFolder folder;
    std::unique_ptr<ProgramUnderTest> program;
    HWND shell = nullptr;
};

TEST_F(Shell, PagesFillTheClientAreaFromItsOrigin)
{
    HWND page = visiblePageWindow(shell);
    ASSERT_TRUE(page);
    RECT rect{};
    GetWindowRect(page, &rect);
    MapWindowPoints(nullptr, shell, reinterpret_cast<POINT*>(&rect), 2);
    EXPECT_EQ(std::tuple(rect.left, rect.top, rect.right, rect.bottom), std::tuple(0, 0, 720, 480));
    // 726 wide and the title bar plus 483 high: the frame takes the rest, so
    // the client area is about the page's size (exactly, with a 3-pixel frame).
    RECT frame{};
    GetWindowRect(shell, &frame);
    TITLEBARINFO title{};
    title.cbSize = sizeof(title);
    GetTitleBarInfo(shell, &title);
    EXPECT_EQ(frame.right - frame.left, 726);
    EXPECT_EQ(frame.bottom - frame.top, title.rcTitleBar.bottom - title.rcTitleBar.top + 483);
    EXPECT_EQ(GetWindowLongW(shell, GWL_STYLE) & (WS_MAXIMIZEBOX | WS_THICKFRAME), 0);
}

// The menu pages' own buttons are tested with them; these are the wizard pages' Back buttons.
TEST_F(Shell, BackButtonsPostTheirPages)
{
    struct Back {
        PageMessage shown;
        int button;
        const char* leadsTo;
    };
    const Back backs[] = {{UM_SHOW_BACKUP_OPTIONS, 1003, "main menu"},
                          {UM_SHOW_BACKUP_CONFIRM, 1011, "backup options"},
                          {UM_SHOW_RESTORE_SELECT, 1013, "main menu"},
                          {UM_SHOW_RESTORE_CONFIRM, 1017, "restore select"}};
    for (const Back& back : backs) {
        PostMessageW(shell, back.shown, 0, 0);
        drainPostedMessages();
        HWND page = visiblePageWindow(shell);
        ASSERT_TRUE(GetDlgItem(page, back.button)) << "no visible button " << back.button;
        PostMessageW(page, WM_COMMAND, MAKEWPARAM(back.button, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(page, back.button)));
        EXPECT_TRUE(showsPage(back.leadsTo)) << "Back " << back.button << ": " << visiblePage(shell);
    }
}

// Each message shows exactly its page (visiblePage is "several" otherwise),
// and there Escape and Enter change nothing.
TEST_F(Shell, EachMessageShowsExactlyItsPageWhereEscapeAndEnterChangeNothing)
{
    EXPECT_EQ(visiblePage(shell), "main menu");
    const std::pair<PageMessage, const char*> pages[] = {
        {UM_SHOW_BACKUP_OPTIONS, "backup options"},   {UM_SHOW_BACKUP_CONFIRM, "backup confirm"},
        {UM_SHOW_RESTORE_SELECT, "restore select"},   {UM_SHOW_RESTORE_CONFIRM, "restore confirm"},
        {UM_SHOW_TOOLS, "tools"},                     {UM_SHOW_MAIN_MENU, "main menu"},
        {UM_SHOW_MAIN_MENU, "main menu"},
    };
    for (const auto& [message, name] : pages) {
        PostMessageW(shell, message, 0, 0);
        drainPostedMessages(); // the page may already show: wait for the switch itself
        ASSERT_EQ(visiblePage(shell), name);
        HWND page = visiblePageWindow(shell);
        HWND control = GetWindow(page, GW_CHILD);
        for (HWND target : {shell, page, control}) {
            PostMessageW(target, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
            PostMessageW(target, WM_KEYDOWN, VK_RETURN, 0x001C0001);
        }
        drainPostedMessages();
        EXPECT_EQ(program->exitCode(), STILL_ACTIVE) << name;
        EXPECT_EQ(visiblePage(shell), name);
    }
}

TEST_F(Shell, LeavingAnsweredNoKeepsWindowAndPageAndYesEndsWithExitCodeZero)
{
    PostMessageW(shell, UM_SHOW_BACKUP_OPTIONS, 0, 0);
    ASSERT_TRUE(showsPage("backup options"));
    const MessageBoxInfo box = program->answerClose(shell, IDNO);
    ASSERT_TRUE(box.window);
    EXPECT_EQ(box.caption, L"Quorvane");
    EXPECT_EQ(box.text, L"Do you want to leave?");
    EXPECT_EQ(box.owner, shell);
    EXPECT_FALSE(program->waitForExit(300ms));
    EXPECT_TRUE(IsWindowVisible(shell));
    EXPECT_EQ(visiblePage(shell), "backup options");

    ASSERT_TRUE(program->answerClose(shell, IDYES).window);
    ASSERT_TRUE(program->waitForExit());
    EXPECT_EQ(program->exitCode(), 0u);
}

} // namespace
} // namespace quorvane::testing
