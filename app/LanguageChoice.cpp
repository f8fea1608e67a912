#include "app/LanguageChoice.h"

#include <cwchar>

namespace quorvane {

namespace {

constexpr std::uint32_t primaryLanguageMask = 0x3FF;
constexpr std::uint32_t chinese = 0x04;
constexpr std::uint32_t portuguese = 0x16;

// Primary language, then the file of that language.
struct ShippedLanguage {
    std::uint32_t primary;
    const wchar_t* code;
};

constexpr ShippedLanguage shippedLanguages[] = {
    {0x06, L"406"}, {0x07, L"407"}, {0x08, L"408"}, {0x09, L"409"}, {0x0A, L"c0a"}, {0x0B, L"40b"},
    {0x0C, L"40c"}, {0x10, L"410"}, {0x12, L"412"}, {0x14, L"414"}, {0x15, L"415"}, {0x19, L"419"},
    {0x1D, L"41d"}, {0x1F, L"41f"},
};

// The Chinese locales written in Traditional characters: Taiwan, Hong Kong,
// Macao, and the neutral Traditional Chinese.
bool isTraditionalChinese(std::uint32_t localeId)
{
    return localeId == 0x0404 || localeId == 0x0C04 || localeId == 0x1404 || localeId == 0x7C04;
}

} // namespace

std::wstring languageCodeOf(std::uint32_t localeId)
{
    wchar_t code[16] = {};
    std::swprintf(code, 16, L"%x", static_cast<unsigned>(localeId));
    return code;
}

std::optional<std::wstring> fallbackLanguageCode(std::uint32_t localeId)
{
    const std::uint32_t primary = localeId & primaryLanguageMask;
    if (primary == chinese)
        return isTraditionalChinese(localeId) ? L"404" : L"804";
    // Brazil has its own file; every other Portuguese-speaking country writes
    // as Portugal does.
    if (primary == portuguese)
        return localeId == 0x0416 ? L"416" : L"816";
    for (const ShippedLanguage& language : shippedLanguages) {
        if (language.primary == primary)
            return language.code;
    }
    return std::nullopt;
}

} // namespace quorvane
