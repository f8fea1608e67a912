#include "restore/RestoreSelectPage.h"

#include "app/AccessibleAnnotations.h"
#include "app/MainShellDialog.h"
#include "app/RecoveryApp.h"
#include "disk/DiskMap.h"
#include "restore/FileBytes.h"
#include "restore/RestorePagesDrawing.h"
#include "restore/RestoreRules.h"

#include <commctrl.h>

#include <algorithm>

namespace quorvane {

namespace {

constexpr int textNoSelection = 69;
constexpr int textNoBrowsedFile = 70;
constexpr int textNotOnALetteredPartition = 74;
constexpr int textOnSystemPartition = 75;
constexpr int textNotFound = 76;
constexpr int textNotAnImage = 77;
constexpr int textNothingToRestoreOnto = 94;
constexpr int textFactoryName = 59;
constexpr int textFactoryPath = 60;
constexpr int textFirstColumn = 56;
constexpr int textListCaption = 52; // drawn above the list
constexpr wchar_t otherRowText[] = L"Other";

const StringCatalogue& texts()
{
    return RecoveryApp::current().catalogue;
}

void insertColumn(HWND list, int column, const std::wstring& title, int format, int width)
{
    LVCOLUMNW item{};
    item.mask = LVCF_TEXT | LVCF_FMT | LVCF_WIDTH;
    item.fmt = format;
    item.cx = width;
    item.pszText = const_cast<wchar_t*>(title.c_str());
    SendMessageW(list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&item));
}

void setCell(HWND list, int row, int column, const std::wstring& text)
{
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = const_cast<wchar_t*>(text.c_str());
    SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

void insertRow(HWND list, int row, const std::wstring& first, const std::wstring& second, const std::wstring& third)
{
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = row;
    item.pszText = const_cast<wchar_t*>(first.c_str());
    SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    setCell(list, row, 1, second);
    setCell(list, row, 2, third);
}

// The list is hidden and draws nothing while its rows are rebuilt, and shows
// itself once when they are all there. A list that redraws after every row
// spends on each new row the time of every row it already holds; one that is
// told to draw again while it shows also draws its scroll bars and header at
// once, and then again when the page paints.
class ListRebuild {
public:
    explicit ListRebuild(HWND list) : list_(list)
    {
        ShowWindow(list_, SW_HIDE);
        SendMessageW(list_, WM_SETREDRAW, FALSE, 0);
    }
    ListRebuild(const ListRebuild&) = delete;
    ListRebuild& operator=(const ListRebuild&) = delete;
    ~ListRebuild()
    {
        SendMessageW(list_, WM_SETREDRAW, TRUE, 0);
        ShowWindow(list_, SW_SHOW);
    }

private:
    HWND list_;
};

std::int64_t fileSizeOf(const std::wstring& path)
{
    const FileBytes file(path);
    return file.opened() ? static_cast<std::int64_t>(file.size()) : 0;
}

} // namespace

RestoreSelectPage::RestoreSelectPage()
    : PageDialog(IDD_RESTORE_SELECT),
      pictures{L"background_step.dat",        L"partition_number_1.dat",    L"background_box_1.dat",
               L"c_drive_enabled.dat",        L"d_drive_enabled.dat",       L"partition_green_start.dat",
               L"partition_green_mid.dat",    L"partition_green_end.dat",   L"partition_violet_mid.dat",
               L"partition_violet_end.dat",   L"firstbg.dat"}
{
}

bool RestoreSelectPage::onInitDialog()
{
    setUpPushButton(backButton, IDC_RESTORE_BACK, L"ns", 71, buttonGrey, backButtonPlace);
    setUpPushButton(nextButton, IDC_RESTORE_NEXT, L"ns", 72, buttonGrey, forwardButtonPlace);
    setUpPushButton(browseButton, IDC_RESTORE_BROWSE, L"ns", 73, buttonGrey, restoreBrowsePlace);

    HWND list = GetDlgItem(window(), IDC_RESTORE_LIST);
    MoveWindow(list, imageListPlace.left, imageListPlace.top, imageListPlace.width(), imageListPlace.height(), TRUE);
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT);
    LOGFONTW font{};
    font.lfHeight = fontHeight(10, GetDeviceCaps(WindowDc(window()).get(), LOGPIXELSY));
    font.lfWeight = FW_NORMAL;
    const std::wstring face = texts().text(0);
    face.copy(font.lfFaceName, LF_FACESIZE - 1);
    listFont.reset(CreateFontIndirectW(&font));
    SendMessageW(list, WM_SETFONT, reinterpret_cast<WPARAM>(listFont.get()), TRUE);
    const std::wstring listName = texts().text(textListCaption);
    AccessibleAnnotations().nameAfterDrawnLabel(list, listName);
    // A list view does not show its window text; screen readers that take
    // its name from there find it too.
    SetWindowTextW(list, listName.c_str());
    return PageDialog::onInitDialog();
}

