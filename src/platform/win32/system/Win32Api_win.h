#pragma once
// Win32 functions that older systems or other builds of the libraries may lack, resolved at run time in this
// one place. Each accessor loads its library and looks the function up once; null when it is missing.

#include <windows.h>

namespace platform::win32::api {

using CreateProcessWithTokenWFn = BOOL(WINAPI*)(HANDLE, DWORD, LPCWSTR, LPWSTR, DWORD, LPVOID, LPCWSTR, LPSTARTUPINFOW,
                                                LPPROCESS_INFORMATION);
// NtQueryInformationProcess(ProcessBasicInformation): the record's fifth pointer-sized field is the id.
using NtQueryInformationProcessFn = LONG(WINAPI*)(HANDLE, int, PVOID, ULONG, PULONG);
using Wow64DisableRedirectionFn = BOOL(WINAPI*)(PVOID*);
using Wow64RevertRedirectionFn = BOOL(WINAPI*)(PVOID);

CreateProcessWithTokenWFn createProcessWithTokenW();        // "ADVAPI32.dll"
NtQueryInformationProcessFn ntQueryInformationProcess();    // "ntdll.dll"
Wow64DisableRedirectionFn wow64DisableWow64FsRedirection(); // "kernel32.dll"
Wow64RevertRedirectionFn wow64RevertWow64FsRedirection();

} // namespace platform::win32::api
