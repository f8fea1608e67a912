#include "backup/BackupOptionsPage.h"

#include "app/AccessibleAnnotations.h"
#include "app/MainShellDialog.h"
#include "app/RecoveryApp.h"
#include "backup/BackupPagesDrawing.h"
#include "backup/BackupRules.h"
#include "disk/DiskMap.h"
#include "job/JobContent.h"
#include "restore/ImageCatalogue.h"

#include <vector>

namespace quorvane {

namespace {

constexpr int textNoTarget = 83;
constexpr int textOnSystemPartition = 84;
constexpr int textNotALetteredPartition = 85;
constexpr int textForbiddenCharacter = 86;
constexpr int textReplaceImage = 100;
// The captions the page draws above the target and the description.
constexpr int textTargetCaption = 11;
constexpr int textDescriptionCaption = 13;

constexpr int choicePoints = 10;

// The default target, whatever letter partition 3 of disk 0 has today.
constexpr wchar_t defaultTarget[] = L"D:\\backup.QVX";

std::wstring timeStampNow()
{
    SYSTEMTIME now{};
    GetLocalTime(&now);
    return descriptionTimeStamp(now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute);
}

std::wstring controlText(HWND dialog, int id)
{
    HWND control = GetDlgItem(dialog, id);
    std::vector<wchar_t> text(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
    GetWindowTextW(control, text.data(), static_cast<int>(text.size()));
    return text.data();
}

void place(HWND dialog, int id, const PixelRect& where)
{
    MoveWindow(GetDlgItem(dialog, id), where.left, where.top, where.width(), where.height(), TRUE);
}

bool insideWithEdges(const POINT& point, const RECT& rect)
{
    return point.x >= rect.left && point.x <= rect.right && point.y >= rect.top && point.y <= rect.bottom;
}

} // namespace

BackupOptionsPage::BackupOptionsPage()
    : PageDialog(IDD_BACKUP_OPTIONS),
      pictures{L"background_step.dat", L"partition_number_1.dat", L"background_box_1.dat", L"firstbg.dat"}
{
}

bool BackupOptionsPage::onInitDialog()
{
    setUpControls();
    SetDlgItemTextW(window(), IDC_BACKUP_DESCRIPTION, startTimeStamp_.c_str());
    SetDlgItemTextW(window(), IDC_BACKUP_TARGET, imagePath.c_str());
    return PageDialog::onInitDialog();
}

void BackupOptionsPage::setUpControls()
{
    const std::wstring face = RecoveryApp::current().catalogue.text(0);
    HWND page = window();

    setUpPushButton(backButton, IDC_BACKUP_BACK, L"ns", 80, buttonGrey, backButtonPlace);
    setUpPushButton(nextButton, IDC_BACKUP_NEXT, L"ns", 82, buttonGrey, forwardButtonPlace);
    setUpPushButton(browseButton, IDC_BACKUP_BROWSE, L"nw", 81, boxBackground, browseButtonPlace);
    place(page, IDC_BACKUP_TARGET, targetEditPlace);

    const int choiceIds[] = {IDC_BACKUP_NONE, IDC_BACKUP_FAST, IDC_BACKUP_MAXIMUM};
    SkinButton* const choices[] = {&noneChoice, &fastChoice, &maximumChoice};
    for (int level = 0; level < 3; ++level) {
        choices[level]->attach(page, choiceIds[level]);
        choices[level]->setRadio(compressionName(level + 1), boxBackground, face, choicePoints);
        place(page, choiceIds[level], compressionChoicePlaces[level]);
    }
    choose(fastChoice);

    place(page, IDC_BACKUP_DESCRIPTION, descriptionEditPlace);

    const StringCatalogue& texts = RecoveryApp::current().catalogue;
    AccessibleAnnotations annotations;
    annotations.nameAfterDrawnLabel(GetDlgItem(page, IDC_BACKUP_TARGET), texts.text(textTargetCaption));
    annotations.nameAfterDrawnLabel(GetDlgItem(page, IDC_BACKUP_DESCRIPTION), texts.text(textDescriptionCaption));
}

void BackupOptionsPage::takeStartValues()
{
    startTimeStamp_ = timeStampNow();
    DiskMap map;
    map.refresh();
    diskId = 0;
    if (map.driveLetterOf(3, 0) != 0) {
        partitionId = 3;
        imagePath = defaultTarget;
    } else {
        partitionId = 0;
        imagePath.clear();
    }
}

void BackupOptionsPage::choose(const SkinButton& chosen)
{
    const SkinButton* const choices[] = {&noneChoice, &fastChoice, &maximumChoice};
    for (const SkinButton* choice : choices) {
        if (choice != &chosen)
            EnableWindow(choice->window(), TRUE);
    }
    // A disabled button cannot hold the focus: a choice made with the keyboard
    // hands it on to the next choice, so that the keyboard keeps its place.
    for (int i = 0; i < 3; ++i) {
        if (choices[i] == &chosen && GetFocus() == chosen.window())
            SetFocus(choices[(i + 1) % 3]->window());
    }
    EnableWindow(chosen.window(), FALSE);
    AccessibleAnnotations annotations;
    for (const SkinButton* choice : choices)
        annotations.describeRadioChoice(choice->window(), choice == &chosen);
}

bool BackupOptionsPage::preTranslateMessage(const MSG& message)
{
    if (message.message == WM_LBUTTONDOWN) {
        for (const SkinButton* choice : {&noneChoice, &fastChoice, &maximumChoice}) {
            RECT area{};
            if (GetWindowRect(choice->window(), &area) && insideWithEdges(message.pt, area)) {
                choose(*choice);
                return true;
            }
        }
    }
    return PageDialog::preTranslateMessage(message);
}

void BackupOptionsPage::browse()
{
    DiskMap map;
    for (;;) {
        const std::optional<ChosenFile> chosen = chooseImageFile(FileDialog::save);
        if (!chosen)
            return;
        const std::wstring& path = chosen->path;
        const std::wstring fileName = path.substr(chosen->fileNameOffset);

        map.refresh();
        std::int32_t disk = 0;
        const std::uint32_t partition = map.partitionOfDriveLetter(ansiDriveLetter(path), disk);
        if (partition == 2 && disk == 0) {
            // The partition being backed up, which also receives the job file.
            showMessage(textOnSystemPartition);
            continue;
        }
        if (partition == 0) {
            showMessage(textNotALetteredPartition);
            continue;
        }
        if (hasForbiddenFileNameCharacter(fileName)) {
            showMessage(textForbiddenCharacter);
            continue;
        }
        const std::wstring target = withImageExtension(path);
        if (!fitsRecoveryEnvironment(target)) {
            showMessage(textNotALetteredPartition);
            continue;
        }
        // The dialog asked about overwriting the file it returned; a name
        // that only the case of ".qvx" sets apart is that same file.
        const bool dialogAsked = CompareStringOrdinal(target.c_str(), -1, path.c_str(), -1, TRUE) == CSTR_EQUAL;
        if (!dialogAsked && fileExists(target)
            && showMessage(textReplaceImage, MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON2) != IDYES)
            continue;
        imagePath = target;
        partitionId = partition;
        diskId = disk;
        SetDlgItemTextW(window(), IDC_BACKUP_TARGET, imagePath.c_str());
        return;
    }
}

void BackupOptionsPage::next()
{
    description = controlText(window(), IDC_BACKUP_DESCRIPTION);
    if (isBlankDescription(description))
        description = timeStampNow();
    compression = static_cast<std::int32_t>(
        chosenCompression(!IsWindowEnabled(noneChoice.window()), !IsWindowEnabled(fastChoice.window())));
    if (imagePath.empty() || partitionId == 0) {
        showMessage(textNoTarget);
        return;
    }
    MainShellDialog* wizard = shell();
    if (!wizard)
        return;
    BackupJobParameters& job = wizard->backupConfirmPage.job;
    job.compression = compression;
    job.description = description;
    job.imagePath = imagePath;
    job.partitionId = partitionId;
    job.diskId = diskId;
    requestPage(UM_SHOW_BACKUP_CONFIRM);
}

bool BackupOptionsPage::onCommand(int id, int code, HWND /*control*/)
{
    if (code != BN_CLICKED)
        return false;
    switch (id) {
    case IDC_BACKUP_BACK:
        requestPage(UM_SHOW_MAIN_MENU);
        return true;
    case IDC_BACKUP_NEXT:
        next();
        return true;
    case IDC_BACKUP_BROWSE:
        browse();
        return true;
    // Only Space on a focused choice clicks it: a press of the mouse is taken
    // before the button sees it.
    case IDC_BACKUP_NONE:
        choose(noneChoice);
        return true;
    case IDC_BACKUP_FAST:
        choose(fastChoice);
        return true;
    case IDC_BACKUP_MAXIMUM:
        choose(maximumChoice);
        return true;
    default:
        return false;
    }
}

DrawingSteps BackupOptionsPage::paintingSteps() const
{
    return backupOptionsDrawing(RecoveryApp::current().languageCode);
}

} // namespace quorvane
