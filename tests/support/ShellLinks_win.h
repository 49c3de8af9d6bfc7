#pragma once
// Shell links saved through IShellLinkW, as an installer or the user makes them.

#include <windows.h>

#include <shlobj.h>
#include <shobjidl.h>

#include <filesystem>
#include <string>

namespace testing_support {

struct ComApartment {
    ComApartment() { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
    ~ComApartment() { CoUninitialize(); }
};

// Needs COM on this thread (a ComApartment). Empty arguments or folder are left unset.
inline bool saveShellLink(const std::filesystem::path& file, const std::filesystem::path& target,
                          const std::wstring& arguments = L"", const std::filesystem::path& folder = {}) {
    IShellLinkW* link = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                reinterpret_cast<void**>(&link))))
        return false;
    link->SetPath(target.c_str());
    if (!arguments.empty()) link->SetArguments(arguments.c_str());
    if (!folder.empty()) link->SetWorkingDirectory(folder.c_str());
    IPersistFile* persist = nullptr;
    const bool ok = SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&persist))) &&
                    SUCCEEDED(persist->Save(file.c_str(), TRUE));
    if (persist) persist->Release();
    link->Release();
    return ok;
}

} // namespace testing_support
