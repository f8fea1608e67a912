// The program's start: the single instance, the language of the locale, and
// the fixed message when there is no usable language file.
#include "app/PageMessages.h"
#include "support/AccessibleNames.h"
#include "support/WizardDriver.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace quorvane::testing {
namespace {

namespace fs = std::filesystem;

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
    ASSERT_TRUE(program.waitForMessageBox().window);
    EXPECT_EQ(program.visibleTopLevelWindows(), 1);
    answerMessage(program, L"Not Found UI String File", nullptr);
    EXPECT_TRUE(program.waitForExit());
}

// The single-instance marker goes with the instance, whether it was closed
// or killed: the next start runs normally. (A second instance beside a
// running one is tried by the shell test.) A language file without the
// locale's section: the fixed message and no window; the same for a language
// without a file is tried by LocaleRun.ja_JP.
TEST(Startup, TheMarkerGoesWithTheInstanceAndALanguageFileWithoutTheSectionShowsTheFixedMessage)
{
    ScratchFolder folder;
    const fs::path exe = copyProgram(folder.path());
    writeLanguageFile(folder.path() / L"Lang/Quorvane/409.ini", L"409", languageLines());
    for (const char* end : {"closed", "killed", "closed"}) {
        ProgramUnderTest program(exe);
        HWND shell = program.waitForShell();
        ASSERT_TRUE(shell) << "a start before one that is " << end;
        EXPECT_EQ(visiblePage(shell), "main menu");
        if (end == std::string("closed"))
            closeWithYes(program, shell);
    } // the running one is ended here by TerminateProcess

    writeLanguageFile(folder.path() / L"Lang/Quorvane/409.ini", L"407", languageLines());
    ProgramUnderTest program(exe);
    expectNoLanguageFile(program);
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
    for (PageMessage page : {UM_SHOW_BACKUP_OPTIONS, UM_SHOW_BACKUP_CONFIRM, UM_SHOW_RESTORE_SELECT,
                             UM_SHOW_RESTORE_CONFIRM, UM_SHOW_TOOLS, UM_SHOW_MAIN_MENU})
        SendMessageW(shell, page, 0, 0);
    EXPECT_EQ(misnamedControls(shell, wideCode, texts), std::vector<std::string>{});
    const std::wstring question = texts.text(92);
    EXPECT_FALSE(question.empty());
    EXPECT_EQ(closeWithYes(program, shell), question);
}

} // namespace
} // namespace quorvane::testing
