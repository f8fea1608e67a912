// Drives a real copy of the program from another process, as a user would:
// finds its windows, posts messages, answers its message boxes.
#pragma once

#include "app/StringCatalogue.h"
#include "platform/Win32Handles.h"

#include <windows.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

namespace quorvane::testing {

using namespace std::chrono_literals;

// Polls a condition until it holds or the time is up.
bool waitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout = 10s);

// The folder of the running test program: the built programs lie beside it.
std::filesystem::path buildFolder();

// A fresh folder under the temporary folder, removed at scope end.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

// Writes a UTF-16LE language file with BOM holding one section of key=value lines.
void writeLanguageFile(const std::filesystem::path& file, const std::wstring& section,
                       const std::wstring& lines);

// The texts of a language file, read the way the program reads them.
StringCatalogue languageCatalogue(const std::filesystem::path& file, const std::wstring& section);

struct MessageBoxInfo {
    HWND window = nullptr;
    std::wstring caption;
    std::wstring text;
    HWND owner = nullptr;
};

// The program's main window: a visible top-level dialog "Quorvane" that is no message box.
bool isProgramShell(HWND window);

class ProgramUnderTest {
public:
    // Starts the program; it is ended at scope end if it still runs.
    explicit ProgramUnderTest(const std::filesystem::path& program, const std::wstring& arguments = {});
    ~ProgramUnderTest();
    ProgramUnderTest(const ProgramUnderTest&) = delete;
    ProgramUnderTest& operator=(const ProgramUnderTest&) = delete;

    // A top-level window of the program that `accept` takes, or nullptr.
    HWND waitForWindow(const std::function<bool(HWND)>& accept, std::chrono::milliseconds timeout = 15s) const;
    // The program's main window once it is shown, or nullptr.
    HWND waitForShell(std::chrono::milliseconds timeout = 15s) { return waitForWindow(isProgramShell, timeout); }
    // A message box of the program with the caption "Quorvane", or an empty record.
    MessageBoxInfo waitForMessageBox(std::chrono::milliseconds timeout = 15s);
    // Presses the message box button with this id (IDOK, IDYES, IDNO).
    static void pressButton(HWND box, int buttonId) { SendMessageW(GetDlgItem(box, buttonId), BM_CLICK, 0, 0); }
    // Posts WM_CLOSE to the shell and answers the leaving question with
    // `button`. Posted messages are handled in order, so once the question
    // shows, everything posted before it has been handled.
    MessageBoxInfo answerClose(HWND shell, int button);

    bool waitForExit(std::chrono::milliseconds timeout = 15s)
    {
        return process_ && WaitForSingleObject(process_.get(), static_cast<DWORD>(timeout.count())) == WAIT_OBJECT_0;
    }
    // STILL_ACTIVE while it runs.
    DWORD exitCode() const;
    DWORD processId() const { return processId_; }
    // Top-level windows of the program that are visible now.
    int visibleTopLevelWindows() const;

private:
    UniqueHandle process_;
    DWORD processId_ = 0;
};

// The page the shell shows, by the control ids in it: "main menu", "backup
// options", "backup confirm", "restore select", "restore confirm", "tools";
// "" when none, "several" when more than one is visible.
std::string visiblePage(HWND shell);

// Polls until the shell shows this page.
inline bool waitForPage(HWND shell, const std::string& name)
{
    return waitUntil([&] { return visiblePage(shell) == name; });
}

// The page window the shell shows, or nullptr.
HWND visiblePageWindow(HWND shell);

// Clicks a control of another process with the left button at a point of its
// client area (its centre by default), as the pointer would: the cursor is
// moved there first, because a posted click carries the cursor position.
// For controls whose page watches the raw mouse; push buttons take clickButton.
void clickControl(HWND control, std::optional<POINT> at = std::nullopt);

// Moves the pointer as a mouse does, so that the window under it (or the one
// holding the capture) gets the move; a bare SetCursorPos sends none here.
void pointerTo(POINT screenPoint);

// A click of the left (or right) button at a point of the screen, through the
// input queue: the pointer is moved there first.
void clickAt(POINT screenPoint, bool rightButton = false);

// Clicks a push button of another process in one posted BM_CLICK. A press and
// a release posted one by one can be split by a focus change that the window
// system answers with WM_CANCELMODE: the button loses its capture in between
// and the click is lost.
inline void clickButton(HWND button) { PostMessageW(button, BM_CLICK, 0, 0); }

// The text of a control of another process (asked with WM_GETTEXT, which an
// edit answers with what it holds now).
std::wstring controlText(HWND control);

// Copies the built sandbox edition into a folder, without its language files,
// on the default sandbox machine.
std::filesystem::path copyProgram(const std::filesystem::path& folder);

} // namespace quorvane::testing
