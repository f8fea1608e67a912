// The production edition as the package installs it, started from Program Files
// in the package's Wine prefix (tests/package/CMakeLists.txt). Wine answers none
// of the disk control codes, so the program finds no disks: what it must do on a
// machine whose disks it cannot read.
#include "app/ResourceIds.h"
#include "support/ProgramUnderTest.h"

#include <gtest/gtest.h>
#include <shlobj.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace quorvane::testing {
namespace {

namespace fs = std::filesystem;

fs::path installFolder()
{
    PWSTR programFiles = nullptr;
    SHGetKnownFolderPath(FOLDERID_ProgramFiles, 0, nullptr, &programFiles);
    const fs::path folder = fs::path(programFiles) / L"Quorvane";
    CoTaskMemFree(programFiles);
    return folder;
}

std::wstring englishText(int id)
{
    return languageCatalogue(installFolder() / L"Lang/Quorvane/409.ini", L"409").text(id);
}

// "1.0.0.0" from the program's version resource.
std::string versionOf(const fs::path& program)
{
    std::vector<std::byte> data(GetFileVersionInfoSizeW(program.c_str(), nullptr));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT size = 0;
    if (data.empty() || !GetFileVersionInfoW(program.c_str(), 0, static_cast<DWORD>(data.size()), data.data())
        || !VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &size))
        return "none";
    char text[32] = {};
    std::snprintf(text, sizeof(text), "%u.%u.%u.%u", HIWORD(fixed->dwFileVersionMS), LOWORD(fixed->dwFileVersionMS),
                  HIWORD(fixed->dwFileVersionLS), LOWORD(fixed->dwFileVersionLS));
    return text;
}

class InstalledProgram : public ::testing::Test {
protected:
    // Starts the installed program and waits for its main menu.
    void start()
    {
        program = std::make_unique<ProgramUnderTest>(installFolder() / L"Quorvane.exe");
        shell = program->waitForShell();
        ASSERT_TRUE(shell) << "the installed program showed no window";
        ASSERT_EQ(visiblePage(shell), "main menu");
    }
    void click(int id) { clickButton(GetDlgItem(visiblePageWindow(shell), id)); }

    // The program's next message box, answered with OK; its text.
    std::wstring answerMessage()
    {
        const MessageBoxInfo box = program->waitForMessageBox();
        if (!box.window)
            return L"(no message)";
        ProgramUnderTest::pressButton(box.window, IDOK);
        EXPECT_TRUE(waitUntil([&] { return !IsWindow(box.window); }));
        return box.text;
    }

    std::unique_ptr<ProgramUnderTest> program;
    HWND shell = nullptr;
};

TEST_F(InstalledProgram, BothEditionsCarryTheVersionOfThePackage)
{
    const char* version = std::getenv("QUORVANE_VERSION");
    ASSERT_TRUE(version) << "run through CTest";
    EXPECT_EQ(versionOf(installFolder() / L"Quorvane.exe"), version + std::string(".0"));
    EXPECT_EQ(versionOf(buildFolder() / L"QuorvaneSandbox.exe"), version + std::string(".0"));
}

// Backup offers no target and Next asks for one; the program then leaves from
// the main menu through its leaving question, in English.
TEST_F(InstalledProgram, BackupFindsNoTargetAndTheProgramLeavesThroughItsQuestion)
{
    start();
    click(IDC_MENU_BACKUP);
    ASSERT_TRUE(waitForPage(shell, "backup options"));
    EXPECT_EQ(controlText(GetDlgItem(visiblePageWindow(shell), IDC_BACKUP_TARGET)), L"");
    click(IDC_BACKUP_NEXT);
    EXPECT_EQ(answerMessage(), englishText(83));
    EXPECT_EQ(visiblePage(shell), "backup options");

    click(IDC_BACKUP_BACK);
    ASSERT_TRUE(waitForPage(shell, "main menu"));
    const MessageBoxInfo question = program->answerClose(shell, IDYES);
    EXPECT_EQ(question.text, englishText(92));
    ASSERT_TRUE(program->waitForExit());
    EXPECT_EQ(program->exitCode(), 0u);
}

// Restore cannot measure the system and data partitions: the fatal message,
// then the end with exit code 1.
TEST_F(InstalledProgram, RestoreFindsNoPartitionsAndEndsWithCode1)
{
    start();
    click(IDC_MENU_RESTORE);
    EXPECT_EQ(answerMessage(), englishText(94));
    ASSERT_TRUE(program->waitForExit());
    EXPECT_EQ(program->exitCode(), 1u);
}

} // namespace
} // namespace quorvane::testing
