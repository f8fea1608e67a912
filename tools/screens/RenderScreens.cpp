// Renders what the pages look like, with the program's own drawing code and
// the skin files and language files beside this program, into BMP files:
//   quorvane_screens.exe OUT_FOLDER [CODE...]
// OUT_FOLDER\<code>\<page>.bmp for every page of every language (or of the
// codes named), each painted from its drawing steps with its controls on top
// as they show in the window; and OUT_FOLDER\buttons-*.bmp, each kind of
// button in all its states, in English.
#include "app/RecoveryApp.h"
#include "restore/RestorePagesDrawing.h"
#include "skin/SkinButton.h"
#include "skin/SkinDrawing.h"
#include "support/Canvas.h"
#include "tools/pages/PageViews.h"

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
bool writeBmpFile(const fs::path& file, const Canvas& canvas)
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
    GdiFlush();
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const COLORREF c = canvas.atFlushed(x, y);
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
    return out.good();
}

bool save(const Canvas& canvas, const fs::path& file)
{
    const bool saved = writeBmpFile(file, canvas);
    if (!saved)
        std::printf("FAILED to write %s\n", file.string().c_str());
    return saved;
}

// One row per picture set, one column per state.
bool renderPushButtons(const fs::path& folder)
{
    const int cell = 100;
    Canvas sheet(10 + 6 * cell, 2 * 40 + 10, buttonGrey);
    const std::pair<const wchar_t*, int> sets[] = {{L"ns", 68}, {L"nw", 73}};
    for (int row = 0; row < 2; ++row) {
        SkinButton button;
        button.setImages(pushSlotFiles(sets[row].first));
        button.setCaption(text(sets[row].second), row == 0 ? buttonGrey : 0xF6F6F6, text(0), 10, 0);
        for (int column = 0; column < 6; ++column)
            paintButtonAt(sheet, button, 10 + column * cell, 10 + row * 40, 88, 25, allStates[column].state);
    }
    return save(sheet, folder / "buttons-push.bmp");
}

bool renderRadioButtons(const fs::path& folder)
{
    Canvas sheet(2 * 210 + 10, 6 * 24 + 10, 0xF6F6F6);
    const wchar_t* const labels[] = {L"None Compression", L"Fast Compression", L"Maximum Compression"};
    for (int row = 0; row < 3; ++row) {
        SkinButton button;
        button.setRadio(labels[row], 0xF6F6F6, text(0), 10);
        // Left: the chosen option (its button disabled); right: the others.
        paintButtonAt(sheet, button, 10, 10 + row * 24, 200, 15, {true, false, false, false});
        paintButtonAt(sheet, button, 220, 10 + row * 24, 200, 15, {});
        paintButtonAt(sheet, button, 220, 10 + (row + 3) * 24, 200, 15, {false, false, true, true});
    }
    return save(sheet, folder / "buttons-radio.bmp");
}

