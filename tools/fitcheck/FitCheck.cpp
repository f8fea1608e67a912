// Measures every catalogue text of every page in every language as the pages
// draw it, and reports what does not fit:
//   (a) overflow: a text taller than its rectangle, or a word wider than it
//   (b) overlap:  a piece of a sentence drawn in pieces runs into the next one,
//                 or comes so close that the two words read as one
//   (c) hole:     more than about one space between two such pieces
//   (d) caption:  a button caption (or a list column's title) wider or taller
//                 than its button (or column)
//   (e) control:  drawn text that runs under a control of its page
// It prints one table and every problem, and ends with exit code 1 on (a),
// (b), (d) or (e) in any language; holes are only reported.
//   quorvane_fitcheck.exe [--gaps] [LANGUAGE_FOLDER]
// --gaps also lists the gap between every two pieces of a split sentence.
// The folder holds <code>.ini language files; the default is Lang\Quorvane
// beside this program.
#include "app/RecoveryApp.h"
#include "app/StringCatalogue.h"
#include "restore/RestorePagesDrawing.h"
#include "skin/SkinDrawing.h"
#include "support/Canvas.h"
#include "tools/pages/PageViews.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

using namespace quorvane;
using quorvane::testing::Canvas;
namespace fs = std::filesystem;

namespace {

constexpr int listHeaderPadding = 12; // a header item's margins, both sides

std::string narrow(const std::wstring& text)
{
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(std::max(size, 1)), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, out.data(), size, nullptr, nullptr);
    out.resize(out.size() - 1);
    return out;
}

enum Kind { overflow, overlap, hole, caption, underControl, gapInfo, kindCount };
const char* const kindNames[kindCount] = {"overflow", "overlap", "hole", "caption", "under a control", "gap"};
bool listGaps = false;

struct Problem {
    Kind kind;
    std::string page;
    std::string what;
};

// Where a text's ink lies, in page pixels; empty when it drew nothing.
struct Ink {
    int left = 0, top = 0, right = -1, bottom = -1; // inclusive
    bool empty() const { return right < left; }
};

// Measures texts as the pages draw them, on one canvas of the page's size.
class Measurer {
public:
    explicit Measurer(const StringCatalogue& texts) : texts_(texts), canvas_(720, 480, RGB(255, 255, 255))
    {
        SetBkMode(canvas_.dc(), TRANSPARENT);
    }

    HFONT font(const FontSpec& wanted)
    {
        const auto key = std::tuple(wanted.points, wanted.weight, wanted.face == FaceRule::arial);
        auto found = fonts_.find(key);
        if (found == fonts_.end()) {
            const std::wstring face = wanted.face == FaceRule::arial ? L"Arial" : texts_.text(0);
            found = fonts_.emplace(key, createSkinFont(canvas_.dc(), wanted.points, wanted.weight, face)).first;
        }
        return found->second.get();
    }

    // The rectangle DrawTextW asks for.
    RECT calculated(const std::wstring& text, HFONT font, const PixelRect& rect, unsigned flags)
    {
        SelectObject(canvas_.dc(), font);
        RECT calc{rect.left, rect.top, rect.right, rect.bottom};
        DrawTextW(canvas_.dc(), text.c_str(), -1, &calc, flags | DT_CALCRECT);
        return calc;
    }

    // Whether the text, drawn without clipping, puts ink outside its
    // rectangle: what the page's clipping cuts off. `needed` is what
    // DT_CALCRECT asked for; a line's leading beyond the rectangle is no loss.
    // Looked at whatever DT_CALCRECT says: a line can be broken by widths
    // that differ from the drawn ones (Wine measures a font's linked glyphs
    // so), and then its end is cut off.
    // Answers how far the ink reaches past each edge when it does.
    std::optional<std::string> inkOutside(const std::wstring& text, HFONT font, const PixelRect& rect, unsigned flags,
                                          const RECT& needed)
    {
        constexpr int margin = 40;
        const PixelRect area{std::max(std::min<int>(rect.left, needed.left) - margin, 0), std::max(rect.top - 4, 0),
                             std::min(std::max<int>(rect.right, needed.right) + margin, 720),
                             std::min(std::max<int>(rect.bottom, needed.bottom) + 8, 480)};
        if (needed.left < 0 || needed.top < 0 || needed.right > 720 || needed.bottom > 480)
            return "off the page";
        const Ink drawn = ink(text, font, rect, flags | DT_NOCLIP, area);
        const int beyond[4] = {rect.left - drawn.left, rect.top - drawn.top, drawn.right + 1 - rect.right,
                               drawn.bottom + 1 - rect.bottom};
        const char* const edges[4] = {"left", "top", "right", "bottom"};
        std::string where;
        // One pixel of a glyph's overhang past an edge is no visible loss.
        for (int edge = 0; edge < 4 && !drawn.empty(); ++edge)
            if (beyond[edge] > 1)
                where += std::string(where.empty() ? "" : ", ") + std::to_string(beyond[edge]) + " px past the " + edges[edge];
        if (where.empty())
            return std::nullopt;
        return where;
    }

