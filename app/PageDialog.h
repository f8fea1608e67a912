// What the six pages share: a hidden child dialog of the shell that covers its
// whole 720 x 480 client area and asks for other pages by posting messages.
#pragma once

#include "app/DialogWindow.h"
#include "app/PageMessages.h"
#include "skin/DrawingSteps.h"
#include "skin/SkinButton.h"
#include "skin/SkinDrawing.h"

#include <optional>
#include <string>

namespace quorvane {

class MainShellDialog;

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

    // The shell this page lies in, through its parent window: where a wizard
    // page writes the job of the page after it. nullptr outside a shell.
    MainShellDialog* shell() const;

    // A message box owned by the page: catalogue text `textId`, caption
    // "Quorvane", one OK button and no icon unless `style` says otherwise.
    // Returns the button that dismissed it.
    int showMessage(int textId, UINT style = MB_OK) const;

    // Attaches a push button of the page, gives it the six pictures of a set
    // (L"ns", L"nw") and a caption of catalogue text `labelTextId` in the
    // catalogue's face at 10 points, and places it in page pixels.
    void setUpPushButton(SkinButton& button, int controlId, const wchar_t* pictureSet, int labelTextId,
                         Colour background, const PixelRect& place) const;

    // The platform's file dialog, owned by the page, for a backup image: the one
    // filter "QVX Format ( *.QVX )", no default extension, the read-only box
    // hidden, a question before an existing file is chosen for saving, the
    // process's current folder left as it was. Nothing when the user cancels.
    struct ChosenFile {
        std::wstring path;
        std::size_t fileNameOffset = 0; // where the file name starts in the path
    };
    enum class FileDialog { open, save };
    std::optional<ChosenFile> chooseImageFile(FileDialog kind) const;

    // Moves the page to the shell's client origin at 720 x 480 and centres it
    // over the shell.
    void placeOnShell() const;

    bool onInitDialog() override;
    std::optional<INT_PTR> onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    // A page that paints itself answers its drawing steps and the pictures they
    // name; a page without pictures is left to the default dialog painting.
    virtual DrawingSteps paintingSteps() const { return {}; }
    virtual const SkinPictures* paintingPictures() const { return nullptr; }

private:
    int templateId_;
};

} // namespace quorvane
