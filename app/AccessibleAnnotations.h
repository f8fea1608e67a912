// What screen readers are told about controls beyond what the controls say
// themselves: the name of a control whose label the page draws, and the
// compression choices as radio buttons. Windows' annotation service (oleacc)
// carries it for the life of the control; where the platform has no such
// service, the values are left out quietly.
#pragma once

#include "platform/ComApartment.h"

#include <windows.h>

#include <oleacc.h>

#include <string>

namespace quorvane {

class AccessibleAnnotations {
public:
    AccessibleAnnotations();
    AccessibleAnnotations(const AccessibleAnnotations&) = delete;
    AccessibleAnnotations& operator=(const AccessibleAnnotations&) = delete;
    ~AccessibleAnnotations();

    // Names a control after the label its page draws above it. A label that
    // shows nothing goes just before the control as well: screen readers and
    // platforms that name a control after the static text before it find it.
    void nameAfterDrawnLabel(HWND control, const std::wstring& label);

    // A radio-style button reports itself as a radio button; the chosen one,
    // disabled to show it, as checked rather than as unavailable.
    void describeRadioChoice(HWND button, bool chosen);

private:
    void setNumber(HWND control, const MSAAPROPID& property, LONG value);

    ComApartmentScope com_; // outlives service_
    IAccPropServices* service_ = nullptr;
};

} // namespace quorvane
