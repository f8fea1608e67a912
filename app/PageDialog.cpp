#include "app/PageDialog.h"

#include "app/MainShellDialog.h"
#include "app/RecoveryApp.h"
#include "platform/SystemLibrary.h"

#include <commdlg.h>

#include <algorithm>

namespace quorvane {

void PageDialog::requestPage(PageMessage message) const
{
    PostMessageW(GetParent(window()), message, 0, 0);
}

MainShellDialog* PageDialog::shell() const
{
    return dynamic_cast<MainShellDialog*>(DialogWindow::objectOf(GetParent(window())));
}

int PageDialog::showMessage(int textId, UINT style) const
{
    return MessageBoxW(window(), RecoveryApp::current().catalogue.text(textId).c_str(), L"Quorvane", style);
}

void PageDialog::setUpPushButton(SkinButton& button, int controlId, const wchar_t* pictureSet, int labelTextId,
                                 Colour background, const PixelRect& place) const
{
    const StringCatalogue& catalogue = RecoveryApp::current().catalogue;
    button.attach(window(), controlId);
    button.setImages(pushSlotFiles(pictureSet));
    button.setCaption(catalogue.text(labelTextId), background, catalogue.text(0), 10, 0);
    MoveWindow(GetDlgItem(window(), controlId), place.left, place.top, place.width(), place.height(), TRUE);
}

std::optional<PageDialog::ChosenFile> PageDialog::chooseImageFile(FileDialog kind) const
{
    static constexpr wchar_t filter[] = L"QVX Format ( *.QVX )\0*.QVX\0";
    wchar_t chosen[MAX_PATH] = {};
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = window();
    dialog.lpstrFilter = filter;
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = chosen;
    dialog.nMaxFile = MAX_PATH;
    dialog.Flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_NOCHANGEDIR;
    static const SystemLibrary dialogs(L"comdlg32.dll");
    const auto show = kind == FileDialog::save ? dialogs.function<decltype(GetSaveFileNameW)>("GetSaveFileNameW")
                                               : dialogs.function<decltype(GetOpenFileNameW)>("GetOpenFileNameW");
    const BOOL accepted = show && show(&dialog);
    if (!accepted)
        return std::nullopt;
    ChosenFile file{chosen, dialog.nFileOffset};
    file.fileNameOffset = std::min(file.fileNameOffset, file.path.size());
    return file;
}

void PageDialog::placeOnShell() const
{
    MoveWindow(window(), 0, 0, width, height, TRUE);
    RECT client{};
    GetClientRect(GetParent(window()), &client);
    const int x = (client.right - client.left - width) / 2;
    const int y = (client.bottom - client.top - height) / 2;
    SetWindowPos(window(), nullptr, x > 0 ? x : 0, y > 0 ? y : 0, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool PageDialog::onInitDialog()
{
    placeOnShell();
    return true;
}

std::optional<INT_PTR> PageDialog::onMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_PAINT) {
        if (const SkinPictures* pictures = paintingPictures()) {
            paintPage(window(), paintingSteps(), *pictures, RecoveryApp::current().catalogue);
            return TRUE;
        }
    }
    return DialogWindow::onMessage(message, wParam, lParam);
}

} // namespace quorvane
