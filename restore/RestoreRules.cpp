#include "restore/RestoreRules.h"

namespace quorvane {

namespace {

constexpr std::int64_t kilo = 1024;

// x MB in gigabytes, rounded up.
std::uint32_t gigabytesRoundedUp(std::uint32_t megabytes)
{
    return (megabytes >> 10) + ((megabytes & 0x3FF) != 0 ? 1 : 0);
}

std::wstring sizeText(std::uint32_t gigabytes, std::uint32_t percent)
{
    return std::to_wstring(gigabytes) + L" GB(" + std::to_wstring(percent) + L"%)";
}

} // namespace

PartitionSizes measurePartitions(std::int64_t systemLength, std::int64_t dataLength)
{
    PartitionSizes sizes;
    sizes.systemMB = static_cast<std::uint32_t>(systemLength / kilo / kilo);
    sizes.dataMB = static_cast<std::uint32_t>(dataLength / kilo / kilo);
    sizes.systemGB = systemLength / kilo / kilo / kilo;
    sizes.dataGB = dataLength / kilo / kilo / kilo;
    sizes.mbPerPixel = (sizes.systemMB + sizes.dataMB) / partitionBarWidth;
    if (sizes.bothUnderOneGB())
        return sizes;
    // Dividing first and multiplying second, in double precision: 29 and 71
    // give 28 and 72, as the quotient 0.29 times 100 is just under 29.
    const double systemShare = static_cast<double>(sizes.systemGB) / static_cast<double>(sizes.systemGB + sizes.dataGB);
    const auto systemPercent = static_cast<std::uint32_t>(systemShare * 100.0);
    const std::uint32_t systemShown = gigabytesRoundedUp(sizes.systemMB);
    const std::uint32_t dataShown = gigabytesRoundedUp(sizes.systemMB + sizes.dataMB) - systemShown;
    sizes.systemSizeText = sizeText(systemShown, systemPercent);
    sizes.dataSizeText = sizeText(dataShown, 100 - systemPercent);
    return sizes;
}

ListRow listRowAt(int row, bool hasFactoryRow, std::size_t catalogueCount)
{
    if (row == -1)
        return {};
    const int first = hasFactoryRow ? 1 : 0;
    if (hasFactoryRow && row == 0)
        return {RowKind::factory};
    if (row >= first && static_cast<std::size_t>(row - first) < catalogueCount)
        return {RowKind::catalogue, static_cast<std::size_t>(row - first)};
    return {RowKind::other};
}

std::wstring fileNameOf(std::wstring_view path)
{
    const std::size_t last = path.rfind(L'\\');
    return std::wstring(last == std::wstring_view::npos ? path : path.substr(last + 1));
}

std::wstring folderOf(std::wstring_view path)
{
    const std::size_t last = path.rfind(L'\\');
    return std::wstring(last == std::wstring_view::npos ? std::wstring_view{} : path.substr(0, last));
}

std::wstring megabytesText(std::int64_t bytes)
{
    return std::to_wstring(bytes / kilo / kilo) + L" MB";
}

std::wstring systemDriveText(const std::wstring& systemSizeText)
{
    return L"C: " + systemSizeText;
}

} // namespace quorvane
