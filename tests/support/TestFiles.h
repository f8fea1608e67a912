// File bytes, UTF-16LE text, language sections and timings, for the native and
// the Windows tests.
#pragma once

#include "app/StringCatalogue.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

namespace quorvane::testing {

using Bytes = std::vector<std::uint8_t>;

inline Bytes fileBytes(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void writeBytes(const std::filesystem::path& file, const Bytes& bytes)
{
    std::ofstream(file, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// Writes `size` bytes of `value` at `at`, lowest byte first.
inline void putLittleEndian(Bytes& bytes, std::size_t at, std::uint64_t value, int size)
{
    for (int i = 0; i < size; ++i)
        bytes[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value >> (8 * i));
}

// A copy of `from` at `to`, changed by `change` on its way.
template <typename Change>
std::filesystem::path changedCopy(const std::filesystem::path& from, const std::filesystem::path& to, Change change)
{
    Bytes bytes = fileBytes(from);
    change(bytes);
    writeBytes(to, bytes);
    return to;
}

// ASCII text of a wide string, for test messages.
inline std::string narrow(const std::wstring& text)
{
    return {text.begin(), text.end()};
}

// The bytes of a UTF-16LE file holding `text`, with or without the FF FE mark.
inline Bytes utf16File(const std::wstring& text, bool byteOrderMark = true)
{
    Bytes bytes;
    if (byteOrderMark)
        bytes = {0xFF, 0xFE};
    for (wchar_t c : text) {
        bytes.push_back(static_cast<std::uint8_t>(c & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>((c >> 8) & 0xFF));
    }
    return bytes;
}

// The lines of a language section: text 0 names the font Tahoma, ids 1..100
// hold `texts` where given and "text <id>" elsewhere.
inline std::wstring languageLines(const std::map<int, std::wstring>& texts = {})
{
    std::wstring lines = L"font=Tahoma\r\n";
    for (int id = 1; id <= 100; ++id) {
        const std::wstring text = texts.contains(id) ? texts.at(id) : L"text " + std::to_wstring(id);
        lines += L"t" + std::to_wstring(id) + L"=" + text + L"\r\n";
    }
    return lines;
}

// The catalogue those lines fill, as the profile reader hands them over: each
// line ending in NUL.
inline StringCatalogue catalogueOf(const std::map<int, std::wstring>& texts = {})
{
    std::wstring section;
    for (const wchar_t c : languageLines(texts))
        if (c != L'\r')
            section.push_back(c == L'\n' ? L'\0' : c);
    StringCatalogue catalogue;
    catalogue.fillFromSection(section);
    return catalogue;
}

template <typename Action>
double medianMilliseconds(int runs, Action action)
{
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        const auto start = std::chrono::steady_clock::now();
        action();
        times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    std::ranges::sort(times);
    return times[times.size() / 2];
}

} // namespace quorvane::testing
