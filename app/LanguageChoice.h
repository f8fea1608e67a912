// Which language file a locale gets: its own, named by the locale identifier
// in lower-case hexadecimal ("409", "c0a"), and, for a regional variant of a
// shipped language without a file of its own, the file of that language.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace quorvane {

// "%x" of the locale identifier: 0x0C0A gives "c0a".
std::wstring languageCodeOf(std::uint32_t localeId);

// The shipped file that stands in for a locale of the same primary language:
// British English uses 409, Austrian German 407, Mexican Spanish c0a, Hong Kong
// Chinese (Traditional) 404, Singapore Chinese (Simplified) 804. Nothing for a
// language of which no file ships (Japanese, for one).
std::optional<std::wstring> fallbackLanguageCode(std::uint32_t localeId);

} // namespace quorvane
