// The walk over a language file's section: every '=' starts a text that runs
// to the next NUL, whatever surrounds it.
#include "app/StringCatalogue.h"
#include "tools/fuzz/FuzzInput.h"

#include <algorithm>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace quorvane;
    const std::wstring section = fuzz::utf16Units({data, size});
    StringCatalogue catalogue;
    catalogue.fillFromSection(section);
    fuzz::require(catalogue.size() == static_cast<std::size_t>(std::ranges::count(section, L'=')));
    for (int id = -1; id <= static_cast<int>(catalogue.size()); ++id)
        fuzz::require(catalogue.text(id).find(L'\0') == std::wstring::npos);
    return 0;
}
