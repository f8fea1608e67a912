// The platform's imaging library (wimgapi.dll), used only to read an image's
// description. It is loaded from the system folder only: a copy planted beside
// the program is never loaded.
#pragma once

#include <string>

namespace quorvane {

enum class WimgapiAnswer {
    read,        // the description was read
    failed,      // the library could not open or describe the image
    unavailable, // no library, a function missing, or "not implemented"
};

WimgapiAnswer readDescriptionWithWimgapi(const std::wstring& path, std::wstring& description);

} // namespace quorvane