void RestoreSelectPage::refreshPage()
{
    listView = GetDlgItem(window(), IDC_RESTORE_LIST);
    const ListRebuild rebuild(listView);
    SendMessageW(listView, LVM_DELETEALLITEMS, 0, 0);
    HWND header = reinterpret_cast<HWND>(SendMessageW(listView, LVM_GETHEADER, 0, 0));
    for (LRESULT columns = SendMessageW(header, HDM_GETITEMCOUNT, 0, 0); columns > 0; --columns)
        SendMessageW(listView, LVM_DELETECOLUMN, 0, 0);

    browsedImage = ImageEntry{};
    hasFactoryRow = false;
    shownImageName.clear();
    systemSizeText.clear();
    dataSizeText.clear();

    DiskMap map;
    map.refresh();
    const PartitionSizes sizes = measurePartitions(map.findPartition(0, 2).info.partitionLength,
                                                   map.findPartition(0, 3).info.partitionLength);
    systemMB = sizes.systemMB;
    dataMB = sizes.dataMB;
    mbPerPixel = sizes.mbPerPixel;
    if (sizes.bothUnderOneGB()) {
        showMessage(textNothingToRestoreOnto);
        ExitProcess(1);
    }
    systemSizeText = sizes.systemSizeText;
    dataSizeText = sizes.dataSizeText;

    loadImageList(catalogue);
    const int formats[] = {LVCFMT_LEFT, LVCFMT_LEFT, LVCFMT_CENTER};
    for (int column = 0; column < 3; ++column)
        insertColumn(listView, column, texts().text(textFirstColumn + column), formats[column],
                     imageListColumnWidths[column]);
    hasFactoryRow = hasRecoveryPartition();
    if (hasFactoryRow)
        insertRow(listView, 0, texts().text(textFactoryName), texts().text(textFactoryPath), {});
    const int first = hasFactoryRow ? 1 : 0;
    for (std::size_t i = 0; i < catalogue.size(); ++i) {
        const ImageEntry& entry = catalogue[i];
        insertRow(listView, first + static_cast<int>(i), fileNameOf(entry.imagePath), folderOf(entry.imagePath),
                  megabytesText(entry.imageSize));
    }
    placeOnShell();
    InvalidateRect(window(), nullptr, FALSE);
}

bool RestoreSelectPage::onNotify(const NMHDR& header)
{
    if (header.idFrom != IDC_RESTORE_LIST || (header.code != NM_CLICK && header.code != NM_RCLICK))
        return false;
    onRowClick(reinterpret_cast<const NMITEMACTIVATE&>(header).iItem);
    return true;
}

void RestoreSelectPage::onRowClick(int row)
{
    // A click below the last row.
    if (row < 0)
        return;
    const ListRow clicked = listRowAt(row, hasFactoryRow, catalogue.size());
    if (clicked.kind == RowKind::factory)
        shownImageName = texts().text(textFactoryName);
    else if (clicked.kind == RowKind::catalogue)
        shownImageName = catalogue[clicked.catalogueIndex].imageName;
    else
        shownImageName = browsedImage.imageName;
    const RECT area{imageDescriptionArea.left, imageDescriptionArea.top, imageDescriptionArea.right,
                    imageDescriptionArea.bottom};
    InvalidateRect(window(), &area, FALSE);
}

