// The backup options page's rules for the image path, the description and the
// chosen compression.
#include "backup/BackupRules.h"

#include <gtest/gtest.h>

namespace quorvane {
namespace {

TEST(BackupRules, ImageExtensionIsAddedUnlessItIsExactlyQvx)
{
    const std::pair<const wchar_t*, const wchar_t*> cases[] = {
        {L"D:\\backup", L"D:\\backup.QVX"},         {L"D:\\backup.QVX", L"D:\\backup.QVX"},
        {L"D:\\backup.qvx", L"D:\\backup.QVX"},     {L"D:\\backup.Qvx", L"D:\\backup.Qvx.QVX"},
        {L"D:\\backup.bak", L"D:\\backup.bak.QVX"}, {L"D:\\old.sets\\backup", L"D:\\old.sets\\backup.QVX"},
        {L"D:\\a.qvx.qvx", L"D:\\a.qvx.QVX"},       {L"D:\\.qvx", L"D:\\.QVX"},
    };
    for (const auto& [path, expected] : cases)
        EXPECT_EQ(withImageExtension(path), expected);
}

TEST(BackupRules, ForbiddenCharactersBlankDescriptionsAndTimeStamps)
{
    for (const wchar_t* name : {L"a\\b", L"a/b", L"a:b", L"a*b", L"a?b", L"a\"b", L"a<b", L"a>b", L"a|b"})
        EXPECT_TRUE(hasForbiddenFileNameCharacter(name)) << name;
    for (const wchar_t* name : {L"backup.QVX", L"my backup (1).QVX", L"sauvegarde-été.QVX", L""})
        EXPECT_FALSE(hasForbiddenFileNameCharacter(name)) << name;
    // Only blanks and tabs make a description blank; a no-break space is a visible choice.
    for (const wchar_t* text : {L"", L" \t  \t"})
        EXPECT_TRUE(isBlankDescription(text));
    for (const wchar_t* text : {L"  x ", L"\u00A0", L"\n"})
        EXPECT_FALSE(isBlankDescription(text));
    EXPECT_EQ(descriptionTimeStamp(2026, 12, 6, 9, 5), L"2026-12-06 09:05 ");
    EXPECT_EQ(descriptionTimeStamp(999, 1, 1, 0, 0), L"0999-01-01 00:00 ");
}

TEST(BackupRules, TheDisabledButtonIsTheChosenLevelTestedInOrder)
{
    EXPECT_EQ(chosenCompression(true, false), Compression::none);
    EXPECT_EQ(chosenCompression(false, true), Compression::fast);
    EXPECT_EQ(chosenCompression(false, false), Compression::maximum);
    EXPECT_EQ(chosenCompression(true, true), Compression::none);
}

} // namespace
} // namespace quorvane
