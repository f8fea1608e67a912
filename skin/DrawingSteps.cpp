#include "skin/DrawingSteps.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

namespace quorvane {

PictureStep copyPicture(std::wstring picture, int width, int height, int x, int y)
{
    return {std::move(picture), PictureCopy::plain, {0, 0, width, height}, {x, y, x + width, y + height}, 0};
}

PictureStep stretchPicture(std::wstring picture, PixelRect source, PixelRect destination)
{
    return {std::move(picture), PictureCopy::halftoneStretch, source, destination, 0};
}

PictureStep keyedPicture(std::wstring picture, PixelRect source, int x, int y, Colour key)
{
    const PixelRect destination{x, y, x + source.width(), y + source.height()};
    return {std::move(picture), PictureCopy::colourKeyed, source, destination, key};
}

TextStep catalogueText(int id, FontSpec font, std::optional<Colour> colour, PixelRect rect)
{
    return {id, font, colour, rect, textFlags::wordBreak};
}

std::vector<FontSpec> fontsInOrder(const DrawingSteps& steps)
{
    std::vector<FontSpec> fonts;
    for (const DrawingStep& step : steps) {
        if (const auto* text = std::get_if<TextStep>(&step)) {
            if (std::find(fonts.begin(), fonts.end(), text->font) == fonts.end())
                fonts.push_back(text->font);
        }
    }
    return fonts;
}

Colour colourInForce(const DrawingSteps& steps, std::size_t index, Colour initial)
{
    Colour colour = initial;
    for (std::size_t i = 0; i <= index && i < steps.size(); ++i) {
        if (const auto* text = std::get_if<TextStep>(&steps[i]); text && text->colour)
            colour = *text->colour;
    }
    return colour;
}

int fontHeight(int points, int dotsPerInch)
{
    // MulDiv(points, dotsPerInch, 72): the exact quotient rounded half away from zero.
    const long long product = static_cast<long long>(points) * dotsPerInch;
    const long long magnitude = (std::llabs(product) + 36) / 72;
    return static_cast<int>(product < 0 ? magnitude : -magnitude);
}

} // namespace quorvane
