// The image list reader: any bytes, read as the profile reader reads them.
#include "restore/ImageListFile.h"
#include "tools/fuzz/FuzzInput.h"

#include <algorithm>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace quorvane;
    const ImageListFile list(profileFileText({data, size}, fuzz::latin1));
    fuzz::require(list.imageCount().size() < profileValueSize);
    const std::vector<std::int32_t> numbers = list.imageNumbersBelow(2147483647);
    fuzz::require(std::ranges::is_sorted(numbers) && std::ranges::adjacent_find(numbers) == numbers.end());
    for (const std::int32_t number : numbers) {
        for (const ImageKey key : {ImageKey::path, ImageKey::partId, ImageKey::diskId}) {
            const std::wstring value = list.imageValue(number, key);
            fuzz::require(value.size() < profileValueSize && value.find(L'\0') == std::wstring::npos);
        }
    }
    fuzz::require(list.imageNumbersBelow(0).empty());
    return 0;
}
