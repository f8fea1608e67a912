// The string catalogue as the profile reader fills it: NUL after each line,
// one more at the end.
#include "app/StringCatalogue.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using quorvane::StringCatalogue;
using namespace std::string_literals;

namespace {

// The catalogue's texts, ids from 0.
std::vector<std::wstring> texts(const StringCatalogue& catalogue)
{
    std::vector<std::wstring> result;
    for (int id = 0; id < static_cast<int>(catalogue.size()); ++id)
        result.push_back(catalogue.text(id));
    return result;
}

TEST(StringCatalogue, EveryEqualsSignStartsAnEntryInOrderWhateverTheKeys)
{
    StringCatalogue catalogue;
    catalogue.fillFromSection(L"a=Tahoma\0zz=Back up\0a=dup\0x=1+1=2\0k=\0no equals\0last= kept  \0\0"s);
    // Nothing is trimmed; a line without '=' adds nothing.
    EXPECT_EQ(texts(catalogue),
              (std::vector<std::wstring>{L"Tahoma", L"Back up", L"dup", L"1+1=2", L"2", L"", L" kept  "}));
    EXPECT_EQ(catalogue.text(7), L"");
    EXPECT_EQ(catalogue.text(-1), L"");

    // Reloading replaces instead of appending; an unterminated buffer ends the entry.
    catalogue.fillFromSection(std::wstring_view(L"k=open end"));
    EXPECT_EQ(texts(catalogue), std::vector<std::wstring>{L"open end"});
    catalogue.fillFromSection(L"\0"s);
    EXPECT_EQ(catalogue.size(), 0u);
}

} // namespace
