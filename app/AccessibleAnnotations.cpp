#include "app/AccessibleAnnotations.h"

namespace quorvane {

AccessibleAnnotations::AccessibleAnnotations()
{
    if (FAILED(CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER, IID_IAccPropServices,
                                reinterpret_cast<void**>(&service_))))
        service_ = nullptr;
}

AccessibleAnnotations::~AccessibleAnnotations()
{
    if (service_)
        service_->Release();
}

void AccessibleAnnotations::nameAfterDrawnLabel(HWND control, const std::wstring& label)
{
    if (service_)
        service_->SetHwndPropStr(control, OBJID_CLIENT, CHILDID_SELF, PROPID_ACC_NAME, label.c_str());
    HWND hiddenLabel = CreateWindowExW(0, L"Static", label.c_str(), WS_CHILD | SS_LEFT | SS_NOPREFIX, 0, 0, 0, 0,
                                       GetParent(control), nullptr, GetModuleHandleW(nullptr), nullptr);
    HWND before = GetWindow(control, GW_HWNDPREV);
    SetWindowPos(hiddenLabel, before ? before : HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void AccessibleAnnotations::setNumber(HWND control, const MSAAPROPID& property, LONG value)
{
    VARIANT number{};
    number.vt = VT_I4;
    number.lVal = value;
    service_->SetHwndProp(control, OBJID_CLIENT, CHILDID_SELF, property, number);
}

void AccessibleAnnotations::describeRadioChoice(HWND button, bool chosen)
{
    if (!service_)
        return;
    setNumber(button, PROPID_ACC_ROLE, ROLE_SYSTEM_RADIOBUTTON);
    if (chosen) {
        setNumber(button, PROPID_ACC_STATE, STATE_SYSTEM_CHECKED);
    } else {
        // Its own state again: focusable, and focused when it is.
        const MSAAPROPID state = PROPID_ACC_STATE;
        service_->ClearHwndProps(button, OBJID_CLIENT, CHILDID_SELF, &state, 1);
    }
}

} // namespace quorvane
