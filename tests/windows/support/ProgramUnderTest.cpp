#include "support/ProgramUnderTest.h"

#include "app/StringCatalogue.h"
#include "tests/support/TestFiles.h"

#include <fstream>
#include <thread>
#include <vector>

namespace quorvane::testing {

namespace fs = std::filesystem;

bool waitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(20ms);
    }
    return true;
}

fs::path buildFolder()
{
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    return fs::path(path).parent_path();
}

ScratchFolder::ScratchFolder()
{
    static int counter = 0;
    path_ = fs::temp_directory_path()
            / ("quorvane-test-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++counter));
    fs::remove_all(path_);
    fs::create_directories(path_);
}

ScratchFolder::~ScratchFolder()
{
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

void writeLanguageFile(const fs::path& file, const std::wstring& section, const std::wstring& lines)
{
    fs::create_directories(file.parent_path());
    writeBytes(file, utf16File(L"[" + section + L"]\r\n" + lines));
}

StringCatalogue languageCatalogue(const fs::path& file, const std::wstring& section)
{
    std::vector<wchar_t> buffer(100000, L'\0');
    const DWORD copied = GetPrivateProfileSectionW(section.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()),
                                                   file.c_str());
    StringCatalogue catalogue;
    catalogue.fillFromSection(std::wstring_view(buffer.data(), copied));
    return catalogue;
}

fs::path copyProgram(const fs::path& folder)
{
    const fs::path copy = folder / L"QuorvaneSandbox.exe";
    fs::copy_file(buildFolder() / L"QuorvaneSandbox.exe", copy, fs::copy_options::overwrite_existing);
    // The default machine's disks, named where they lie: their images are
    // sparse and far too large to copy.
    const Bytes defaultMachine = fileBytes(buildFolder() / L"Sandbox/machine.ini");
    std::string machine(defaultMachine.begin(), defaultMachine.end());
    const std::string disks = (buildFolder() / L"Sandbox").string() + "\\";
    for (std::size_t at = machine.find("=disk"); at != std::string::npos; at = machine.find("=disk", at + disks.size()))
        machine.insert(at + 1, disks);
    fs::create_directories(folder / L"Sandbox");
    std::ofstream(folder / L"Sandbox/machine.ini", std::ios::binary) << machine;
    return copy;
}

ProgramUnderTest::ProgramUnderTest(const fs::path& program, const std::wstring& arguments)
{
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    std::wstring commandLine = L"\"" + program.wstring() + L"\" " + arguments;
    if (CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, program.parent_path().c_str(),
                       &startup, &info)) {
        process_.reset(info.hProcess);
        CloseHandle(info.hThread);
        processId_ = info.dwProcessId;
    }
}

ProgramUnderTest::~ProgramUnderTest()
{
    if (exitCode() == STILL_ACTIVE) {
        TerminateProcess(process_.get(), 99);
        WaitForSingleObject(process_.get(), 5000);
    }
}

namespace {

std::wstring windowText(HWND window)
{
    wchar_t text[1024] = {};
    GetWindowTextW(window, text, 1024);
    return text;
}

// Message boxes have a static text with this id; the shell has no controls of its own.
constexpr int messageBoxTextId = 0xFFFF;

bool isDialogCalledQuorvane(HWND window)
{
    wchar_t name[16] = {};
    GetClassNameW(window, name, 16);
    return IsWindowVisible(window) && std::wstring(name) == L"#32770" && windowText(window) == L"Quorvane";
}

// Calls `visit` for the top-level windows of a process until it answers true.
void visitWindows(DWORD processId, const std::function<bool(HWND)>& visit)
{
    std::pair<DWORD, const std::function<bool(HWND)>*> context{processId, &visit};
    EnumWindows([](HWND window, LPARAM parameter) {
        const auto& [id, visit] = *reinterpret_cast<decltype(context)*>(parameter);
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        return owner == id && (*visit)(window) ? FALSE : TRUE;
    }, reinterpret_cast<LPARAM>(&context));
}

} // namespace

bool isProgramShell(HWND window)
{
    return isDialogCalledQuorvane(window) && !GetDlgItem(window, messageBoxTextId) && GetWindow(window, GW_OWNER) == nullptr;
}

