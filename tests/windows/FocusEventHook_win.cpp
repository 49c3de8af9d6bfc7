// win_focus_hook.dll: an in-context WinEvent hook that a test installs on the manager's process. The system
// loads this library into the manager and calls the hook there, on the thread that raised the event; the
// hook posts the event's window and child id to the test's window of class KVTestFocusEvents (WM_APP).
//
// Why in context: under Wine an out-of-context hook never hears another process's events (docs/WINE.md).

#include <windows.h>

extern "C" __declspec(dllexport) void CALLBACK
    kvFocusEventHook(HWINEVENTHOOK, DWORD event, HWND hwnd, LONG object, LONG child, DWORD, DWORD) {
    if (event != EVENT_OBJECT_FOCUS || object != OBJID_CLIENT) return;
    if (HWND test = FindWindowExW(HWND_MESSAGE, nullptr, L"KVTestFocusEvents", nullptr))
        PostMessageW(test, WM_APP, reinterpret_cast<WPARAM>(hwnd), static_cast<LPARAM>(child));
}
