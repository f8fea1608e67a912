// The rules of the restore selection page that need no window: the sizes of
// the system and data partitions as the page shows them, which image a list
// row stands for, and the texts of a row.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace quorvane {

inline constexpr std::uint32_t partitionBarWidth = 415;

// Partitions 2 (system) and 3 (data) of disk 0 as the page shows them.
struct PartitionSizes {
    std::uint32_t systemMB = 0;
    std::uint32_t dataMB = 0;
    std::uint32_t mbPerPixel = 0; // the bar's scale
    std::int64_t systemGB = 0;    // whole gigabytes, rounded down
    std::int64_t dataGB = 0;
    std::wstring systemSizeText; // "100 GB(66%)"; empty when both are under 1 GB
    std::wstring dataSizeText;

    // Neither partition reaches 1 GB (or neither is there): nothing to restore onto.
    bool bothUnderOneGB() const { return systemGB == 0 && dataGB == 0; }
};

// From the two partitions' lengths in bytes (0 for a partition that is not
// there). The shown gigabytes are rounded up from whole megabytes, the
// percentages come from whole gigabytes rounded down: 1500 MB and 100 MB show
// "2 GB(100%)" and "0 GB(0%)".
PartitionSizes measurePartitions(std::int64_t systemLength, std::int64_t dataLength);

// What a row of the list (or the selection mark) stands for. Rows are the
// factory entry (row 0, when there is one), then the catalogue's entries,
// then the "Other" row of a browsed file.
enum class RowKind { nothing, factory, catalogue, other };
struct ListRow {
    RowKind kind = RowKind::nothing;
    std::size_t catalogueIndex = 0; // for RowKind::catalogue
};
// Row -1 (no selection) stands for nothing; every row past the catalogue's,
// and any other value, for the "Other" position.
ListRow listRowAt(int row, bool hasFactoryRow, std::size_t catalogueCount);

// The part of a path after its last backslash (the whole path when it has
// none), and the part before it (empty then).
std::wstring fileNameOf(std::wstring_view path);
std::wstring folderOf(std::wstring_view path);

// "<n> MB" with the size in whole megabytes, the divisions truncating.
std::wstring megabytesText(std::int64_t bytes);

// The drive text the confirm page shows for the system partition: "C: 100 GB(66%)".
std::wstring systemDriveText(const std::wstring& systemSizeText);

} // namespace quorvane
