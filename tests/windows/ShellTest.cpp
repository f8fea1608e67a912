// The main window, in one program start: its size and the pages' place, page
// switching, the keys that must do nothing, and leaving.
#include "app/PageMessages.h"
#include "support/ProgramUnderTest.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <tuple>

namespace quorvane::testing {
namespace {

TEST(Shell, SizePagesKeysAndLeaving)
{
    ScratchFolder folder;
    writeLanguageFile(folder.path() / L"Lang/Quorvane/409.ini", L"409", languageLines({{92, L"Do you want to leave?"}}));
    ProgramUnderTest program(copyProgram(folder.path()));
    HWND shell = program.waitForShell();
    ASSERT_TRUE(shell);
    // Answering No to the leaving question: once it shows, everything posted
    // before has been handled.
    const auto drainPostedMessages = [&] { return program.answerClose(shell, IDNO); };

    // Pages fill the client area from its origin. 726 wide and the title bar
    // plus 483 high: the frame takes the rest, so the client area is about the
    // page's size (exactly, with a 3-pixel frame). No maximizing, no resizing.
    RECT rect{};
    GetWindowRect(visiblePageWindow(shell), &rect);
    MapWindowPoints(nullptr, shell, reinterpret_cast<POINT*>(&rect), 2);
    EXPECT_EQ(std::tuple(rect.left, rect.top, rect.right, rect.bottom), std::tuple(0, 0, 720, 480));
    RECT frame{};
    GetWindowRect(shell, &frame);
    TITLEBARINFO title{};
    title.cbSize = sizeof(title);
    GetTitleBarInfo(shell, &title);
    EXPECT_EQ(frame.right - frame.left, 726);
    EXPECT_EQ(frame.bottom - frame.top, title.rcTitleBar.bottom - title.rcTitleBar.top + 483);
    EXPECT_EQ(GetWindowLongW(shell, GWL_STYLE) & (WS_MAXIMIZEBOX | WS_THICKFRAME), 0);

    // Each message shows exactly its page (visiblePage is "several"
    // otherwise), where Escape and Enter change nothing; then the wizard
    // pages' Back buttons (the menu pages' own buttons are tested with them).
    EXPECT_EQ(visiblePage(shell), "main menu");
    struct Page {
        PageMessage message;
        const char* name;
        int back = 0;
        const char* leadsTo = "";
    };
    const Page pages[] = {
        {UM_SHOW_BACKUP_OPTIONS, "backup options", 1003, "main menu"},
        {UM_SHOW_BACKUP_CONFIRM, "backup confirm", 1011, "backup options"},
        {UM_SHOW_RESTORE_SELECT, "restore select", 1013, "main menu"},
        {UM_SHOW_RESTORE_CONFIRM, "restore confirm", 1017, "restore select"},
        {UM_SHOW_TOOLS, "tools"}, {UM_SHOW_MAIN_MENU, "main menu"}, {UM_SHOW_MAIN_MENU, "main menu"},
    };
    for (const Page& shown : pages) {
        // Sent: the page may already show, so the switch itself is waited for.
        SendMessageW(shell, shown.message, 0, 0);
        ASSERT_EQ(visiblePage(shell), shown.name);
        HWND page = visiblePageWindow(shell);
        for (HWND target : {shell, page, GetWindow(page, GW_CHILD)}) {
            PostMessageW(target, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
            PostMessageW(target, WM_KEYDOWN, VK_RETURN, 0x001C0001);
        }
        drainPostedMessages();
        EXPECT_EQ(program.exitCode(), STILL_ACTIVE) << shown.name;
        EXPECT_EQ(visiblePage(shell), shown.name);
        if (shown.back) {
            ASSERT_TRUE(GetDlgItem(page, shown.back)) << "no Back button " << shown.back;
            PostMessageW(page, WM_COMMAND, MAKEWPARAM(shown.back, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(page, shown.back)));
            EXPECT_TRUE(waitForPage(shell, shown.leadsTo)) << "Back " << shown.back << ": " << visiblePage(shell);
        }
    }

    // Leaving answered No keeps the window and its page; Yes ends with exit code 0.
    SendMessageW(shell, UM_SHOW_BACKUP_OPTIONS, 0, 0);
    const MessageBoxInfo box = drainPostedMessages();
    ASSERT_TRUE(box.window);
    EXPECT_EQ(box.caption, L"Quorvane");
    EXPECT_EQ(box.text, L"Do you want to leave?");
    EXPECT_EQ(box.owner, shell);
    EXPECT_FALSE(program.waitForExit(300ms));
    EXPECT_TRUE(IsWindowVisible(shell));
    EXPECT_EQ(visiblePage(shell), "backup options");
    ASSERT_TRUE(program.answerClose(shell, IDYES).window);
    ASSERT_TRUE(program.waitForExit());
    EXPECT_EQ(program.exitCode(), 0u);
}

} // namespace
} // namespace quorvane::testing
