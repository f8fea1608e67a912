// What the wizard tests share: a sandbox machine, the program started on it,
// and the user's actions on its pages: clicks by control id, the platform's
// file dialogs answered by typing a name, message boxes answered with OK.
#pragma once

#include "support/Canvas.h"
#include "skin/DrawingSteps.h"
#include "support/SandboxMachine.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <vector>

namespace quorvane::testing {

// Where a control lies in its page, in pixels.
inline PixelRect placeOf(HWND control)
{
    RECT rect{};
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
    return {rect.left, rect.top, rect.right, rect.bottom};
}

// A message box of the program with this text and owner, answered: one OK
// button, or (for any other `button`) Yes and No with No the default.
inline void answerMessage(ProgramUnderTest& program, const std::wstring& text, HWND owner, int button = IDOK)
{
    const MessageBoxInfo box = program.waitForMessageBox(30s);
    ASSERT_TRUE(box.window) << "no message " << narrow(text);
    EXPECT_EQ(box.text, text);
    EXPECT_EQ(box.owner, owner);
    if (button == IDOK) {
        EXPECT_TRUE(GetDlgItem(box.window, IDOK) && !GetDlgItem(box.window, IDCANCEL));
    } else {
        EXPECT_TRUE(GetDlgItem(box.window, IDYES) && GetDlgItem(box.window, IDNO) && !GetDlgItem(box.window, IDOK));
        EXPECT_EQ(GetWindowLongW(GetDlgItem(box.window, IDNO), GWL_STYLE) & 0x0F, BS_DEFPUSHBUTTON);
    }
    ProgramUnderTest::pressButton(box.window, button);
    ASSERT_TRUE(waitUntil([&] { return !IsWindow(box.window); }));
}

class WizardDriver : public ::testing::Test {
protected:
    // The machine's disk 0 of `layout`, the programs in `programFolder` of
    // its scratch folder when one is named.
    explicit WizardDriver(const std::string& layout = usualLayout, const std::wstring& programFolder = {})
        : machine(layout, programFolder)
    {
    }

    // Starts the program on the machine (its machine.ini written with these
    // volumes) and waits for the main menu.
    void startProgram(const std::string& volumes)
    {
        ASSERT_TRUE(machine.ready());
        machine.writeMachine("[Volumes]\r\n" + volumes);
        program = std::make_unique<ProgramUnderTest>(machine.program());
        shell = program->waitForShell();
        ASSERT_TRUE(shell);
        ASSERT_EQ(visiblePage(shell), "main menu");
    }

    bool showsPage(const std::string& name) { return waitForPage(shell, name); }
    HWND control(int id) const { return GetDlgItem(visiblePageWindow(shell), id); }
    void click(int id) { clickButton(control(id)); }

    // Types a name into the file dialog once it shows (none: Cancel) and
    // presses its button; the dialog then goes.
    void answerFileDialog(const std::optional<std::wstring>& name)
    {
        // The dialog's file-name field: an edit (edt1) or the combo box that holds one (cmb13).
        constexpr int fileNameEdit = 0x480;
        constexpr int fileNameCombo = 0x47C;
        HWND dialog = program->waitForWindow([](HWND w) {
            return IsWindowVisible(w) && (GetDlgItem(w, fileNameCombo) || GetDlgItem(w, fileNameEdit));
        });
        ASSERT_TRUE(dialog) << "no file dialog";
        HWND field = GetDlgItem(dialog, fileNameCombo) ? GetDlgItem(dialog, fileNameCombo) : GetDlgItem(dialog, fileNameEdit);
        if (name)
            SendMessageW(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name->c_str()));
        const int button = name ? IDOK : IDCANCEL;
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, button)));
        ASSERT_TRUE(waitUntil([&] { return !IsWindow(dialog); }));
    }

    // A message box of the page with this text answered with `button`. A page
    // is a child window: its boxes belong to the shell it lies in.
    void expectMessage(const std::wstring& text, int button = IDOK) { answerMessage(*program, text, shell, button); }

    // After Start on a confirm page: the restart came, and partition 1 boots next.
    void expectHandedOver()
    {
        ASSERT_TRUE(program->waitForExit(30s)) << "the hand-off did not end in a restart; showing "
                                                << visiblePage(shell);
        EXPECT_EQ(machine.eventsLog(), "restart\r\n");
        EXPECT_EQ(machine.bootablePartitions(), "1");
    }

    // What a rectangle of the visible page shows on the screen now; the same
    // once painting has caught up.
    std::unique_ptr<Canvas> pageArea(const PixelRect& area) const
    {
        return screenPicture(visiblePageWindow(shell), {area.left, area.top, area.right, area.bottom});
    }
    std::unique_ptr<Canvas> settledPageArea(const PixelRect& area) const
    {
        return settledPicture([&] { return pageArea(area); });
    }

    // The keyboard: the program in front, where keys go, and the pointer on a
    // bare part of the page, where it lights no button.
    void takeKeyboard()
    {
        SetForegroundWindow(shell);
        ASSERT_TRUE(waitUntil([&] { return GetForegroundWindow() == shell; }));
        POINT bare{40, 300};
        ClientToScreen(shell, &bare);
        pointerTo(bare);
    }

    // The control of the program that holds the keyboard focus.
    HWND focused() const
    {
        GUITHREADINFO info{};
        info.cbSize = sizeof(info);
        return GetGUIThreadInfo(GetWindowThreadProcessId(shell, nullptr), &info) ? info.hwndFocus : nullptr;
    }

    // A key pressed and released as the keyboard does it, Shift held with it
    // when asked.
    static void press(WORD key, bool shift = false)
    {
        std::vector<INPUT> keys;
        for (const auto& [code, flags] : {std::pair<WORD, DWORD>{VK_SHIFT, 0}, {key, 0}, {key, KEYEVENTF_KEYUP},
                                          {VK_SHIFT, KEYEVENTF_KEYUP}}) {
            if (code == VK_SHIFT && !shift)
                continue;
            keys.push_back(INPUT{INPUT_KEYBOARD, {}});
            keys.back().ki.wVk = code;
            keys.back().ki.dwFlags = flags;
        }
        SendInput(static_cast<UINT>(keys.size()), keys.data(), sizeof(INPUT));
    }

    // Tab (Shift+Tab) until it reaches control `id` of the visible page:
    // the focus must land there with this one key.
    void tabTo(int id, bool backwards = false)
    {
        press(VK_TAB, backwards);
        ASSERT_TRUE(waitUntil([&] { return focused() == control(id); }))
            << "Tab did not reach " << id << ", the focus is on " << GetDlgCtrlID(focused());
    }

    SandboxMachine machine;
    std::unique_ptr<ProgramUnderTest> program;
    HWND shell = nullptr;
};

} // namespace quorvane::testing
