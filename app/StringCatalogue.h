// The texts of the chosen language, addressed by their position (the string id).
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quorvane {

class StringCatalogue {
public:
    // Replaces the catalogue with the entries of a profile section as the
    // profile reader returns it: "key=value" strings, each ending in NUL.
    // Every '=' starts an entry that runs to the next NUL; keys are never read
    // and nothing is trimmed, so "x=1+1=2" gives "1+1=2" and then "2".
    void fillFromSection(std::wstring_view section);

    void clear();
    std::size_t size() const { return entries_.size(); }

    // A copy of the text with this id; an id past either end answers "".
    std::wstring text(int id) const;

private:
    std::vector<std::wstring> entries_;
};

} // namespace quorvane
