#include "support/AccessibleNames.h"

#include "platform/ComApartment.h"
#include "support/ProgramUnderTest.h"
#include "tests/support/TestFiles.h"
#include "tools/pages/PageViews.h"

#include <oleacc.h>

#include <set>

namespace quorvane::testing {

std::wstring accessibleName(HWND control)
{
    IAccessible* object = nullptr;
    if (FAILED(AccessibleObjectFromWindow(control, OBJID_CLIENT, IID_IAccessible, reinterpret_cast<void**>(&object))))
        return {};
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR name = nullptr;
    std::wstring text;
    if (SUCCEEDED(object->get_accName(self, &name)) && name)
        text = name;
    SysFreeString(name);
    object->Release();
    return text;
}

namespace {

// The control with this id on whichever page holds it, hidden pages included.
HWND pageControl(HWND shell, int id)
{
    for (HWND page = GetWindow(shell, GW_CHILD); page; page = GetWindow(page, GW_HWNDNEXT)) {
        if (HWND control = GetDlgItem(page, id))
            return control;
    }
    return nullptr;
}

} // namespace

std::vector<std::string> misnamedControls(HWND shell, const std::wstring& languageCode, const StringCatalogue& texts)
{
    const ComApartmentScope com;
    std::vector<std::string> misnamed;
    std::set<int> checked;
    for (const PageView& page : pageViews(languageCode, texts)) {
        for (const ControlView& view : page.controls) {
            if (!checked.insert(view.controlId).second)
                continue;
            HWND control = pageControl(shell, view.controlId);
            const bool button = view.kind == ControlKind::skinButton;
            std::wstring expected = texts.text(view.labelId);
            if (button)
                expected = std::holds_alternative<int>(view.caption) ? texts.text(std::get<int>(view.caption))
                                                                     : std::get<std::wstring>(view.caption);
            const std::string which = std::to_string(view.controlId) + " (" + narrow(expected) + ")";
            if (button && controlText(control) != expected)
                misnamed.push_back(which + " has the window text " + narrow(controlText(control)));
            if (accessibleName(control) != expected)
                misnamed.push_back(which + " is named " + narrow(accessibleName(control)));
        }
    }
    return misnamed;
}

} // namespace quorvane::testing
