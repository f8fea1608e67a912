#include "platform/windows/Wimgapi.h"

#include "platform/Win32Handles.h"

#include <windows.h>

namespace quorvane {

namespace {

using WimCreateFile = HANDLE(WINAPI*)(PCWSTR path, DWORD desiredAccess, DWORD creationDisposition,
                                      DWORD flagsAndAttributes, DWORD compressionType, PDWORD creationResult);
using WimGetImageInformation = BOOL(WINAPI*)(HANDLE image, PVOID* information, PDWORD informationBytes);
using WimCloseHandle = BOOL(WINAPI*)(HANDLE object);

template <typename Function>
Function libraryFunction(HMODULE library, const char* name)
{
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

WimgapiAnswer failure()
{
    return GetLastError() == ERROR_CALL_NOT_IMPLEMENTED ? WimgapiAnswer::unavailable : WimgapiAnswer::failed;
}

// A handle of the library, closed with its own WIMCloseHandle.
class WimHandle {
public:
    WimHandle(HANDLE handle, WimCloseHandle close) : handle_(handle), close_(close) {}
    WimHandle(const WimHandle&) = delete;
    WimHandle& operator=(const WimHandle&) = delete;
    ~WimHandle()
    {
        if (handle_)
            close_(handle_);
    }
    HANDLE get() const { return handle_; }

private:
    HANDLE handle_;
    WimCloseHandle close_;
};

} // namespace

WimgapiAnswer readDescriptionWithWimgapi(const std::wstring& path, std::wstring& description)
{
    const UniqueModule library(LoadLibraryExW(L"wimgapi.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32));
    if (!library)
        return WimgapiAnswer::unavailable;
    const auto createFile = libraryFunction<WimCreateFile>(library.get(), "WIMCreateFile");
    const auto getImageInformation = libraryFunction<WimGetImageInformation>(library.get(), "WIMGetImageInformation");
    const auto closeHandle = libraryFunction<WimCloseHandle>(library.get(), "WIMCloseHandle");
    if (!createFile || !getImageInformation || !closeHandle)
        return WimgapiAnswer::unavailable;

    SetLastError(ERROR_SUCCESS);
    const WimHandle image(createFile(path.c_str(), GENERIC_READ, OPEN_EXISTING, 0, 0, nullptr), closeHandle);
    if (!image.get())
        return failure();
    void* information = nullptr;
    DWORD bytes = 0;
    SetLastError(ERROR_SUCCESS);
    if (!getImageInformation(image.get(), &information, &bytes))
        return failure();
    const UniqueLocalMemory owned(information);
    if (!information)
        return WimgapiAnswer::failed;
    // NUL-terminated UTF-16; the byte count bounds the text all the same.
    const auto* text = static_cast<const wchar_t*>(information);
    const std::size_t units = bytes / sizeof(wchar_t);
    std::size_t length = 0;
    while (length < units && text[length] != L'\0')
        ++length;
    description.assign(text, length);
    return WimgapiAnswer::read;
}

} // namespace quorvane
