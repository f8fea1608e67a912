// The check of a job file's bytes, on any bytes and on the file a job makes;
// the diskpart command line from any program path.
#include "job/JobContent.h"
#include "tools/fuzz/FuzzInput.h"

#include <algorithm>

namespace {

using namespace quorvane;

// The bytes the profile writer gives a job: FF FE, "[Config]", one line per key.
std::vector<std::uint8_t> jobFileBytes(const JobKeys& keys)
{
    std::wstring text = L"[Config]\r\n";
    for (const JobKey& key : keys)
        text += key.name + L"=" + key.value + L"\r\n";
    std::vector<std::uint8_t> bytes = {0xFF, 0xFE};
    for (const wchar_t c : text) {
        bytes.push_back(static_cast<std::uint8_t>(c & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>((c >> 8) & 0xFF));
    }
    return bytes;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::span<const std::uint8_t> bytes(data, size);
    const std::wstring text = fuzz::utf16Units(bytes);
    const std::size_t cut = text.find(L'|');
    const BackupJobParameters job{static_cast<std::int32_t>(size), text.substr(cut == std::wstring::npos ? 0 : cut + 1),
                                  text.substr(0, cut), static_cast<std::uint32_t>(size * 7), -1};
    const JobKeys keys = backupJobKeys(job);
    // A job whose values fit on their lines is found exactly in its own file.
    const bool fits = std::ranges::none_of(keys, [](const JobKey& key) { return breaksLine(key.value); });
    fuzz::require(jobFileHolds(jobFileBytes(keys), keys) == fits);
    jobFileHolds(bytes, keys);
    jobFileHolds(bytes, restoreJobKeys({}));

    if (const auto launch = diskpartLaunch(text, diskpartScriptName)) {
        fuzz::require(launch->commandLine.size() < programPathLimit);
        fuzz::require(launch->scriptPath.ends_with(diskpartScriptName));
    }
    return 0;
}