    // The text drawn alone into its rectangle (clipped to it, as on the page),
    // looked for within `searched` (the rectangle by default).
    Ink ink(const std::wstring& text, HFONT font, const PixelRect& rect, unsigned flags,
            std::optional<PixelRect> searched = std::nullopt)
    {
        const PixelRect area = clampToPage(searched.value_or(rect));
        RECT fill{area.left, area.top, area.right, area.bottom};
        FillRect(canvas_.dc(), &fill, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        SelectObject(canvas_.dc(), font);
        SetTextColor(canvas_.dc(), RGB(0, 0, 0));
        RECT drawn{rect.left, rect.top, rect.right, rect.bottom};
        DrawTextW(canvas_.dc(), text.c_str(), -1, &drawn, flags);
        GdiFlush();
        Ink found{area.right, area.bottom, -1, -1};
        for (int y = area.top; y < area.bottom; ++y) {
            for (int x = area.left; x < area.right; ++x) {
                if (canvas_.atFlushed(x, y) == RGB(255, 255, 255))
                    continue;
                found.left = std::min(found.left, x);
                found.right = std::max(found.right, x);
                found.top = std::min(found.top, y);
                found.bottom = std::max(found.bottom, y);
            }
        }
        return found;
    }

    // Whether the text, drawn as above, has ink inside `rect`.
    bool inkWithin(const PixelRect& textRect, const PixelRect& rect) const
    {
        const PixelRect area = clampToPage(textRect);
        const int left = std::max(area.left, rect.left), right = std::min(area.right, rect.right);
        const int top = std::max(area.top, rect.top), bottom = std::min(area.bottom, rect.bottom);
        for (int y = top; y < bottom; ++y)
            for (int x = left; x < right; ++x)
                if (canvas_.atFlushed(x, y) != RGB(255, 255, 255))
                    return true;
        return false;
    }

    // The blank between two words in this font, measured as ink.
    int wordGap(HFONT font)
    {
        const Ink n = ink(L"n", font, {0, 0, 100, 40}, DT_SINGLELINE);
        const Ink nn = ink(L"n n", font, {0, 0, 100, 40}, DT_SINGLELINE);
        return nn.right - n.right - (n.right - n.left + 1);
    }

    int characterHeight(HFONT font)
    {
        SelectObject(canvas_.dc(), font);
        TEXTMETRICW metrics{};
        GetTextMetricsW(canvas_.dc(), &metrics);
        return metrics.tmHeight - metrics.tmInternalLeading;
    }

    std::wstring textOf(const std::variant<int, std::wstring>& text) const
    {
        return std::holds_alternative<int>(text) ? texts_.text(std::get<int>(text)) : std::get<std::wstring>(text);
    }

private:
    static PixelRect clampToPage(const PixelRect& rect)
    {
        return {std::max(rect.left, 0), std::max(rect.top, 0), std::min(rect.right, 720), std::min(rect.bottom, 480)};
    }

    const StringCatalogue& texts_;
    Canvas canvas_;
    std::map<std::tuple<int, int, bool>, UniqueFont> fonts_;
};

std::string describe(const TextStep& step, const std::wstring& content)
{
    std::string name;
    if (std::holds_alternative<int>(step.text))
        name = "text " + std::to_string(std::get<int>(step.text));
    else
        name.append("\"").append(narrow(content)).append("\"");
    return name.append(" at (").append(std::to_string(step.rect.left)).append(",")
        .append(std::to_string(step.rect.top)).append(")");
}

const TextStep* stepOfText(const DrawingSteps& steps, int id)
{
    for (const DrawingStep& step : steps) {
        const auto* text = std::get_if<TextStep>(&step);
        if (text && std::holds_alternative<int>(text->text) && std::get<int>(text->text) == id)
            return text;
    }
    return nullptr;
}

void checkTexts(Measurer& measure, const PageView& page, std::vector<Problem>& problems)
{
    for (const DrawingStep& step : page.steps) {
        // The language's wording only: the values a page shows (paths, sizes,
        // descriptions) are data, clipped to their places as they come.
        const auto* text = std::get_if<TextStep>(&step);
        if (!text || !std::holds_alternative<int>(text->text))
            continue;
        const std::wstring content = measure.textOf(text->text);
        if (content.empty())
            continue;
        HFONT font = measure.font(text->font);
        const RECT calc = measure.calculated(content, font, text->rect, text->flags);
        if (const auto cut = measure.inkOutside(content, font, text->rect, text->flags, calc))
            problems.push_back({overflow, page.name,
                                describe(*text, content) + " needs " + std::to_string(calc.right - calc.left) + "x"
                                    + std::to_string(calc.bottom - calc.top) + " in "
                                    + std::to_string(text->rect.width()) + "x" + std::to_string(text->rect.height())
                                    + " (ink " + *cut + ")"});
        measure.ink(content, font, text->rect, text->flags);
        for (const ControlView& control : page.controls) {
            if (measure.inkWithin(text->rect, control.place))
                problems.push_back({underControl, page.name,
                                    describe(*text, content) + " runs under control " + std::to_string(control.controlId)});
        }
    }
}

// Chinese writes no space between words, so its pieces may meet; every other
// script of the shipped languages (Korean included) puts a space there.
bool isChinese(wchar_t c)
{
    return (c >= 0x2E80 && c <= 0x9FFF) || (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFF00 && c <= 0xFFEF);
}

// The narrowest ink gap at which two pieces still read as two words: about half
// the blank between two words of the font; none where no blank belongs.
int narrowestGap(Measurer& measure, HFONT font, const std::wstring& first, const std::wstring& next)
{
    const std::size_t last = first.find_last_not_of(L' ');
    const std::size_t start = next.find_first_not_of(L' ');
    if (last == std::wstring::npos || start == std::wstring::npos || isChinese(first[last]) || isChinese(next[start]))
        return 0;
    return (measure.wordGap(font) + 1) / 2;
}

void checkSentences(Measurer& measure, const PageView& page, std::vector<Problem>& problems)
{
    for (const std::vector<int>& sentence : page.splitSentences) {
        for (std::size_t i = 0; i + 1 < sentence.size(); ++i) {
            const TextStep* first = stepOfText(page.steps, sentence[i]);
            const TextStep* next = stepOfText(page.steps, sentence[i + 1]);
            if (!first || !next)
                continue;
            HFONT font = measure.font(first->font);
            const Ink before = measure.ink(measure.textOf(first->text), font, first->rect, first->flags);
            const Ink after = measure.ink(measure.textOf(next->text), measure.font(next->font), next->rect, next->flags);
            if (before.empty() || after.empty())
                continue;
            const int gap = after.left - before.right - 1;
            const std::string pair = "texts " + std::to_string(sentence[i]) + " and " + std::to_string(sentence[i + 1]);
            if (listGaps)
                problems.push_back({gapInfo, page.name, pair + ": " + std::to_string(gap) + " px"});
            const int narrowest = narrowestGap(measure, font, measure.textOf(first->text), measure.textOf(next->text));
            if (gap < narrowest)
                problems.push_back({overlap, page.name, pair + ": " + std::to_string(gap) + " px apart, " + std::to_string(narrowest)
                                                             + " needed to read as two words"});
            else if (gap > 2 * measure.wordGap(font))
                problems.push_back({hole, page.name, pair + ": " + std::to_string(gap) + " px between the pieces ("
                                                        + std::to_string(measure.wordGap(font)) + " between words)"});
        }
    }
}

void checkCaptions(Measurer& measure, const PageView& page, const StringCatalogue& texts,
                   std::vector<Problem>& problems)
{
    for (const ControlView& control : page.controls) {
        if (control.kind == ControlKind::list) {
            for (int column = 0; column < 3; ++column) {
                const std::wstring title = texts.text(56 + column);
                HFONT font = measure.font({10, 400});
                const RECT calc = measure.calculated(title, font, {0, 0, 1000, 100}, DT_SINGLELINE);
                if (calc.right - calc.left + listHeaderPadding > imageListColumnWidths[column])
                    problems.push_back({caption, page.name,
                                        "column title " + std::to_string(56 + column) + " is "
                                            + std::to_string(calc.right - calc.left) + " px in a "
                                            + std::to_string(imageListColumnWidths[column]) + " px column"});
            }
            continue;
        }
        if (control.kind != ControlKind::skinButton)
            continue;
        const std::wstring label = measure.textOf(control.caption);
        ButtonState state;
        state.disabled = control.disabled;
        const CaptionLayout layout = captionLayout(control.mode, control.place.width(), control.place.height(), state);
        HFONT font = measure.font({control.font.points, control.font.weight});
        const RECT calc = measure.calculated(label, font, layout.rect, layout.flags);
        const int height = (layout.flags & DT_SINGLELINE) ? measure.characterHeight(font) : calc.bottom - calc.top;
        if (calc.right - calc.left > layout.rect.width() || height > layout.rect.height())
            problems.push_back({caption, page.name,
                                "button " + std::to_string(control.controlId) + " \"" + narrow(label) + "\" needs "
                                    + std::to_string(calc.right - calc.left) + "x" + std::to_string(height) + " in "
                                    + std::to_string(layout.rect.width()) + "x"
                                    + std::to_string(layout.rect.height())});
    }
}

// The page column of the table: the menu pages' states count as one page.
std::string pageColumn(const std::string& view)
{
    const std::size_t hover = view.find("-hover-");
    return hover == std::string::npos ? view : view.substr(0, hover);
}

bool loadSection(const fs::path& file, const std::wstring& code, StringCatalogue& texts)
{
    std::vector<wchar_t> section(100000, L'\0');
    const DWORD copied = GetPrivateProfileSectionW(code.c_str(), section.data(), static_cast<DWORD>(section.size()),
                                                   file.c_str());
    texts.fillFromSection(std::wstring_view(section.data(), copied));
    return copied > 0;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    std::vector<std::wstring> arguments(argv + 1, argv + argc);
    listGaps = !arguments.empty() && arguments.front() == L"--gaps";
    if (listGaps)
        arguments.erase(arguments.begin());
    const fs::path folder = !arguments.empty() ? fs::path(arguments.front())
                                               : fs::path(programFolder()) / L"Lang" / L"Quorvane";
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(folder))
        if (entry.path().extension() == L".ini")
            files.push_back(entry.path());
    std::ranges::sort(files);
    if (files.empty()) {
        std::fprintf(stderr, "fitcheck: no language files in %s\n", narrow(folder.wstring()).c_str());
        return 2;
    }

