#include "tools/pages/PageViews.h"

#include "app/ResourceIds.h"
#include "app/StringCatalogue.h"
#include "backup/BackupPagesDrawing.h"
#include "restore/RestorePagesDrawing.h"
#include "restore/RestoreRules.h"

namespace quorvane {

namespace {

constexpr CaptionFont pushCaption{10, 0};

ControlView skinButton(const MenuButton& layout)
{
    ControlView view;
    view.controlId = layout.controlId;
    view.place = layout.place;
    view.mode = layout.mode;
    view.pictures = layout.pictures;
    view.caption = layout.labelId;
    view.font = layout.font;
    return view;
}

ControlView pushButton(int controlId, PixelRect place, int labelId, const wchar_t* pictureSet = L"ns",
                       Colour background = buttonGrey)
{
    ControlView view = skinButton({controlId, pushSlotFiles(pictureSet), SkinButtonMode::push, labelId, place,
                                   pushCaption});
    view.background = background;
    return view;
}

ControlView edit(int controlId, PixelRect place, std::wstring text, int labelId)
{
    ControlView view;
    view.kind = ControlKind::edit;
    view.controlId = controlId;
    view.place = place;
    view.text = std::move(text);
    view.labelId = labelId;
    return view;
}

std::vector<ControlView> menuControls(const std::vector<MenuButton>& buttons)
{
    std::vector<ControlView> controls;
    for (const MenuButton& button : buttons)
        controls.push_back(skinButton(button));
    return controls;
}

PageView backupOptions(const std::wstring& code)
{
    PageView page{"backup-options", backupOptionsDrawing(code), {}, 0, {}};
    page.controls = {
        pushButton(IDC_BACKUP_BACK, backButtonPlace, 80),
        pushButton(IDC_BACKUP_NEXT, forwardButtonPlace, 82),
        pushButton(IDC_BACKUP_BROWSE, browseButtonPlace, 81, L"nw", boxBackground),
        edit(IDC_BACKUP_TARGET, targetEditPlace, L"D:\\backup.QVX", 11),
        edit(IDC_BACKUP_DESCRIPTION, descriptionEditPlace, L"2026-12-06 21:30 ", 13),
    };
    const int choiceIds[] = {IDC_BACKUP_NONE, IDC_BACKUP_FAST, IDC_BACKUP_MAXIMUM};
    for (int level = 1; level <= 3; ++level) {
        ControlView choice;
        choice.controlId = choiceIds[level - 1];
        choice.place = compressionChoicePlaces[level - 1];
        choice.mode = SkinButtonMode::radio;
        choice.pictures = radioSlotFiles();
        choice.caption = compressionName(level);
        choice.font = {10, 0};
        choice.background = boxBackground;
        choice.disabled = level == 2; // Fast, chosen at the start
        page.controls.push_back(choice);
    }
    return page;
}

PageView backupConfirm(const std::wstring& code)
{
    const BackupJobParameters job{2, L"2026-12-06 21:30 ", L"D:\\backup.QVX", 3, 0};
    PageView page{"backup-confirm", backupConfirmDrawing(code, job), {}, 0, {}};
    page.controls = {pushButton(IDC_BACKUP_CONFIRM_BACK, backButtonPlace, 87),
                     pushButton(IDC_BACKUP_CONFIRM_START, forwardButtonPlace, 88)};
    page.splitSentences = {code == L"412" ? std::vector<int>{18, 19, 20} : std::vector<int>{18, 19}, {25, 26},
                           {27, 28, 29}};
    return page;
}

PageView restoreSelect(const std::wstring& code, const StringCatalogue& texts)
{
    const PartitionSizes sizes = measurePartitions(100LL << 30, 50LL << 30);
    const RestoreSelectView view{L"Monday", sizes.systemSizeText, sizes.dataSizeText,
                                 sizes.systemMB, sizes.dataMB, sizes.mbPerPixel};
    PageView page{"restore-select", restoreSelectDrawing(code, view), {}, 0, {}};
    page.controls = {pushButton(IDC_RESTORE_BACK, backButtonPlace, 71),
                     pushButton(IDC_RESTORE_NEXT, forwardButtonPlace, 72),
                     pushButton(IDC_RESTORE_BROWSE, restoreBrowsePlace, 73)};
    ControlView list;
    list.kind = ControlKind::list;
    list.controlId = IDC_RESTORE_LIST;
    list.place = imageListPlace;
    list.labelId = 52;
    list.rows = {{texts.text(59), texts.text(60), L""}, {L"backup.QVX", L"d:", megabytesText(5368709120)}};
    page.controls.push_back(list);
    return page;
}

PageView restoreConfirm(const std::wstring& code, const StringCatalogue& texts)
{
    const PartitionSizes sizes = measurePartitions(100LL << 30, 50LL << 30);
    RestoreJobParameters job;
    job.imageSize = 5368709120;
    job.diskId = 0;
    job.partId = 3;
    job.imagePath = L"d:\\backup.QVX";
    job.imageName = L"Monday";
    job.systemDriveText = systemDriveText(sizes.systemSizeText);
    PageView page{"restore-confirm", restoreConfirmDrawing(code, job, texts), {}, 0, {}};
    page.controls = {pushButton(IDC_RESTORE_CONFIRM_BACK, backButtonPlace, 78),
                     pushButton(IDC_RESTORE_CONFIRM_START, forwardButtonPlace, 79)};
    const bool korean = code == L"412";
    page.splitSentences = {korean ? std::vector<int>{33, 34, 89} : std::vector<int>{33, 34},
                           {41, 42, 43}};
    if (korean)
        page.splitSentences.push_back({40, 90, 91});
    return page;
}

} // namespace

std::vector<PageView> pageViews(const std::wstring& code, const StringCatalogue& texts)
{
    std::vector<PageView> pages;
    const std::vector<MenuButton> menu = mainMenuButtons(code);
    for (int hover = 1; hover <= 3; ++hover)
        pages.push_back({"main-menu-hover-" + std::to_string(hover), mainMenuSteps(hover, code), menuControls(menu),
                         menu[static_cast<std::size_t>(hover - 1)].controlId, {}});
    const std::vector<MenuButton> tools = toolsPageButtons(code);
    for (int hover = 1; hover <= 2; ++hover)
        pages.push_back({"tools-hover-" + std::to_string(hover), toolsPageSteps(hover), menuControls(tools),
                         tools[static_cast<std::size_t>(hover - 1)].controlId, {}});
    pages.push_back(backupOptions(code));
    pages.push_back(backupConfirm(code));
    pages.push_back(restoreSelect(code, texts));
    pages.push_back(restoreConfirm(code, texts));
    return pages;
}

} // namespace quorvane
