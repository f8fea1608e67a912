// The layout of MBR disk images made with the real sfdisk, compared with what
// `sfdisk --json` reports for the same image.
#include "disk/MasterBootRecord.h"

#include "tests/support/SfdiskReport.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <cstdio>

using namespace quorvane;
namespace fs = std::filesystem;

namespace {

// What a shell command of the test machine printed.
std::string runCommand(const std::string& command)
{
    std::string output;
    FILE* pipe = popen(("PATH=\"$PATH:/usr/sbin:/sbin\" " + command).c_str(), "r");
    char chunk[4096];
    while (const std::size_t got = pipe ? std::fread(chunk, 1, sizeof(chunk), pipe) : 0)
        output.append(chunk, got);
    if (pipe)
        pclose(pipe);
    return output;
}

TEST(SfdiskImage, LayoutIsWhatSfdiskReportsNumberedAsWindowsNumbers)
{
    struct Case {
        const char* why;
        std::string size;
        std::string script;
        std::array<std::uint32_t, 4> numbers;
        std::array<std::uint8_t, 4> recognized;
    };
    const Case cases[] = {
        {"three primaries as on the usual disk 0", "200G",
         "size=20G, type=12\nsize=100G, type=7, bootable\nsize=50G, type=7\n", {1, 2, 3, 0}, {0, 1, 1, 0}},
        {"an empty slot between used ones", "4G",
         "disk.img1 : start=2048, size=1G, type=7\ndisk.img3 : start=4196352, size=1G, type=c\n", {1, 0, 2, 0},
         {1, 0, 1, 0}},
        {"an extended container with two logicals", "8G",
         "size=1G, type=7\nsize=4G, type=5\nsize=1G, type=7\ndisk.img5 : size=1G, type=b\n"
         "disk.img6 : size=1G, type=83\n",
         {1, 0, 2, 0}, {1, 0, 1, 0}},
    };
    const fs::path folder = fs::temp_directory_path()
        / ("quorvane-mbr-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
    fs::create_directories(folder);
    const std::string image = (folder / "disk.img").string();
    quorvane::testing::Bytes sector(sectorSize);
    for (const Case& each : cases) {
        SCOPED_TRACE(each.why);
        std::ofstream(folder / "layout.sfdisk") << "label: dos\nlabel-id: 0x1234abcd\n" << each.script;
        runCommand("rm -f '" + image + "' && truncate -s " + each.size + " '" + image
                   + "' && sfdisk --quiet --no-reread --no-tell-kernel '" + image + "' < '"
                   + (folder / "layout.sfdisk").string() + "' 2>&1");
        std::ifstream(image, std::ios::binary).read(reinterpret_cast<char*>(sector.data()), sectorSize);
        const auto layout = driveLayoutFromMasterBootRecord(sector);
        ASSERT_TRUE(layout);
        EXPECT_EQ(layout->signature, 0x1234abcdu);
        std::array<PartitionInformation, 4> expected = quorvane::testing::sfdiskSlots(runCommand("sfdisk --json '" + image + "'"));
        ASSERT_NE(expected[0], PartitionInformation{}) << "sfdisk made no partition";
        for (std::size_t slot = 0; slot < 4; ++slot) {
            if (expected[slot].partitionType) {
                expected[slot].partitionNumber = each.numbers[slot];
                expected[slot].recognizedPartition = each.recognized[slot];
            }
        }
        EXPECT_EQ(layout->entries, std::vector<PartitionInformation>(expected.begin(), expected.end()));
    }
    fs::remove_all(folder);

    // An unreadable table gives no layout: cut short inside the table or
    // before the boot signature, a damaged boot signature, never partitioned.
    EXPECT_FALSE(driveLayoutFromMasterBootRecord(std::span(sector).first(300)));
    EXPECT_FALSE(driveLayoutFromMasterBootRecord(std::span(sector).first(511)));
    EXPECT_FALSE(driveLayoutFromMasterBootRecord({}));
    sector[511] = 0x00;
    EXPECT_FALSE(driveLayoutFromMasterBootRecord(sector));
    EXPECT_FALSE(driveLayoutFromMasterBootRecord(std::vector<std::uint8_t>(512, 0)));
}

} // namespace
