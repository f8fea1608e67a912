// Renders what the pages and buttons look like into BMP files, with the
// program's own drawing code, the English language file and the skin files
// beside this program:
//   quorvane_screens.exe OUT_FOLDER
// Each page is painted from its drawing steps with its buttons on top, as
// they show in the window; each kind of button is shown in all its states.
// The backup pages are drawn once more in the layouts of "407" and "412",
// with the English texts standing in for those languages' files.
#include "app/RecoveryApp.h"
#include "backup/BackupPagesDrawing.h"
#include "menu/MenuLayout.h"
#include "skin/SkinButton.h"
#include "skin/SkinDrawing.h"
#include "support/Canvas.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

using namespace quorvane;
using quorvane::testing::Canvas;

namespace {

namespace fs = std::filesystem;

struct NamedState {
    const char* name;
    ButtonState state;
};

const NamedState allStates[] = {
    {"normal", {}},
    {"hover", {false, false, true, false}},
    {"pressed", {false, true, true, false}},
    {"focused", {false, false, false, true}},
    {"focused+hover", {false, false, true, true}},
    {"disabled", {true, false, false, false}},
};

const StringCatalogue& catalogue()
{
    return RecoveryApp::current().catalogue;
}

std::wstring text(int id)
{
    return catalogue().text(id);
}

// The button painted at (x, y) of the canvas.
void paintButtonAt(const Canvas& canvas, const SkinButton& button, int x, int y, int width, int height,
                   const ButtonState& state)
{
    POINT previous{};
    SetViewportOrgEx(canvas.dc(), x, y, &previous);
    button.paint(canvas.dc(), width, height, state);
    SetViewportOrgEx(canvas.dc(), previous.x, previous.y, nullptr);
}

// The canvas as a 24-bit bottom-up BMP file.
void writeBmpFile(const fs::path& file, const Canvas& canvas)
{
    const int width = canvas.width();
    const int height = canvas.height();
    const int stride = (width * 3 + 3) / 4 * 4;
    BITMAPFILEHEADER header{};
    BITMAPINFOHEADER info{};
    header.bfType = 0x4D42;
    header.bfOffBits = sizeof(header) + sizeof(info);
    header.bfSize = header.bfOffBits + stride * height;
    info.biSize = sizeof(info);
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    std::vector<char> rows(static_cast<std::size_t>(stride) * height, 0);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const COLORREF c = canvas.at(x, y);
            char* p = &rows[static_cast<std::size_t>(height - 1 - y) * stride + x * 3];
            p[0] = static_cast<char>(GetBValue(c));
            p[1] = static_cast<char>(GetGValue(c));
            p[2] = static_cast<char>(GetRValue(c));
        }
    }
    fs::create_directories(file.parent_path());
    std::ofstream out(file, std::ios::binary);
    out.write(reinterpret_cast<const char*>(&header), sizeof(header));
    out.write(reinterpret_cast<const char*>(&info), sizeof(info));
    out.write(rows.data(), static_cast<std::streamsize>(rows.size()));
}

bool save(const Canvas& canvas, const fs::path& folder, const std::string& name)
{
    writeBmpFile(folder / (name + ".bmp"), canvas);
    const bool saved = fs::exists(folder / (name + ".bmp"));
    std::printf("%s %s\n", saved ? "wrote" : "FAILED", name.c_str());
    return saved;
}

// One row per picture set, one column per state.
bool renderPushButtons(const fs::path& folder)
{
    const int cell = 100;
    Canvas sheet(10 + 6 * cell, 2 * 40 + 10, 0xDCDCDC);
    const std::pair<const wchar_t*, int> sets[] = {{L"ns", 68}, {L"nw", 73}};
    for (int row = 0; row < 2; ++row) {
        SkinButton button;
        button.setImages(pushSlotFiles(sets[row].first));
        button.setCaption(text(sets[row].second), row == 0 ? 0xDCDCDC : 0xF6F6F6, text(0), 10, 0);
        for (int column = 0; column < 6; ++column)
            paintButtonAt(sheet, button, 10 + column * cell, 10 + row * 40, 88, 25, allStates[column].state);
    }
    return save(sheet, folder, "buttons-push");
}

