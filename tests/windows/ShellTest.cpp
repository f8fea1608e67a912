// The main window in one program start: its size and the pages' place, a
// second instance that ends at once, page switching, the keys that must do
// nothing; the main menu and tools pages: the description that follows the
// pointer, what the shell resets, the clicks and the tool launches; and
// leaving. The wizard pages' Back buttons and the Backup and Restore tiles
// are clicked by the wizard tests.
#include "app/PageMessages.h"
#include "support/Canvas.h"
#include "support/ProgramUnderTest.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <tlhelp32.h>

#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <set>
#include <tuple>

namespace quorvane::testing {
namespace {

// Each description names itself, so that any two of them look different.
std::wstring menuLanguage()
{
    std::map<int, std::wstring> texts{{92, L"Leave?"}};
    for (int id = 1; id <= 6; ++id)
        texts[id] = L"Description " + std::wstring(static_cast<std::size_t>(id) * 3, L"#IXWMO"[id - 1]);
    return languageLines(texts);
}

using Picture = std::unique_ptr<Canvas>;

std::set<DWORD> processesNamed(const std::wstring& name)
{
    std::set<DWORD> found;
    UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Process32FirstW(snapshot.get(), &entry); more; more = Process32NextW(snapshot.get(), &entry)) {
        if (_wcsicmp(entry.szExeFile, name.c_str()) == 0)
            found.insert(entry.th32ProcessID);
    }
    return found;
}

class Shell : public ::testing::Test {
protected:
    void SetUp() override
    {
        writeLanguageFile(folder.path() / L"Lang/Quorvane/409.ini", L"409", menuLanguage());
        program = std::make_unique<ProgramUnderTest>(copyProgram(folder.path()));
        shell = program->waitForShell();
        ASSERT_TRUE(shell);
        SetForegroundWindow(shell);
        // The pointer may have started over a button: onto the bare page, and
        // the shell shows the first description again.
        POINT bare{40, 300};
        ClientToScreen(shell, &bare);
        pointerTo(bare);
        // Sent, not posted: the main menu already shows, so waiting for it
        // would not wait for the shell to hide and show it again, and a click
        // in between would find no page.
        SendMessageW(shell, UM_SHOW_MAIN_MENU, 0, 0);
        ASSERT_EQ(visiblePage(shell), "main menu");
    }

    HWND visiblePageWindow() const { return quorvane::testing::visiblePageWindow(shell); }
    bool showsPage(const std::string& page) { return waitForPage(shell, page); }

    // The pixels of a rectangle of the visible page as the screen shows them now.
    Picture screenArea(RECT area) const { return screenPicture(visiblePageWindow(), area); }

    Picture description() const { return screenArea({125, 332, 594, 440}); }

    Picture settledDescription() const
    {
        return settledPicture([&] { return description(); });
    }

    RECT buttonRect(int id) const
    {
        RECT rect{};
        GetWindowRect(GetDlgItem(visiblePageWindow(), id), &rect);
        return rect;
    }

    POINT centreOf(int id) const
    {
        const RECT rect = buttonRect(id);
        return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    }

    POINT pagePoint(int x, int y) const
    {
        POINT point{x, y};
        ClientToScreen(visiblePageWindow(), &point);
        return point;
    }

    void click(int id)
    {
        // The pointer onto the button first, and the button lit, so that the
        // press goes to the button and not to one that still tracks the pointer.
        RECT button = buttonRect(id);
        MapWindowPoints(nullptr, visiblePageWindow(), reinterpret_cast<POINT*>(&button), 2);
        const Picture resting = screenArea(button);
        // Two clicks inside the double-click rectangle would become one double
        // click: a click where the last one was goes beside that rectangle.
        POINT at = centreOf(id);
        const int doubleClickWidth = GetSystemMetrics(SM_CXDOUBLECLK);
        if (std::abs(at.x - lastClick.x) <= doubleClickWidth && std::abs(at.y - lastClick.y) <= doubleClickWidth)
            at.x = lastClick.x + doubleClickWidth + 1;
        pointerTo(at);
        waitUntil([&] { return !screenArea(button)->sameAs(*resting); }, 2s);
        clickAt(at);
        lastClick = at;
    }

