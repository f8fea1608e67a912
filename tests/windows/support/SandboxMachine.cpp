#include "support/SandboxMachine.h"

#include "tests/support/SfdiskReport.h"

#include <cstdlib>
#include <fstream>

namespace quorvane::testing {

namespace fs = std::filesystem;

std::string unixPath(const fs::path& path)
{
    using UnixFileName = char*(CDECL*)(const wchar_t*);
    static const auto convert = reinterpret_cast<UnixFileName>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    char* name = convert ? convert(path.c_str()) : nullptr;
    if (!name)
        return {};
    std::string result(name);
    HeapFree(GetProcessHeap(), 0, name);
    return result;
}

std::string fileText(const fs::path& file)
{
    const Bytes bytes = fileBytes(file);
    return {bytes.begin(), bytes.end()};
}

bool runUnixCommand(const fs::path& workFolder, const std::string& command, std::string* output)
{
    static int counter = 0;
    const std::string name = "command" + std::to_string(++counter);
    const fs::path script = workFolder / (name + ".sh");
    const fs::path out = workFolder / (name + ".out");
    const fs::path status = workFolder / (name + ".status");
    {
        std::ofstream file(script, std::ios::binary);
        file << "export PATH=$PATH:/usr/sbin:/sbin\n"
             << "( " << command << " ) > '" << unixPath(out) << "' 2>&1\n"
             << "echo $? > '" << unixPath(status) << ".part' && mv '" << unixPath(status) << ".part' '"
             << unixPath(status) << "'\n";
    }
    std::wstring commandLine = L"Z:\\bin\\sh " + fs::path(unixPath(script)).wstring();
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started))
        return false;
    CloseHandle(started.hThread);
    CloseHandle(started.hProcess);
    if (!waitUntil([&] { return fs::exists(status); }, 60s))
        return false;
    if (output)
        *output = fileText(out);
    return fileText(status) == "0\n";
}

SandboxMachine::SandboxMachine(const std::string& layout, const std::string& bootable)
{
    fs::create_directories(sandbox());
    fs::create_directories(systemFolder());
    fs::copy_file(buildFolder() / L"quorvane_job_runner.exe", runner());
    fs::copy_file(buildFolder() / L"QuorvaneSandbox.exe", program());
    fs::copy_file(buildFolder() / L"Sandbox/diskpart.exe", sandbox() / L"diskpart.exe");
    writeLanguageFile(folder() / L"Lang/Quorvane/409.ini", L"409",
                      languageLines({{59, factoryName}, {60, factoryPath}, {93, cannotHandOver}, {95, imageOnOtherDisk}}));
    ready_ = addDisk(0, "200G", layout);
    writeMachine("[Volumes]\r\np=0,2\r\n");
    const char* prefix = std::getenv("WINEPREFIX");
    if (prefix) {
        driveLink_ = std::string(prefix) + "/dosdevices/" + systemLetter + ":";
        ready_ = ready_ && runUnixCommand(folder(), "ln -sfn '" + unixPath(systemFolder()) + "' '" + driveLink_ + "'");
    }
    ready_ = ready_ && bootablePartitions() == bootable;
}

SandboxMachine::~SandboxMachine()
{
    if (!driveLink_.empty())
        runUnixCommand(folder(), "rm -f '" + driveLink_ + "'");
}

bool SandboxMachine::addDisk(int number, const std::string& size, const std::string& layout)
{
    if (number < 0 || number > 9)
        return false;
    const std::string image = unixPath(sandbox() / (L"disk" + std::to_wstring(number) + L".img"));
    if (!runUnixCommand(folder(), "truncate -s " + size + " '" + image + "' && printf '%s\\n' " + layout
                                      + " | sfdisk --quiet '" + image + "'"))
        return false;
    disks_.push_back(number);
    return true;
}

void SandboxMachine::writeMachine(const std::string& sections) const
{
    std::ofstream machine(sandbox() / L"machine.ini", std::ios::binary);
    machine << "[Disks]\r\n";
    for (int number : disks_)
        machine << number << "=disk" << number << ".img\r\n";
    machine << sections;
}

std::string SandboxMachine::bootablePartitions() const
{
    std::string json;
    if (!runUnixCommand(folder(), "sfdisk --json '" + unixPath(sandbox() / L"disk0.img") + "'", &json))
        return "sfdisk failed";
    std::string numbers;
    const auto slots = sfdiskSlots(json);
    for (std::size_t slot = 0; slot < slots.size(); ++slot) {
        if (slots[slot].bootIndicator)
            numbers += std::to_string(slot + 1);
    }
    return numbers;
}

} // namespace quorvane::testing
