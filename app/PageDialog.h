// What the six pages share: a hidden child dialog of the shell that covers its
// whole 720 x 480 client area and asks for other pages by posting messages.
#pragma once

#include "app/DialogWindow.h"
#include "app/PageMessages.h"

namespace quorvane {

class PageDialog : public DialogWindow {
public:
    explicit PageDialog(int templateId) : templateId_(templateId) {}

    int templateId() const { return templateId_; }
    bool create(HWND shell) { return DialogWindow::create(templateId_, shell); }

    static constexpr int width = 720;
    static constexpr int height = 480;

protected:
    // Asks the shell for another page. Posted, so the current handler ends first.
    void requestPage(PageMessage message) const;

    // Moves the page to the shell's client origin at 720 x 480 and centres it
    // over the shell.
    void placeOnShell() const;

    bool onInitDialog() override;

private:
    int templateId_;
};

} // namespace quorvane
