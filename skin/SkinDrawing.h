// The skin layer's drawing: where the pictures lie, the font rule, the pictures
// a page owns, and the one executor that runs a page's drawing steps.
#pragma once

#include "app/StringCatalogue.h"
#include "platform/Win32Handles.h"
#include "skin/DrawingSteps.h"

#include <windows.h>

#include <initializer_list>
#include <map>
#include <string>
#include <vector>

namespace quorvane {

// "<program folder>Data\<name>": where every skin picture lies.
std::wstring skinImagePath(const std::wstring& name);

// A button picture: loaded from its file as it is, without the replacement of
// the 3-D greys that page pictures get.
bool loadButtonImage(UniqueBitmap& bitmap, const std::wstring& path);

// The font rule: `points` at the device's vertical resolution, `weight`, the
// default character set, `face`; everything else left to the font mapper.
UniqueFont createSkinFont(HDC device, int points, int weight, const std::wstring& face);

// The same font, made the first time it is asked for at the device's
// resolution and kept for the rest of the process: a font made anew for every
// paint is measured anew by the font engine every time.
HFONT sharedSkinFont(HDC device, int points, int weight, const std::wstring& face);

// How a skin file is loaded: a page picture gets the system's 3-D colours in
// place of its three greys, a button picture is taken as it is.
enum class PictureUse { page, button };

// The picture of a file in the program's Data folder, loaded the first time it
// is asked for and then shared by every page and button that draws it, for the
// rest of the process: nothing draws into a skin picture, and most files are
// drawn by several pages or by every button. nullptr when the file cannot be
// loaded.
HBITMAP sharedSkinPicture(const std::wstring& name, PictureUse use);

// The pictures a page draws, by file name. The page's own files come from the
// Data folder when first drawn (sharedSkinPicture); a file that fails to load
// leaves its picture missing.
class SkinPictures {
public:
    SkinPictures() = default;
    // Each file from the program's Data folder.
    SkinPictures(std::initializer_list<const wchar_t*> names);

    // A picture from a file elsewhere, loaded now and kept with these pictures.
    void load(const std::wstring& name, const std::wstring& path);
    void adopt(const std::wstring& name, UniqueBitmap bitmap);
    // nullptr when the picture is missing.
    HBITMAP find(const std::wstring& name) const;
    // A file from the Data folder stretched from `source` to width x height as
    // `device` stretches it (HALFTONE), done once and kept for the process:
    // stretching is the slowest part of painting. nullptr for a picture that
    // is not such a file, which is then stretched where it is drawn.
    HBITMAP findStretched(const std::wstring& name, const PixelRect& source, int width, int height, HDC device) const;

private:
    std::vector<std::wstring> dataFiles_;
    std::map<std::wstring, UniqueBitmap> own_;
};

// Runs the steps on a device context in their order: transparent text
// background, one memory device for the pictures, the shared fonts, and the
// device's previous font put back at the end. A missing
// picture is left out; where it would have been opaque the place is filled
// with white instead.
void runDrawingSteps(HDC target, const DrawingSteps& steps, const SkinPictures& pictures,
                     const StringCatalogue& catalogue);

// A page's WM_PAINT: the steps straight onto the window.
void paintPage(HWND window, const DrawingSteps& steps, const SkinPictures& pictures,
               const StringCatalogue& catalogue);

} // namespace quorvane
