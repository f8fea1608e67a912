// A WIM file's header, its completeness check and its description, read from
// any bytes, and the image name found in the description.
#include "restore/ImageCatalogue.h"
#include "restore/WimDescription.h"
#include "restore/WimHeader.h"
#include "tools/fuzz/FuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace quorvane;
    MemoryBytes bytes({data, size});
    const bool header = readWimHeader(bytes).has_value();
    const bool complete = isCompleteWimImage(bytes);
    std::wstring description = L"untouched";
    const bool read = readWimDescription(bytes, description);
    fuzz::require(!complete || header);
    fuzz::require(read ? header && description.find(L'\0') == std::wstring::npos : description == L"untouched");
    fuzz::require(imageNameFromDescription(description).size() <= maxImageNameLength);
    // The name rule on the bytes themselves, as a description of any length.
    fuzz::require(imageNameFromDescription(fuzz::utf16Units({data, size})).size() <= maxImageNameLength);
    return 0;
}