bool renderRadioButtons(const fs::path& folder)
{
    Canvas sheet(2 * 210 + 10, 6 * 24 + 10, 0xF6F6F6);
    const wchar_t* const labels[] = {L"None Compression", L"Fast Compression", L"Maximum Compression"};
    for (int row = 0; row < 3; ++row) {
        SkinButton button;
        button.setRadio(labels[row], 0xF6F6F6, text(0), 9);
        // Left: the chosen option (its button disabled); right: the others.
        paintButtonAt(sheet, button, 10, 10 + row * 24, 200, 17, {true, false, false, false});
        paintButtonAt(sheet, button, 220, 10 + row * 24, 200, 17, {});
        paintButtonAt(sheet, button, 220, 10 + (row + 3) * 24, 200, 17, {false, false, true, true});
    }
    return save(sheet, folder, "buttons-radio");
}

bool renderIconButtons(const fs::path& folder)
{
    const wchar_t* const icons[] = {L"backup", L"recovery", L"tool", L"control", L"search"};
    const NamedState states[] = {allStates[0], allStates[1], allStates[2]};
    const int cellWidth = 147;
    const int cellHeight = 129;
    Canvas sheet(10 + 3 * cellWidth, 10 + 5 * cellHeight, 0xDCDCDC);
    for (int row = 0; row < 5; ++row) {
        const std::wstring base = std::wstring(L"main_icon_") + icons[row];
        SkinButton button;
        button.setIconImages(base + L"_normal.dat", base + L"_rollover.dat", base + L"_pressed.dat");
        button.setCaption(text(63 + row), 0xDCDCDC, text(0), 10, 700);
        for (int column = 0; column < 3; ++column)
            paintButtonAt(sheet, button, 10 + column * cellWidth, 10 + row * cellHeight, 137, 119,
                          states[column].state);
    }
    return save(sheet, folder, "buttons-icon");
}

// Every picture the steps name, from the Data folder beside this program.
SkinPictures picturesOf(const DrawingSteps& steps)
{
    SkinPictures pictures;
    for (const DrawingStep& step : steps) {
        if (const auto* picture = std::get_if<PictureStep>(&step))
            pictures.load(picture->picture, skinImagePath(picture->picture));
    }
    return pictures;
}

// The page from its steps, its buttons on top; the button `hoveredButton`
// (1 the first) under the pointer.
bool renderPage(const fs::path& folder, const std::string& name, const DrawingSteps& steps,
                const std::vector<MenuButton>& buttons, int hoveredButton)
{
    Canvas page(720, 480, 0);
    runDrawingSteps(page.dc(), steps, picturesOf(steps), catalogue());
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        const MenuButton& layout = buttons[i];
        SkinButton button;
        if (layout.mode == SkinButtonMode::icon)
            button.setIconImages(layout.pictures[0], layout.pictures[1], layout.pictures[2]);
        else
            button.setImages(layout.pictures);
        button.setCaption(text(layout.labelId), menuButtonBackground, text(0), layout.font.points,
                          layout.font.weight);
        ButtonState state;
        state.hover = static_cast<int>(i) + 1 == hoveredButton;
        paintButtonAt(page, button, layout.place.left, layout.place.top, layout.place.width(),
                      layout.place.height(), state);
    }
    return save(page, folder, name);
}

bool renderMenuPages(const fs::path& folder)
{
    const std::wstring& code = RecoveryApp::current().languageCode;
    bool saved = true;
    for (int hover = 1; hover <= 3; ++hover)
        saved = renderPage(folder, "main-menu-hover-" + std::to_string(hover), mainMenuSteps(hover, code),
                           mainMenuButtons(code), hover) && saved;
    for (int hover = 1; hover <= 2; ++hover)
        saved = renderPage(folder, "tools-hover-" + std::to_string(hover), toolsPageSteps(hover),
                           toolsPageButtons(code), hover) && saved;
    return saved;
}

