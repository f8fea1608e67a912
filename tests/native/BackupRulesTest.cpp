#include "backup/BackupRules.h"

#include <gtest/gtest.h>

namespace quorvane {
namespace {

TEST(BackupRules, ImageExtensionIsAddedUnlessItIsExactlyQvx)
{
    EXPECT_EQ(withImageExtension(L"D:\\backup"), L"D:\\backup.QVX");
    EXPECT_EQ(withImageExtension(L"D:\\backup.QVX"), L"D:\\backup.QVX");
    EXPECT_EQ(withImageExtension(L"D:\\backup.qvx"), L"D:\\backup.QVX");
    EXPECT_EQ(withImageExtension(L"D:\\backup.Qvx"), L"D:\\backup.Qvx.QVX");
    EXPECT_EQ(withImageExtension(L"D:\\backup.bak"), L"D:\\backup.bak.QVX");
    EXPECT_EQ(withImageExtension(L"D:\\old.sets\\backup"), L"D:\\old.sets\\backup.QVX");
    EXPECT_EQ(withImageExtension(L"D:\\a.qvx.qvx"), L"D:\\a.qvx.QVX");
    EXPECT_EQ(withImageExtension(L"D:\\.qvx"), L"D:\\.QVX");
}

TEST(BackupRules, ForbiddenFileNameCharacters)
{
    for (const wchar_t* name : {L"a\\b", L"a/b", L"a:b", L"a*b", L"a?b", L"a\"b", L"a<b", L"a>b", L"a|b"})
        EXPECT_TRUE(hasForbiddenFileNameCharacter(name)) << name;
    for (const wchar_t* name : {L"backup.QVX", L"my backup (1).QVX", L"sauvegarde-été.QVX", L""})
        EXPECT_FALSE(hasForbiddenFileNameCharacter(name)) << name;
}

TEST(BackupRules, OnlyBlanksAndTabsMakeADescriptionBlank)
{
    EXPECT_TRUE(isBlankDescription(L""));
    EXPECT_TRUE(isBlankDescription(L" \t  \t"));
    EXPECT_FALSE(isBlankDescription(L"  x "));
    EXPECT_FALSE(isBlankDescription(L"\u00A0")); // a no-break space is a visible choice
    EXPECT_FALSE(isBlankDescription(L"\n"));
}

TEST(BackupRules, TimeStampHasItsTrailingBlank)
{
    EXPECT_EQ(descriptionTimeStamp(2026, 12, 6, 9, 5), L"2026-12-06 09:05 ");
    EXPECT_EQ(descriptionTimeStamp(999, 1, 1, 0, 0), L"0999-01-01 00:00 ");
}

TEST(BackupRules, TheDisabledButtonIsTheChosenLevel)
{
    EXPECT_EQ(chosenCompression(true, false), Compression::none);
    EXPECT_EQ(chosenCompression(false, true), Compression::fast);
    EXPECT_EQ(chosenCompression(false, false), Compression::maximum);
    EXPECT_EQ(chosenCompression(true, true), Compression::none); // tested in order
}

} // namespace
} // namespace quorvane
