// A Windows library that most runs of the program never need, loaded on first
// use and from the system folder alone (never a file of that name beside the
// program). The file dialogs' and the shell's libraries would otherwise be
// loaded, with what they need in turn, before the first window shows.
#pragma once

#include "platform/Win32Handles.h"

namespace quorvane {

class SystemLibrary {
public:
    explicit SystemLibrary(const wchar_t* fileName)
        : module_(LoadLibraryExW(fileName, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32))
    {
    }

    // The library's function `name` with the type of `Function`, or null
    // when the library or the function is missing.
    template <typename Function>
    Function* function(const char* name) const
    {
        if (!module_)
            return nullptr;
        return reinterpret_cast<Function*>(reinterpret_cast<void*>(GetProcAddress(module_.get(), name)));
    }

private:
    UniqueModule module_;
};

} // namespace quorvane