// An edit control as the page shows it: white, a static edge, the text in
// the dialog font.
void paintEdit(const Canvas& canvas, const PixelRect& place, const std::wstring& content)
{
    RECT area{place.left, place.top, place.right, place.bottom};
    FillRect(canvas.dc(), &area, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    DrawEdge(canvas.dc(), &area, BDR_SUNKENOUTER, BF_RECT);
    InflateRect(&area, -3, -1);
    HGDIOBJ previous = SelectObject(canvas.dc(), GetStockObject(DEFAULT_GUI_FONT));
    SetTextColor(canvas.dc(), black);
    DrawTextW(canvas.dc(), content.c_str(), -1, &area, DT_SINGLELINE | DT_VCENTER);
    SelectObject(canvas.dc(), previous);
}

void paintPushButton(const Canvas& canvas, const PixelRect& place, const wchar_t* pictureSet, int labelId,
                     Colour background)
{
    SkinButton button;
    button.setImages(pushSlotFiles(pictureSet));
    button.setCaption(text(labelId), background, text(0), 10, 0);
    paintButtonAt(canvas, button, place.left, place.top, place.width(), place.height(), {});
}

// The backup options page as it first shows (Fast chosen) and the confirm
// page for the default target, in the program's language code.
bool renderBackupPages(const fs::path& folder)
{
    const std::wstring& code = RecoveryApp::current().languageCode;
    const std::string suffix(code.begin(), code.end());

    const DrawingSteps optionsSteps = backupOptionsDrawing(code);
    Canvas options(720, 480, 0);
    runDrawingSteps(options.dc(), optionsSteps, picturesOf(optionsSteps), catalogue());
    paintPushButton(options, browseButtonPlace, L"nw", 81, boxBackground);
    paintPushButton(options, backButtonPlace, L"ns", 80, buttonGrey);
    paintPushButton(options, forwardButtonPlace, L"ns", 82, buttonGrey);
    for (int level = 1; level <= 3; ++level) {
        const PixelRect& place = compressionChoicePlaces[level - 1];
        SkinButton choice;
        choice.setRadio(compressionName(level), boxBackground, text(0), 10);
        ButtonState state;
        state.disabled = level == 2;
        paintButtonAt(options, choice, place.left, place.top, place.width(), place.height(), state);
    }
    paintEdit(options, targetEditPlace, L"D:\\backup.QVX");
    paintEdit(options, descriptionEditPlace, L"2026-12-06 21:30 ");
    bool saved = save(options, folder, "backup-options-" + suffix);

    BackupJobParameters job;
    job.compression = 2;
    job.description = L"2026-12-06 21:30 ";
    job.imagePath = L"D:\\backup.QVX";
    job.partitionId = 3;
    const DrawingSteps confirmSteps = backupConfirmDrawing(code, job);
    Canvas confirm(720, 480, 0);
    runDrawingSteps(confirm.dc(), confirmSteps, picturesOf(confirmSteps), catalogue());
    paintPushButton(confirm, backButtonPlace, L"ns", 87, buttonGrey);
    paintPushButton(confirm, forwardButtonPlace, L"ns", 88, buttonGrey);
    return save(confirm, folder, "backup-confirm-" + suffix) && saved;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: quorvane_screens OUT_FOLDER\n");
        return 2;
    }
    const fs::path folder = argv[1];
    fs::create_directories(folder);
    RecoveryApp app;
    if (!app.loadLanguage(L"409"))
        std::fprintf(stderr, "no English language file beside the program: texts stay empty\n");
    app.languageCode = L"409";

    bool saved = renderPushButtons(folder);
    saved = renderRadioButtons(folder) && saved;
    saved = renderIconButtons(folder) && saved;
    saved = renderMenuPages(folder) && saved;
    saved = renderBackupPages(folder) && saved;
    // The layouts of German and Korean, with the English wording standing in
    // for translations that are not here yet.
    for (const wchar_t* code : {L"407", L"412"}) {
        app.languageCode = code;
        saved = renderBackupPages(folder) && saved;
    }
    return saved ? 0 : 1;
}
