// COM for this thread for the length of a scope, for the few platform services
// that need it (the shell's verbs, the accessibility annotations). Where the
// thread is in an apartment already, the scope leaves it as it is.
#pragma once

#include <objbase.h>

namespace quorvane {

class ComApartmentScope {
public:
    ComApartmentScope()
        : entered_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE)))
    {
    }
    ComApartmentScope(const ComApartmentScope&) = delete;
    ComApartmentScope& operator=(const ComApartmentScope&) = delete;
    ~ComApartmentScope()
    {
        if (entered_)
            CoUninitialize();
    }

private:
    bool entered_;
};

} // namespace quorvane
