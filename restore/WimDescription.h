// Our own reader of a WIM file's description: the XML resource that the WIM
// header points to, UTF-16LE. It stands in for the platform's imaging library
// where that library is missing or does not implement its functions.
#pragma once

#include "restore/ByteSource.h"

#include <cstdint>
#include <string>

namespace quorvane {

// The largest description read: real ones are a few kilobytes.
inline constexpr std::uint64_t maxWimDescriptionBytes = 16 * 1024 * 1024;

// The description text, one UTF-16 code unit per character, up to its first
// NUL. False when the bytes are shorter than a WIM header, lack the WIM magic,
// or the XML resource is compressed, reaches past the end or is larger than
// maxWimDescriptionBytes; `description` is then left as it was.
bool readWimDescription(ByteSource& bytes, std::wstring& description);

} // namespace quorvane
