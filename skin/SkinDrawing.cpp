#include "skin/SkinDrawing.h"

#include "app/RecoveryApp.h"

#include <algorithm>
#include <tuple>
#include <utility>
#include <vector>

namespace quorvane {

static_assert(textFlags::centre == DT_CENTER && textFlags::right == DT_RIGHT && textFlags::verticalCentre == DT_VCENTER
              && textFlags::wordBreak == DT_WORDBREAK && textFlags::singleLine == DT_SINGLELINE);

namespace {

constexpr wchar_t figureFace[] = L"Arial";

RECT toRect(const PixelRect& rect)
{
    return {rect.left, rect.top, rect.right, rect.bottom};
}

// Puts a device's previous selection back when the run ends, however it ends.
class PreviousSelection {
public:
    explicit PreviousSelection(HDC dc) : dc_(dc) {}
    PreviousSelection(const PreviousSelection&) = delete;
    PreviousSelection& operator=(const PreviousSelection&) = delete;
    ~PreviousSelection()
    {
        if (previous_ && previous_ != HGDI_ERROR)
            SelectObject(dc_, previous_);
    }
    void select(HGDIOBJ object)
    {
        HGDIOBJ replaced = SelectObject(dc_, object);
        if (!previous_)
            previous_ = replaced;
    }
    // The device holds what it held before again; the object last selected is free.
    void putBack()
    {
        if (previous_ && previous_ != HGDI_ERROR)
            SelectObject(dc_, previous_);
        previous_ = nullptr;
    }

private:
    HDC dc_;
    HGDIOBJ previous_ = nullptr;
};

void fillWhite(HDC target, const PixelRect& rect)
{
    const RECT area = toRect(rect);
    FillRect(target, &area, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
}

} // namespace

std::wstring skinImagePath(const std::wstring& name)
{
    return programFolder() + L"Data\\" + name;
}

bool loadButtonImage(UniqueBitmap& bitmap, const std::wstring& path)
{
    HANDLE loaded = LoadImageW(GetModuleHandleW(nullptr), path.c_str(), IMAGE_BITMAP, 0, 0,
                               LR_LOADFROMFILE | LR_CREATEDIBSECTION);
    if (!loaded)
        return false;
    bitmap.reset(static_cast<HBITMAP>(loaded));
    return true;
}

UniqueFont createSkinFont(HDC device, int points, int weight, const std::wstring& face)
{
    return UniqueFont(CreateFontW(fontHeight(points, GetDeviceCaps(device, LOGPIXELSY)), 0, 0, 0, weight,
                                  FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0, 0, face.c_str()));
}

HBITMAP sharedSkinPicture(const std::wstring& name, PictureUse use)
{
    static std::map<std::pair<std::wstring, PictureUse>, UniqueBitmap> loaded;
    const auto key = std::pair(name, use);
    auto found = loaded.find(key);
    if (found == loaded.end()) {
        UniqueBitmap bitmap;
        if (!name.empty()) {
            if (use == PictureUse::page)
                RecoveryApp::loadSkinImage(bitmap, skinImagePath(name));
            else
                loadButtonImage(bitmap, skinImagePath(name));
        }
        // A file that failed stays missing: it is not looked for again on every paint.
        found = loaded.emplace(key, std::move(bitmap)).first;
    }
    return found->second.get();
}

HFONT sharedSkinFont(HDC device, int points, int weight, const std::wstring& face)
{
    static std::map<std::tuple<int, int, int, std::wstring>, UniqueFont> made;
    const auto key = std::tuple(points, weight, GetDeviceCaps(device, LOGPIXELSY), face);
    auto found = made.find(key);
    if (found == made.end())
        found = made.emplace(key, createSkinFont(device, points, weight, face)).first;
    return found->second.get();
}

HBITMAP SkinPictures::findStretched(const std::wstring& name, const PixelRect& source, int width, int height,
                                   HDC device) const
{
    if (own_.contains(name) || std::ranges::find(dataFiles_, name) == dataFiles_.end())
        return nullptr;
    HBITMAP picture = sharedSkinPicture(name, PictureUse::page);
    if (!picture)
        return nullptr;
    static std::map<std::tuple<std::wstring, int, int, int, int, int, int>, UniqueBitmap> stretched;
    const auto key = std::tuple(name, source.left, source.top, source.right, source.bottom, width, height);
    auto found = stretched.find(key);
    if (found == stretched.end()) {
        UniqueBitmap copy(CreateCompatibleBitmap(device, width, height));
        UniqueMemoryDc from(CreateCompatibleDC(device));
        UniqueMemoryDc to(CreateCompatibleDC(device));
        bool made = false;
        {
            const SelectionScope fromSelection(from.get(), picture);
            const SelectionScope toSelection(to.get(), copy.get());
            SetStretchBltMode(to.get(), HALFTONE);
            made = copy && fromSelection.selected() && toSelection.selected()
                && StretchBlt(to.get(), 0, 0, width, height, from.get(), source.left, source.top, source.width(),
                              source.height(), SRCCOPY);
        }
        // A stretch that could not be made is not kept: the picture is then
        // stretched where it is drawn.
        if (!made)
            return nullptr;
        found = stretched.emplace(key, std::move(copy)).first;
    }
    return found->second.get();
}

SkinPictures::SkinPictures(std::initializer_list<const wchar_t*> names) : dataFiles_(names.begin(), names.end()) {}

void SkinPictures::load(const std::wstring& name, const std::wstring& path)
{
    UniqueBitmap bitmap;
    RecoveryApp::loadSkinImage(bitmap, path);
    own_[name] = std::move(bitmap);
}

void SkinPictures::adopt(const std::wstring& name, UniqueBitmap bitmap)
{
    own_[name] = std::move(bitmap);
}

HBITMAP SkinPictures::find(const std::wstring& name) const
{
    if (const auto owned = own_.find(name); owned != own_.end())
        return owned->second.get();
    if (std::ranges::find(dataFiles_, name) != dataFiles_.end())
        return sharedSkinPicture(name, PictureUse::page);
    return nullptr;
}

void runDrawingSteps(HDC target, const DrawingSteps& steps, const SkinPictures& pictures,
                     const StringCatalogue& catalogue)
{
    SetBkMode(target, TRANSPARENT);
    UniqueMemoryDc pictureDc(CreateCompatibleDC(target));

    const std::vector<FontSpec> wantedFonts = fontsInOrder(steps);
    const std::wstring catalogueFace = catalogue.text(0);
    std::vector<HFONT> fonts;
    for (const FontSpec& wanted : wantedFonts)
        fonts.push_back(sharedSkinFont(target, wanted.points, wanted.weight,
                                       wanted.face == FaceRule::arial ? figureFace : catalogueFace));

    // Declared after the fonts and the memory device, so put back before they go.
    PreviousSelection previousPicture(pictureDc.get());
    PreviousSelection previousFont(target);

    for (const DrawingStep& step : steps) {
        if (const auto* picture = std::get_if<PictureStep>(&step)) {
            HBITMAP bitmap = pictures.find(picture->picture);
            if (!bitmap) {
                if (picture->copy != PictureCopy::colourKeyed)
                    fillWhite(target, picture->destination);
                continue;
            }
            const PixelRect& from = picture->source;
            const PixelRect& to = picture->destination;
            if (picture->copy == PictureCopy::halftoneStretch) {
                // The kept stretch is made from the picture in a device of its
                // own, and a bitmap is selected into one device at a time: this
                // one lets go of the picture it may hold from an earlier step.
                previousPicture.putBack();
                if (HBITMAP done = pictures.findStretched(picture->picture, from, to.width(), to.height(), target)) {
                    previousPicture.select(done);
                    BitBlt(target, to.left, to.top, to.width(), to.height(), pictureDc.get(), 0, 0, SRCCOPY);
                    continue;
                }
            }
            previousPicture.select(bitmap);
            switch (picture->copy) {
            case PictureCopy::plain:
                BitBlt(target, to.left, to.top, to.width(), to.height(), pictureDc.get(), from.left, from.top,
                       SRCCOPY);
                break;
            case PictureCopy::halftoneStretch:
                SetStretchBltMode(target, HALFTONE);
                StretchBlt(target, to.left, to.top, to.width(), to.height(), pictureDc.get(), from.left, from.top,
                           from.width(), from.height(), SRCCOPY);
                break;
            case PictureCopy::colourKeyed:
                TransparentBlt(target, to.left, to.top, to.width(), to.height(), pictureDc.get(), from.left,
                               from.top, from.width(), from.height(), picture->key);
                break;
            }
            continue;
        }
        const TextStep& text = std::get<TextStep>(step);
        const auto font = std::find(wantedFonts.begin(), wantedFonts.end(), text.font) - wantedFonts.begin();
        previousFont.select(fonts[static_cast<std::size_t>(font)]);
        if (text.colour)
            SetTextColor(target, *text.colour);
        const std::wstring content = std::holds_alternative<int>(text.text) ? catalogue.text(std::get<int>(text.text))
                                                                           : std::get<std::wstring>(text.text);
        RECT rect = toRect(text.rect);
        DrawTextW(target, content.c_str(), -1, &rect, text.flags);
    }
}

void paintPage(HWND window, const DrawingSteps& steps, const SkinPictures& pictures,
               const StringCatalogue& catalogue)
{
    PaintScope paint(window);
    runDrawingSteps(paint.dc(), steps, pictures, catalogue);
}

} // namespace quorvane
