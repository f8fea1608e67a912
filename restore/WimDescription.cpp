#include "restore/WimDescription.h"

#include "restore/WimHeader.h"

#include <vector>

namespace quorvane {

bool readWimDescription(ByteSource& bytes, std::wstring& description)
{
    const std::optional<WimHeader> header = readWimHeader(bytes);
    if (!header)
        return false;
    const WimResource& xml = header->xmlData;
    if ((xml.flags & wimCompressedResourceFlag) != 0 || xml.storedSize > maxWimDescriptionBytes
        || !xml.fitsIn(bytes.size()))
        return false;

    std::vector<std::uint8_t> raw(static_cast<std::size_t>(xml.storedSize));
    if (!bytes.read(xml.offset, raw))
        return false;
    std::wstring text;
    text.reserve(raw.size() / 2);
    for (std::size_t i = 0; i + 1 < raw.size(); i += 2) {
        const auto unit = static_cast<wchar_t>(raw[i] | raw[i + 1] << 8);
        if (unit == 0)
            break;
        text.push_back(unit);
    }
    description = std::move(text);
    return true;
}

} // namespace quorvane