    const std::vector<std::string> columns = {"main-menu", "tools", "backup-options", "backup-confirm",
                                              "restore-select", "restore-confirm"};
    std::printf("%-6s", "code");
    for (const std::string& column : columns)
        std::printf(" %16s", column.c_str());
    std::printf("   (overflows/overlaps/holes, captions, under controls)\n");

    std::vector<std::pair<std::wstring, Problem>> all;
    bool failed = false;
    for (const fs::path& file : files) {
        const std::wstring code = file.stem().wstring();
        StringCatalogue texts;
        if (!loadSection(file, code, texts)) {
            std::printf("%-6s no section [%s]\n", narrow(code).c_str(), narrow(code).c_str());
            failed = true;
            continue;
        }
        Measurer measure(texts);
        std::vector<Problem> problems;
        for (const PageView& page : pageViews(code, texts)) {
            checkTexts(measure, page, problems);
            checkSentences(measure, page, problems);
            checkCaptions(measure, page, texts, problems);
        }
        // A state of a menu page repeats the buttons of the others: count each problem once.
        std::vector<Problem> unique;
        for (Problem& problem : problems) {
            problem.page = pageColumn(problem.page);
            const bool seen = std::ranges::any_of(unique, [&](const Problem& p) {
                return p.kind == problem.kind && p.page == problem.page && p.what == problem.what;
            });
            if (!seen)
                unique.push_back(problem);
        }
        std::printf("%-6s", narrow(code).c_str());
        int captions = 0, underControls = 0;
        for (const std::string& column : columns) {
            int counts[kindCount] = {};
            for (const Problem& problem : unique)
                if (problem.page == column)
                    ++counts[problem.kind];
            char cell[32];
            std::snprintf(cell, sizeof cell, "%d/%d/%d", counts[overflow], counts[overlap], counts[hole]);
            std::printf(" %16s", cell);
            captions += counts[caption];
            underControls += counts[underControl];
        }
        std::printf("   %d, %d\n", captions, underControls);
        for (const Problem& problem : unique) {
            failed = failed || (problem.kind != hole && problem.kind != gapInfo);
            all.push_back({code, problem});
        }
    }
    for (const auto& [code, problem] : all)
        std::printf("%s %s: %s: %s\n", narrow(code).c_str(), problem.page.c_str(), kindNames[problem.kind],
                    problem.what.c_str());
    std::printf(failed ? "fit check: FAILED\n" : "fit check: every text fits\n");
    return failed ? 1 : 0;
}