bool renderIconButtons(const fs::path& folder)
{
    const wchar_t* const icons[] = {L"backup", L"recovery", L"tool", L"control", L"search"};
    const int cellWidth = 147;
    const int cellHeight = 129;
    Canvas sheet(10 + 3 * cellWidth, 10 + 5 * cellHeight, buttonGrey);
    for (int row = 0; row < 5; ++row) {
        const std::wstring base = std::wstring(L"main_icon_") + icons[row];
        SkinButton button;
        button.setIconImages(base + L"_normal.dat", base + L"_rollover.dat", base + L"_pressed.dat");
        button.setCaption(text(63 + row), buttonGrey, text(0), 10, 700);
        for (int column = 0; column < 3; ++column)
            paintButtonAt(sheet, button, 10 + column * cellWidth, 10 + row * cellHeight, 137, 119,
                          allStates[column].state);
    }
    return save(sheet, folder / "buttons-icon.bmp");
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

// The restore list as the list view shows it: a header with the column titles
// and one line per row, in the page's 10-point list font.
void paintList(const Canvas& canvas, const PixelRect& place, const std::vector<std::vector<std::wstring>>& rows)
{
    RECT area{place.left, place.top, place.right, place.bottom};
    FillRect(canvas.dc(), &area, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    DrawEdge(canvas.dc(), &area, BDR_SUNKENOUTER, BF_RECT);
    const UniqueFont font = createSkinFont(canvas.dc(), 10, 400, text(0));
    HGDIOBJ previous = SelectObject(canvas.dc(), font.get());
    SetTextColor(canvas.dc(), black);
    const int lineHeight = 18;
    int left = place.left + 1;
    for (int column = 0; column < 3; ++column) {
        const int width = imageListColumnWidths[column];
        RECT header{left, place.top + 1, left + width, place.top + 1 + lineHeight + 4};
        FillRect(canvas.dc(), &header, GetSysColorBrush(COLOR_BTNFACE));
        DrawEdge(canvas.dc(), &header, EDGE_RAISED, BF_RECT);
        const UINT align = column == 2 ? DT_CENTER : DT_LEFT;
        RECT title = header;
        InflateRect(&title, -6, 0);
        DrawTextW(canvas.dc(), text(56 + column).c_str(), -1, &title, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | align);
        for (std::size_t row = 0; row < rows.size(); ++row) {
            const int top = header.bottom + 1 + static_cast<int>(row) * lineHeight;
            RECT cell{left + 6, top, left + width - 6, top + lineHeight};
            DrawTextW(canvas.dc(), rows[row][static_cast<std::size_t>(column)].c_str(), -1, &cell,
                      DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | align);
        }
        left += width;
    }
    SelectObject(canvas.dc(), previous);
}

void paintControl(const Canvas& canvas, const ControlView& control, bool hovered)
{
    const PixelRect& place = control.place;
    switch (control.kind) {
    case ControlKind::edit:
        paintEdit(canvas, place, control.text);
        return;
    case ControlKind::list:
        paintList(canvas, place, control.rows);
        return;
    case ControlKind::skinButton:
        break;
    }
    SkinButton button;
    const std::wstring label = std::holds_alternative<int>(control.caption) ? text(std::get<int>(control.caption))
                                                                            : std::get<std::wstring>(control.caption);
    if (control.mode == SkinButtonMode::icon)
        button.setIconImages(control.pictures[0], control.pictures[1], control.pictures[2]);
    else if (control.mode == SkinButtonMode::radio)
        button.setRadio(label, control.background, text(0), control.font.points);
    else
        button.setImages(control.pictures);
    button.setCaption(label, control.background, text(0), control.font.points, control.font.weight);
    ButtonState state;
    state.disabled = control.disabled;
    state.hover = hovered;
    paintButtonAt(canvas, button, place.left, place.top, place.width(), place.height(), state);
}

bool renderPages(const fs::path& folder, const std::wstring& code)
{
    bool saved = true;
    for (const PageView& page : pageViews(code, catalogue())) {
        Canvas canvas(720, 480, 0);
        runDrawingSteps(canvas.dc(), page.steps, picturesOf(page.steps), catalogue());
        for (const ControlView& control : page.controls)
            paintControl(canvas, control, control.controlId == page.hoveredControl);
        saved = save(canvas, folder / code / (page.name + ".bmp")) && saved;
    }
    return saved;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: quorvane_screens OUT_FOLDER [CODE...]\n");
        return 2;
    }
    const fs::path folder = argv[1];
    fs::create_directories(folder);
    std::vector<std::wstring> codes(argv + 2, argv + argc);
    if (codes.empty()) {
        for (const auto& entry : fs::directory_iterator(fs::path(programFolder()) / L"Lang" / L"Quorvane"))
            if (entry.path().extension() == L".ini")
                codes.push_back(entry.path().stem().wstring());
    }
    RecoveryApp app;
    bool saved = true;
    if (app.loadLanguage(L"409")) {
        saved = renderPushButtons(folder) && renderRadioButtons(folder) && renderIconButtons(folder);
    } else {
        std::fprintf(stderr, "no English language file beside the program\n");
        saved = false;
    }
    for (const std::wstring& code : codes) {
        if (!app.loadLanguage(code)) {
            std::fprintf(stderr, "no language file for %ls\n", code.c_str());
            saved = false;
            continue;
        }
        app.languageCode = code;
        saved = renderPages(folder, code) && saved;
    }
    return saved ? 0 : 1;
}
