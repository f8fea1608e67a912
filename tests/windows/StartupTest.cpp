// The program's start: single instance, the language of the locale, and the
// fixed message when there is no language file.
#include "app/PageMessages.h"
#include "support/AccessibleNames.h"
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

// Closes the program, answering Yes; its leaving question, once asked.
std::wstring closeWithYes(ProgramUnderTest& program, HWND shell)
{
    const MessageBoxInfo box = program.answerClose(shell, IDYES);
    EXPECT_TRUE(program.waitForExit());
    EXPECT_EQ(program.exitCode(), 0u);
    return box.text;
}

// The fixed message of a start without a usable language file, answered;
// the program must then end without having shown a window.
void expectNoLanguageFile(ProgramUnderTest& program)
{
    const MessageBoxInfo box = program.waitForMessageBox();
    ASSERT_TRUE(box.window);
    EXPECT_EQ(box.text, L"Not Found UI String File");
    EXPECT_EQ(box.owner, nullptr);
    EXPECT_TRUE(GetDlgItem(box.window, IDOK));
    EXPECT_FALSE(GetDlgItem(box.window, IDCANCEL));
    EXPECT_EQ(program.visibleTopLevelWindows(), 1);
    ProgramUnderTest::pressButton(box.window, IDOK);
    EXPECT_TRUE(program.waitForExit());
}

TEST(Startup, SecondInstanceEndsSilentlyAndAMissingLanguageShowsTheFixedMessage)
{
    ScratchFolder folder;
    const fs::path exe = copyProgram(folder.path());
    writeLanguageFile(folder.path() / L"Lang/Quorvane/409.ini", L"409", sampleLines(L"409"));

    ProgramUnderTest first(exe);
    HWND shell = first.waitForShell();
    ASSERT_TRUE(shell);
    PostMessageW(shell, UM_SHOW_TOOLS, 0, 0); // the tools page, to see that it stays
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

    // The marker goes with the instance, also with one that was killed: a
    // new start runs normally.
    for (bool killed : {false, true}) {
        ProgramUnderTest next(exe);
        HWND again = next.waitForShell();
        ASSERT_TRUE(again) << (killed ? "after a killed instance" : "after a closed one");
        EXPECT_EQ(visiblePage(again), "main menu");
        if (killed)
            closeWithYes(next, again);
    } // the running one is ended here by TerminateProcess

    // Without a language file, or with one that lacks the locale's section:
    // the fixed message and no window.
    for (const wchar_t* section : {L"", L"407"}) {
        ScratchFolder other;
        if (*section)
            writeLanguageFile(other.path() / L"Lang/Quorvane/409.ini", section, sampleLines(section));
        ProgramUnderTest program(copyProgram(other.path()));
        expectNoLanguageFile(program);
    }
}

// Runs once per locale (see tests/CMakeLists.txt): the code of the file the
// locale must load is in QUORVANE_EXPECTED_LANGUAGE, "none" for a locale whose
// language ships no file. The shipped program with the shipped files: the
// window shows, every control of every page is named in that language for
// screen readers, and the leaving question is that file's.
TEST(LocaleRun, TheLocaleChoosesTheLanguageFile)
{
    const char* expected = std::getenv("QUORVANE_EXPECTED_LANGUAGE");
    if (!expected)
        GTEST_SKIP() << "run through CTest's LocaleRun entries";
    const std::string code = expected;
    ProgramUnderTest program(buildFolder() / L"QuorvaneSandbox.exe");
    if (code == "none")
        return expectNoLanguageFile(program);
    HWND shell = program.waitForShell();
    ASSERT_TRUE(shell);
    const std::wstring wideCode(code.begin(), code.end());
    const StringCatalogue texts = languageCatalogue(buildFolder() / (L"Lang/Quorvane/" + wideCode + L".ini"), wideCode);
    // A page is made when it first shows: each shows once.
    for (PageMessage page : {UM_SHOW_BACKUP_CONFIRM, UM_SHOW_RESTORE_SELECT, UM_SHOW_RESTORE_CONFIRM, UM_SHOW_TOOLS,
                             UM_SHOW_MAIN_MENU})
        SendMessageW(shell, page, 0, 0);
    EXPECT_EQ(misnamedControls(shell, wideCode, texts), std::vector<std::string>{});
    const std::wstring question = texts.text(92);
    EXPECT_FALSE(question.empty());
    EXPECT_EQ(closeWithYes(program, shell), question);
}

} // namespace
} // namespace quorvane::testing
