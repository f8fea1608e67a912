#include "skin/WizardLayout.h"

#include <algorithm>

namespace quorvane {

PictureStep wizardBackground()
{
    return copyPicture(L"background_step.dat", 720, 480);
}

bool isOneOf(std::wstring_view code, std::initializer_list<std::wstring_view> codes)
{
    return std::ranges::find(codes, code) != codes.end();
}

bool hasSecondStepLines(std::wstring_view code)
{
    return isOneOf(code, {L"409", L"406"});
}

} // namespace quorvane
