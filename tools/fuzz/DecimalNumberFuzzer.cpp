// The list file's numbers: blanks, a sign, digits; 32-bit limits hold.
#include "restore/ImageCatalogue.h"
#include "tools/fuzz/FuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace quorvane;
    const std::wstring text = fuzz::latin1({data, size});
    const std::int32_t number = readDecimalNumber(text);
    // Without a digit after the blanks and the sign the number is 0.
    const std::size_t first = text.find_first_not_of(L" \t");
    std::size_t digits = first == std::wstring::npos ? text.size() : first;
    if (digits < text.size() && (text[digits] == L'+' || text[digits] == L'-'))
        ++digits;
    if (digits >= text.size() || text[digits] < L'0' || text[digits] > L'9')
        fuzz::require(number == 0);
    return 0;
}
