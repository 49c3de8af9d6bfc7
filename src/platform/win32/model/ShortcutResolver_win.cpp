#include "platform/win32/model/ShortcutResolver_win.h"

// <windows.h> first: <msi.h> needs its types.
#include <windows.h>

#include <msi.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <cwctype>
#include <string>

#include "core/log/Log.h"
#include "platform/win32/system/Owned_win.h"

namespace platform::win32 {
namespace {

constexpr std::size_t kTargetChars = 260; // the 520-byte target buffer, terminator included

bool endsWithLnk(const std::wstring& path) {
    if (path.size() < 5) return false;
    std::wstring tail = path.substr(path.size() - 4);
    for (auto& c : tail) c = static_cast<wchar_t>(std::towlower(c));
    return tail == L".lnk";
}

// Advertised shortcuts of installer packages point at a component, not at a file.
std::wstring installerTarget(const std::wstring& shortcut) {
    wchar_t product[39] = {};
    wchar_t feature[MAX_FEATURE_CHARS + 1] = {};
    wchar_t component[39] = {};
    if (MsiGetShortcutTargetW(shortcut.c_str(), product, feature, component) != ERROR_SUCCESS) return {};
    wchar_t path[32768] = {};
    DWORD length = 32768;
    if (MsiGetComponentPathW(product, component, path, &length) != INSTALLSTATE_LOCAL) return {};
    return std::wstring(path, length);
}

// COM for this call only, whatever apartment the calling thread is in.
struct ComScope {
    HRESULT hr = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    ~ComScope() {
        if (SUCCEEDED(hr)) CoUninitialize();
    }
};

std::wstring linkTarget(const std::wstring& shortcut) {
    ComScope com;
    platform::win32::ComPtr<IShellLinkW> link;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link.putVoid())))
        return {};
    std::wstring target;
    platform::win32::ComPtr<IPersistFile> file;
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, file.putVoid())) &&
        SUCCEEDED(file->Load(shortcut.c_str(), STGM_READ))) {
        wchar_t path[32768] = {};
        if (SUCCEEDED(link->GetPath(path, 32768, nullptr, SLGP_RAWPATH))) target = path;
    }
    return target;
}

} // namespace

std::filesystem::path resolveShortcutFromFile(const std::filesystem::path& shortcut) {
    const std::wstring path = shortcut.wstring();
    if (!endsWithLnk(path)) return {};
    std::wstring target = installerTarget(path);
    if (target.empty()) target = linkTarget(path);
    if (target.size() >= kTargetChars) {
        KVLOG(L"resolveShortcutFromFile buffer is too small");
        return {};
    }
    return std::filesystem::path(target);
}

} // namespace platform::win32