    POINT lastClick{-100, -100};
    ScratchFolder folder;
    std::unique_ptr<ProgramUnderTest> program;
    HWND shell = nullptr;
};

TEST_F(Shell, SizePagesKeysDescriptionsClicksAndLeaving)
{
    // Answering No to the leaving question: once it shows, everything posted
    // before has been handled.
    const auto drainPostedMessages = [&] { return program->answerClose(shell, IDNO); };

    // Pages fill the client area from its origin. 726 wide and the title bar
    // plus 483 high: the frame takes the rest, so the client area is about the
    // page's size (exactly, with a 3-pixel frame). No maximizing, no resizing.
    RECT rect{};
    GetWindowRect(visiblePageWindow(), &rect);
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

    // A second instance ends at once with exit code 0, and the first keeps its page.
    SendMessageW(shell, UM_SHOW_TOOLS, 0, 0);
    {
        ProgramUnderTest second(folder.path() / L"QuorvaneSandbox.exe");
        ASSERT_TRUE(second.waitForExit());
        EXPECT_EQ(second.exitCode(), 0u);
    }
    EXPECT_EQ(visiblePage(shell), "tools");
    EXPECT_EQ(program->visibleTopLevelWindows(), 1);

    // Each request shows exactly its page (visiblePage is "several"
    // otherwise), where Escape and Enter change nothing.
    const std::pair<PageMessage, const char*> pages[] = {
        {UM_SHOW_BACKUP_OPTIONS, "backup options"}, {UM_SHOW_BACKUP_CONFIRM, "backup confirm"},
        {UM_SHOW_RESTORE_SELECT, "restore select"}, {UM_SHOW_RESTORE_CONFIRM, "restore confirm"},
        {UM_SHOW_TOOLS, "tools"}, {UM_SHOW_MAIN_MENU, "main menu"}, {UM_SHOW_MAIN_MENU, "main menu"},
    };
    for (const auto& [message, name] : pages) {
        // Sent: the page may already show, so the switch itself is waited for.
        SendMessageW(shell, message, 0, 0);
        ASSERT_EQ(visiblePage(shell), name);
        HWND page = visiblePageWindow();
        for (HWND target : {shell, page, GetWindow(page, GW_CHILD)}) {
            PostMessageW(target, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
            PostMessageW(target, WM_KEYDOWN, VK_RETURN, 0x001C0001);
        }
        drainPostedMessages();
        EXPECT_EQ(program->exitCode(), STILL_ACTIVE) << name;
        EXPECT_EQ(visiblePage(shell), name);
    }

    // The main menu's description follows the pointer.
    const Picture backup = settledDescription();
    ASSERT_GT(backup->count([](COLORREF c) { return c == RGB(0, 0, 0); }), 20) << "no first description";
    ASSERT_EQ(backup->count([](COLORREF c) { return c == RGB(255, 0, 0); }), 0) << "not the first description";

    const RECT restore = buttonRect(1001);
    pointerTo({restore.right, restore.bottom}); // the right and bottom edge count
    ASSERT_TRUE(waitUntil([&] { return !description()->sameAs(*backup); }, 3s));
    const Picture restoreText = settledDescription();
    EXPECT_GT(restoreText->count([](COLORREF c) { return c == RGB(255, 0, 0); }), 20) << "no red second block";

    pointerTo(pagePoint(40, 300)); // the bare page
    EXPECT_TRUE(settledDescription()->sameAs(*restoreText)) << "leaving the buttons changed the description";

    pointerTo(centreOf(1002));
    ASSERT_TRUE(waitUntil([&] { return !description()->sameAs(*restoreText); }, 3s));
    const Picture toolsText = settledDescription();
    EXPECT_FALSE(toolsText->sameAs(*backup));

    const RECT backupRect = buttonRect(1000);
    pointerTo({backupRect.left, backupRect.top});
    EXPECT_TRUE(waitUntil([&] { return description()->sameAs(*backup); }, 3s));

    // The tools page tracks only its tools, and showing it again starts with the first.
    pointerTo(pagePoint(40, 300));
    PostMessageW(shell, UM_SHOW_TOOLS, 0, 0);
    ASSERT_TRUE(showsPage("tools"));
    const Picture diskManagement = settledDescription();

    pointerTo(centreOf(1020));
    ASSERT_TRUE(waitUntil([&] { return !description()->sameAs(*diskManagement); }, 3s));
    const Picture explorer = settledDescription();

    const RECT back = buttonRect(1021);
    pointerTo({back.left + 5, back.top + 5});
    EXPECT_TRUE(settledDescription()->sameAs(*explorer)) << "Back changed the description";
    pointerTo(pagePoint(40, 300));
    EXPECT_TRUE(settledDescription()->sameAs(*explorer));

    PostMessageW(shell, UM_SHOW_MAIN_MENU, 0, 0);
    ASSERT_TRUE(showsPage("main menu"));
    PostMessageW(shell, UM_SHOW_TOOLS, 0, 0);
    ASSERT_TRUE(showsPage("tools"));
    EXPECT_TRUE(waitUntil([&] { return description()->sameAs(*diskManagement); }, 3s));

    // The clicks: Tools, Explorer launched, a missing Disk Management leaving
    // the page as it was, and Back.
    SendMessageW(shell, UM_SHOW_MAIN_MENU, 0, 0);
    ASSERT_EQ(visiblePage(shell), "main menu");
    click(1002);
    ASSERT_TRUE(showsPage("tools"));

    const std::set<DWORD> before = processesNamed(L"explorer.exe");
    click(1020);
    std::set<DWORD> started;
    EXPECT_TRUE(waitUntil([&] {
        started.clear();
        std::ranges::set_difference(processesNamed(L"explorer.exe"), before, std::inserter(started, started.end()));
        return !started.empty();
    }));
    for (DWORD id : started) {
        UniqueHandle process(OpenProcess(PROCESS_TERMINATE, FALSE, id));
        if (process)
            TerminateProcess(process.get(), 0);
    }

    click(1019);
    click(1019); // nothing stops a second try
    EXPECT_EQ(program->exitCode(), STILL_ACTIVE);
    EXPECT_EQ(visiblePage(shell), "tools");
    EXPECT_EQ(program->visibleTopLevelWindows(), 1) << "something was shown for the missing console";

    click(1021);
    EXPECT_TRUE(showsPage("main menu"));

    // Leaving answered No keeps the window and its page; Yes ends with exit code 0.
    const MessageBoxInfo box = drainPostedMessages();
    ASSERT_TRUE(box.window);
    EXPECT_EQ(box.caption, L"Quorvane");
    EXPECT_EQ(box.text, L"Leave?");
    EXPECT_EQ(box.owner, shell);
    EXPECT_FALSE(program->waitForExit(300ms));
    EXPECT_TRUE(IsWindowVisible(shell));
    EXPECT_EQ(visiblePage(shell), "main menu");
    ASSERT_TRUE(program->answerClose(shell, IDYES).window);
    ASSERT_TRUE(program->waitForExit());
    EXPECT_EQ(program->exitCode(), 0u);
}

} // namespace
} // namespace quorvane::testing
