#include "app/StringCatalogue.h"

#include <gtest/gtest.h>

#include <string>

using quorvane::StringCatalogue;

namespace {

// A section as the profile reader returns it: NUL after each line, one more at the end.
std::wstring section(std::initializer_list<std::wstring> lines)
{
    std::wstring text;
    for (const auto& line : lines) {
        text += line;
        text += L'\0';
    }
    text += L'\0';
    return text;
}

} // namespace

TEST(StringCatalogue, EntriesTakeIdsInOrderWhateverTheKeys)
{
    StringCatalogue catalogue;
    catalogue.fillFromSection(section({L"a=Tahoma", L"zz=Back up", L"a=duplicate key"}));
    ASSERT_EQ(catalogue.size(), 3u);
    EXPECT_EQ(catalogue.text(0), L"Tahoma");
    EXPECT_EQ(catalogue.text(1), L"Back up");
    EXPECT_EQ(catalogue.text(2), L"duplicate key");
}

TEST(StringCatalogue, EveryEqualsSignStartsAnEntry)
{
    StringCatalogue catalogue;
    catalogue.fillFromSection(section({L"x=1+1=2", L"k=", L"no equals sign", L"last= kept  "}));
    ASSERT_EQ(catalogue.size(), 4u);
    EXPECT_EQ(catalogue.text(0), L"1+1=2");
    EXPECT_EQ(catalogue.text(1), L"2");
    EXPECT_EQ(catalogue.text(2), L"");
    EXPECT_EQ(catalogue.text(3), L" kept  "); // nothing is trimmed
}

TEST(StringCatalogue, AnUnterminatedBufferEndsTheEntryAndLookupsPastEitherEndAnswerEmpty)
{
    StringCatalogue catalogue;
    catalogue.fillFromSection(std::wstring_view(L"k=open end"));
    EXPECT_EQ(catalogue.text(0), L"open end");
    EXPECT_EQ(catalogue.text(1), L"");
    EXPECT_EQ(catalogue.text(-1), L"");
}

TEST(StringCatalogue, ReloadingReplacesInsteadOfAppending)
{
    StringCatalogue catalogue;
    catalogue.fillFromSection(section({L"a=one", L"b=two"}));
    catalogue.fillFromSection(section({L"c=three"}));
    ASSERT_EQ(catalogue.size(), 1u);
    EXPECT_EQ(catalogue.text(0), L"three");
    catalogue.fillFromSection(section({}));
    EXPECT_EQ(catalogue.size(), 0u);
}
