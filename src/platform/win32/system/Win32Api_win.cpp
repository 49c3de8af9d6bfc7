#include "platform/win32/system/Win32Api_win.h"

namespace platform::win32::api {
namespace {

template <class Fn>
Fn resolve(const wchar_t* library, const char* name) {
    HMODULE module = GetModuleHandleW(library);
    if (!module) module = LoadLibraryW(library);
    if (!module) return nullptr;
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

} // namespace

CreateProcessWithTokenWFn createProcessWithTokenW() {
    static const auto fn = resolve<CreateProcessWithTokenWFn>(L"ADVAPI32.dll", "CreateProcessWithTokenW");
    return fn;
}

NtQueryInformationProcessFn ntQueryInformationProcess() {
    static const auto fn = resolve<NtQueryInformationProcessFn>(L"ntdll.dll", "NtQueryInformationProcess");
    return fn;
}

Wow64DisableRedirectionFn wow64DisableWow64FsRedirection() {
    static const auto fn = resolve<Wow64DisableRedirectionFn>(L"kernel32.dll", "Wow64DisableWow64FsRedirection");
    return fn;
}

Wow64RevertRedirectionFn wow64RevertWow64FsRedirection() {
    static const auto fn = resolve<Wow64RevertRedirectionFn>(L"kernel32.dll", "Wow64RevertWow64FsRedirection");
    return fn;
}

} // namespace platform::win32::api
