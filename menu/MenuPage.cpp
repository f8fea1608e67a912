#include "menu/MenuPage.h"

#include "app/RecoveryApp.h"

namespace quorvane {

MenuPage::MenuPage(int templateId, int trackedButtons, PixelRect descriptionArea)
    : PageDialog(templateId),
      pictures_{menuBackground},
      trackedButtons_(trackedButtons),
      descriptionArea_(descriptionArea)
{
}

void MenuPage::setHoverIndex(int index)
{
    hoverIndex_ = index;
    if (window())
        InvalidateRect(window(), nullptr, TRUE);
}

bool MenuPage::preTranslateMessage(const MSG& message)
{
    if (isEscapeKeyDown(message))
        return true;
    if (message.message != WM_MOUSEMOVE || !window())
        return false;
    std::vector<PixelRect> tracked;
    for (int i = 0; i < trackedButtons_ && i < static_cast<int>(controlIds_.size()); ++i) {
        RECT frame{};
        GetWindowRect(GetDlgItem(window(), controlIds_[i]), &frame);
        tracked.push_back({frame.left, frame.top, frame.right, frame.bottom});
    }
    const int index = hoverIndexAt(tracked, {message.pt.x, message.pt.y});
    // Leaving the buttons keeps the description of the last one touched.
    if (index != 0 && index != hoverIndex_) {
        hoverIndex_ = index;
        const RECT area{descriptionArea_.left, descriptionArea_.top, descriptionArea_.right, descriptionArea_.bottom};
        InvalidateRect(window(), &area, TRUE);
    }
    return false;
}

bool MenuPage::onInitDialog()
{
    const RecoveryApp& app = RecoveryApp::current();
    const std::wstring face = app.catalogue.text(0);
    for (const MenuButton& layout : buttons()) {
        auto button = std::make_unique<SkinButton>();
        button->attach(window(), layout.controlId);
        if (layout.mode == SkinButtonMode::icon)
            button->setIconImages(layout.pictures[0], layout.pictures[1], layout.pictures[2]);
        else
            button->setImages(layout.pictures);
        button->setCaption(app.catalogue.text(layout.labelId), menuButtonBackground, face, layout.font.points,
                           layout.font.weight);
        MoveWindow(button->window(), layout.place.left, layout.place.top, layout.place.width(), layout.place.height(),
                   TRUE);
        controlIds_.push_back(layout.controlId);
        buttons_.push_back(std::move(button));
    }
    return PageDialog::onInitDialog();
}

} // namespace quorvane