HWND ProgramUnderTest::waitForWindow(const std::function<bool(HWND)>& accept, std::chrono::milliseconds timeout) const
{
    HWND found = nullptr;
    waitUntil([&] {
        visitWindows(processId_, [&](HWND window) { return (found = accept(window) ? window : nullptr) != nullptr; });
        return found != nullptr || exitCode() != STILL_ACTIVE;
    }, timeout);
    return found;
}

MessageBoxInfo ProgramUnderTest::waitForMessageBox(std::chrono::milliseconds timeout)
{
    HWND box = waitForWindow([](HWND w) { return isDialogCalledQuorvane(w) && GetDlgItem(w, messageBoxTextId); }, timeout);
    if (!box)
        return {};
    return {box, windowText(box), windowText(GetDlgItem(box, messageBoxTextId)), GetWindow(box, GW_OWNER)};
}

MessageBoxInfo ProgramUnderTest::answerClose(HWND shell, int button)
{
    PostMessageW(shell, WM_CLOSE, 0, 0);
    const MessageBoxInfo box = waitForMessageBox();
    if (box.window) {
        pressButton(box.window, button);
        waitUntil([&] { return !IsWindow(box.window); });
    }
    return box;
}

DWORD ProgramUnderTest::exitCode() const
{
    DWORD code = 0;
    return process_ && GetExitCodeProcess(process_.get(), &code) ? code : 0xFFFFFFFF;
}

int ProgramUnderTest::visibleTopLevelWindows() const
{
    int visible = 0;
    visitWindows(processId_, [&](HWND window) {
        visible += IsWindowVisible(window) ? 1 : 0;
        return false;
    });
    return visible;
}

HWND visiblePageWindow(HWND shell)
{
    HWND child = GetWindow(shell, GW_CHILD);
    while (child && !IsWindowVisible(child))
        child = GetWindow(child, GW_HWNDNEXT);
    return child;
}

void clickControl(HWND control, std::optional<POINT> at)
{
    RECT client{};
    GetClientRect(control, &client);
    const POINT point = at.value_or(POINT{client.right / 2, client.bottom / 2});
    POINT screen = point;
    ClientToScreen(control, &screen);
    SetCursorPos(screen.x, screen.y);
    waitUntil([&] {
        POINT now{};
        return GetCursorPos(&now) && now.x == screen.x && now.y == screen.y;
    }, 2s);
    PostMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(point.x, point.y));
    PostMessageW(control, WM_LBUTTONUP, 0, MAKELPARAM(point.x, point.y));
}

void pointerTo(POINT screenPoint)
{
    INPUT move{};
    move.type = INPUT_MOUSE;
    move.mi.dx = MulDiv(screenPoint.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    move.mi.dy = MulDiv(screenPoint.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    move.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &move, sizeof(move));
    SetCursorPos(screenPoint.x, screenPoint.y);
}

void clickAt(POINT screenPoint, bool rightButton)
{
    pointerTo(screenPoint);
    INPUT inputs[2] = {};
    inputs[0].type = inputs[1].type = INPUT_MOUSE;
    inputs[0].mi.dwFlags = rightButton ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN;
    inputs[1].mi.dwFlags = rightButton ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP;
    SendInput(2, inputs, sizeof(INPUT));
}

std::wstring controlText(HWND control)
{
    wchar_t text[1024] = {};
    SendMessageW(control, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text));
    return text;
}

std::string visiblePage(HWND shell)
{
    static const std::pair<int, const char*> pages[] = {{1000, "main menu"},       {1003, "backup options"},
                                                        {1011, "backup confirm"},  {1013, "restore select"},
                                                        {1017, "restore confirm"}, {1021, "tools"}};
    std::string shown;
    int visible = 0;
    for (HWND child = GetWindow(shell, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (!IsWindowVisible(child))
            continue;
        ++visible;
        for (const auto& [controlId, name] : pages)
            shown = GetDlgItem(child, controlId) ? name : shown;
    }
    return visible > 1 ? "several" : shown;
}

} // namespace quorvane::testing