void RestoreSelectPage::browse()
{
    for (;;) {
        const std::optional<ChosenFile> chosen = chooseImageFile(FileDialog::open);
        if (!chosen)
            return;
        const std::wstring& path = chosen->path;
        DiskMap map;
        map.refresh();
        std::int32_t disk = 0;
        const std::uint32_t partition = map.partitionOfDriveLetter(ansiDriveLetter(path), disk);
        std::wstring name;
        if (partition == 0) {
            showMessage(textNotOnALetteredPartition);
            continue;
        }
        if (disk == 0 && partition == 2) {
            // A restore overwrites the partition that holds the image.
            showMessage(textOnSystemPartition);
            continue;
        }
        if (!fileExists(path)) {
            showMessage(textNotFound);
            continue;
        }
        // An image cut off half-way would break the restore: no better than none.
        if (!readImageName(path, name) || !isCompleteImage(path)) {
            showMessage(textNotAnImage);
            continue;
        }
        browsedImage = ImageEntry{fileSizeOf(path), disk, static_cast<std::int32_t>(partition), path, name};
        showOtherRow();
        return;
    }
}

void RestoreSelectPage::showOtherRow()
{
    const int row = (hasFactoryRow ? 1 : 0) + static_cast<int>(catalogue.size());
    SendMessageW(listView, LVM_DELETEITEM, static_cast<WPARAM>(row), 0);
    insertRow(listView, row, otherRowText, browsedImage.imagePath, megabytesText(browsedImage.imageSize));
}

const ImageEntry* RestoreSelectPage::chosenImage(int row, ImageEntry& factory)
{
    const ListRow chosen = listRowAt(row, hasFactoryRow, catalogue.size());
    if (chosen.kind == RowKind::nothing) {
        showMessage(textNoSelection);
        return nullptr;
    }
    if (chosen.kind == RowKind::factory) {
        factory = factoryImageEntry(texts());
        return &factory; // no file here: the recovery environment has it
    }
    if (chosen.kind == RowKind::other && browsedImage.imagePath.empty()) {
        showMessage(textNoBrowsedFile);
        return nullptr;
    }
    const ImageEntry& image = chosen.kind == RowKind::other ? browsedImage : catalogue[chosen.catalogueIndex];
    // The list may name an image on the partition a restore overwrites, or one
    // that cannot be read or was cut off: none of them can be restored.
    if (image.diskId == 0 && image.partId == 2) {
        showMessage(textOnSystemPartition);
        return nullptr;
    }
    std::wstring name;
    if (!readImageName(image.imagePath, name) || !isCompleteImage(image.imagePath)) {
        showMessage(textNotAnImage);
        return nullptr;
    }
    return &image;
}

void RestoreSelectPage::next()
{
    const int mark = static_cast<int>(SendMessageW(listView, LVM_GETSELECTIONMARK, 0, 0));
    ImageEntry factory;
    const ImageEntry* image = chosenImage(mark, factory);
    MainShellDialog* wizard = shell();
    if (!image || !wizard)
        return;
    RestoreJobParameters& job = wizard->restoreConfirmPage.job;
    job.imageSize = image->imageSize;
    job.diskId = image->diskId;
    job.partId = static_cast<std::uint32_t>(image->partId);
    job.imagePath = image->imagePath;
    job.imageName = image->imageName;
    job.systemDriveText = systemDriveText(systemSizeText);
    requestPage(UM_SHOW_RESTORE_CONFIRM);
}

bool RestoreSelectPage::onCommand(int id, int code, HWND /*control*/)
{
    if (code != BN_CLICKED)
        return false;
    switch (id) {
    case IDC_RESTORE_BACK:
        requestPage(UM_SHOW_MAIN_MENU);
        return true;
    case IDC_RESTORE_NEXT:
        next();
        return true;
    case IDC_RESTORE_BROWSE:
        browse();
        return true;
    default:
        return false;
    }
}

DrawingSteps RestoreSelectPage::paintingSteps() const
{
    const RestoreSelectView view{shownImageName, systemSizeText, dataSizeText, systemMB, dataMB, mbPerPixel};
    return restoreSelectDrawing(RecoveryApp::current().languageCode, view);
}

} // namespace quorvane
