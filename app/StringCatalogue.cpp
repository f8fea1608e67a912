#include "app/StringCatalogue.h"

namespace quorvane {

void StringCatalogue::clear()
{
    entries_.clear();
    entries_.shrink_to_fit();
}

void StringCatalogue::fillFromSection(std::wstring_view section)
{
    clear();
    for (std::size_t i = 0; i < section.size(); ++i) {
        if (section[i] != L'=')
            continue;
        const std::wstring_view rest = section.substr(i + 1);
        entries_.emplace_back(rest.substr(0, rest.find(L'\0')));
    }
}

std::wstring StringCatalogue::text(int id) const
{
    if (id < 0 || static_cast<std::size_t>(id) >= entries_.size())
        return {};
    return entries_[static_cast<std::size_t>(id)];
}

} // namespace quorvane
