// The program's start: single instance, the language of the locale, and the
// fixed message when there is no language file.
#include "support/ProgramUnderTest.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace quorvane::testing {
namespace {

namespace fs = std::filesystem;

// A language file whose leaving question names its own language, so that a
// test can see which file the program loaded.
std::wstring sampleLines(const std::wstring& code)
{
    return languageLines({{92, L"Leave? (" + code + L")"}});
}

void closeWithYes(ProgramUnderTest& program, HWND shell)
{
    PostMessageW(shell, WM_CLOSE, 0, 0);
    const MessageBoxInfo box = program.waitForMessageBox();
    ASSERT_TRUE(box.window);
    ProgramUnderTest::pressButton(box.window, IDYES);
    ASSERT_TRUE(program.waitForExit());
    EXPECT_EQ(program.exitCode(), 0u);
}

TEST(Startup, SecondInstanceEndsSilentlyAndLeavesTheFirstAlone)
{
    ScratchFolder folder;
    const fs::path exe = copyProgram(folder.path());
    writeLanguageFile(folder.path() / L"Lang/Quorvane/409.ini", L"409", sampleLines(L"409"));

    ProgramUnderTest first(exe);
    HWND shell = first.waitForShell();
    ASSERT_TRUE(shell);
    PostMessageW(shell, 3030, 0, 0); // the tools page, to see that it stays
    ASSERT_TRUE(waitUntil([&] { return visiblePage(shell) == "tools"; }));

    {
        ProgramUnderTest second(exe);
        ASSERT_TRUE(second.waitForExit());
        EXPECT_EQ(second.exitCode(), 0u);
    }
    EXPECT_TRUE(IsWindow(shell));
    EXPECT_EQ(visiblePage(shell), "tools");
    EXPECT_EQ(first.visibleTopLevelWindows(), 1);
    closeWithYes(first, shell);

    // The marker went with the first instance: a new start runs normally.
    ProgramUnderTest third(exe);
    HWND again = third.waitForShell();
    ASSERT_TRUE(again);
    EXPECT_EQ(visiblePage(again), "main menu");
    closeWithYes(third, again);
}

TEST(Startup, StartsAgainAfterTheFirstInstanceWasKilled)
{
    ScratchFolder folder;
    const fs::path exe = copyProgram(folder.path());
    writeLanguageFile(folder.path() / L"Lang/Quorvane/409.ini", L"409", sampleLines(L"409"));
    {
        ProgramUnderTest killed(exe);
        ASSERT_TRUE(killed.waitForShell());
    } // ended by TerminateProcess
    ProgramUnderTest next(exe);
    HWND shell = next.waitForShell();
    ASSERT_TRUE(shell);
    closeWithYes(next, shell);
}

TEST(Startup, MissingLanguageFileShowsTheFixedMessageAndNoWindow)
{
    ScratchFolder folder;
    ProgramUnderTest program(copyProgram(folder.path()));
    const MessageBoxInfo box = program.waitForMessageBox();
    ASSERT_TRUE(box.window);
    EXPECT_EQ(box.text, L"Not Found UI String File");
    EXPECT_EQ(box.owner, nullptr);
    EXPECT_TRUE(GetDlgItem(box.window, IDOK));
    EXPECT_FALSE(GetDlgItem(box.window, IDCANCEL));
    EXPECT_EQ(program.visibleTopLevelWindows(), 1);
    ProgramUnderTest::pressButton(box.window, IDOK);
    ASSERT_TRUE(program.waitForExit());
}

TEST(Startup, FileWithoutTheSectionOfTheCodeCountsAsMissing)
{
    ScratchFolder folder;
    writeLanguageFile(folder.path() / L"Lang/Quorvane/409.ini", L"407", sampleLines(L"407"));
    ProgramUnderTest program(copyProgram(folder.path()));
    const MessageBoxInfo box = program.waitForMessageBox();
    ASSERT_TRUE(box.window);
    EXPECT_EQ(box.text, L"Not Found UI String File");
    ProgramUnderTest::pressButton(box.window, IDOK);
    ASSERT_TRUE(program.waitForExit());
}

// Runs once per locale (see tests/CMakeLists.txt): the code the locale must
// give is in QUORVANE_EXPECTED_LANGUAGE, "none" for a locale without a file.
TEST(LocaleRun, TheLocaleChoosesTheLanguageFile)
{
    const char* expected = std::getenv("QUORVANE_EXPECTED_LANGUAGE");
    if (!expected)
        GTEST_SKIP() << "run through CTest's LocaleRun entries";
    const std::string code = expected;

    if (code == "409") {
        // The shipped program and its English file.
        ProgramUnderTest program(buildFolder() / L"QuorvaneSandbox.exe");
        HWND shell = program.waitForShell();
        ASSERT_TRUE(shell);
        PostMessageW(shell, WM_CLOSE, 0, 0);
        const MessageBoxInfo box = program.waitForMessageBox();
        ASSERT_TRUE(box.window);
        EXPECT_EQ(box.text, languageText(buildFolder() / L"Lang/Quorvane/409.ini", L"409", 92));
        EXPECT_FALSE(box.text.empty());
        ProgramUnderTest::pressButton(box.window, IDYES);
        ASSERT_TRUE(program.waitForExit());
        return;
    }
    if (code == "none") {
        ProgramUnderTest program(buildFolder() / L"QuorvaneSandbox.exe");
        const MessageBoxInfo box = program.waitForMessageBox();
        ASSERT_TRUE(box.window);
        EXPECT_EQ(box.text, L"Not Found UI String File");
        EXPECT_EQ(program.visibleTopLevelWindows(), 1);
        ProgramUnderTest::pressButton(box.window, IDOK);
        ASSERT_TRUE(program.waitForExit());
        return;
    }

    // A folder with the file of the expected code and an English one beside it.
    ScratchFolder folder;
    const std::wstring wideCode(code.begin(), code.end());
    writeLanguageFile(folder.path() / (L"Lang/Quorvane/" + wideCode + L".ini"), wideCode, sampleLines(wideCode));
    writeLanguageFile(folder.path() / L"Lang/Quorvane/409.ini", L"409", sampleLines(L"409"));
    ProgramUnderTest program(copyProgram(folder.path()));
    HWND shell = program.waitForShell();
    ASSERT_TRUE(shell);
    PostMessageW(shell, WM_CLOSE, 0, 0);
    const MessageBoxInfo box = program.waitForMessageBox();
    ASSERT_TRUE(box.window);
    EXPECT_EQ(box.text, L"Leave? (" + wideCode + L")");
    ProgramUnderTest::pressButton(box.window, IDYES);
    ASSERT_TRUE(program.waitForExit());
}

} // namespace
} // namespace quorvane::testing
