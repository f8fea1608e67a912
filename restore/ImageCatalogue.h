// The backups the restore wizard can offer: the images that Backup_Image_List.ini
// on the data partition lists and that still exist, each with its current drive
// letter, size and name, and the factory image when the recovery partition is
// there.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorvane {

class DiskDevices;
class DiskMap;
class StringCatalogue;

struct ImageEntry {
    std::int64_t imageSize = 0; // 0 when the file exists but cannot be opened
    std::int32_t diskId = 0;
    std::int32_t partId = 0;
    std::wstring imagePath; // its first character is the current drive letter
    std::wstring imageName; // empty when the image's description cannot be read

    friend bool operator==(const ImageEntry&, const ImageEntry&) = default;
};

// In the order of the list file's sections Image0, Image1, ...
using ImageCatalogue = std::vector<ImageEntry>;

// What reading the image list needs from the machine.
class ImageListServices {
public:
    virtual ~ImageListServices() = default;
    // The list file's characters as the profile functions decode them, or
    // nothing when it cannot be read.
    virtual std::optional<std::wstring> profileText(const std::wstring& file) = 0;
    virtual bool fileExists(const std::wstring& path) = 0;
    // 0 when the file cannot be opened.
    virtual std::int64_t fileSize(const std::wstring& path) = 0;
    // As readImageName below.
    virtual bool readImageName(const std::wstring& path, std::wstring& name) = 0;
};

// This machine's profile functions, files and reader of image descriptions
// (MachineImageCatalogue.cpp).
ImageListServices& machineImageListServices();

// Empties the catalogue and fills it from the list file on the letter of
// partition 3 of disk 0 of the (refreshed) map. The file is read once; only
// the ImageN sections that exist below TotalImageCount are visited, in
// ascending order. An image listed more than once is opened once.
void loadImageList(ImageCatalogue& catalogue, const DiskMap& map, ImageListServices& services);

// A decimal number as the list file holds it: leading blanks, an optional sign
// and digits up to the first other character; 0 without digits. Values beyond
// 32 bits stop at the nearest 32-bit limit.
std::int32_t readDecimalNumber(std::wstring_view text);

// The longest image name kept: it is only shown.
inline constexpr std::size_t maxImageNameLength = 1024;

// The image's name in its description: the text after the first "NAME" (and
// the one character after it) up to the next "</NAME>"; the whole text when
// there is no "NAME". No XML decoding: entities and white space stay. At
// most maxImageNameLength characters are kept, never half a surrogate pair.
std::wstring imageNameFromDescription(std::wstring_view description);

// Whether the first partition entry of disk 0's master boot record has the
// recovery partition's type 0x12.
bool hasRecoveryPartition(DiskDevices& devices);

// The entry offered for the factory image: size 0, disk 0, partition 1,
// path catalogue text 60, name catalogue text 59.
ImageEntry factoryImageEntry(const StringCatalogue& catalogue);

// The same operations on this machine; defined for the programs only
// (MachineImageCatalogue.cpp).
void loadImageList(ImageCatalogue& catalogue);
// The list file's characters as the profile functions decode them; nothing
// when it cannot be read or is larger than any real list.
std::optional<std::wstring> imageListText(const std::wstring& file);
// True when the image's description could be read; the name is then set,
// otherwise left as it was.
bool readImageName(const std::wstring& path, std::wstring& name);
// True when the path names a file: not a folder, and no pattern (* or ?).
bool fileExists(const std::wstring& path);
bool hasRecoveryPartition();
// Whether the image file was written to its end (isCompleteWimImage): false
// for a backup cut off half-way and for a file that cannot be read.
bool isCompleteImage(const std::wstring& path);

} // namespace quorvane
