// Other processes' windows for the window arrangement, the system version and "data\data.ini".

#include "platform/win32/arrange/WindowSystem_win.h"

#include <cwchar>

#include "core/arrange/PlaceMessages.h"
#include "platform/win32/system/Win32Check_win.h"

namespace platform::win32 {

namespace {

// A window that stops answering must not hold the arrangement for ever: the send gives up after this long,
// and at once when the system already counts the window as hung.
constexpr UINT kSendTimeoutMs = 10000;

// Placements of other processes' windows are posted to the window's own thread (SWP_ASYNCWINDOWPOS): a
// synchronous SetWindowPos waits for a hung window's answer and would hold the arranger thread for good.
constexpr UINT kAsync = SWP_ASYNCWINDOWPOS;

bool sendBlocking(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(window, message, wParam, lParam, SMTO_NORMAL | SMTO_ABORTIFHUNG, kSendTimeoutMs,
                               &result) != 0;
}

} // namespace

Win32WindowSystem::Win32WindowSystem(const std::filesystem::path& programFolder)
    : m_dataIni(programFolder / L"data" / L"data.ini") {}

bool Win32WindowSystem::windowRect(platform::WindowHandle window, geometry::Rect& out) {
    RECT r{};
    if (!GetWindowRect(hwndOf(window), &r)) return false;
    out = rectOf(r);
    return true;
}

bool Win32WindowSystem::normalRect(platform::WindowHandle window, geometry::Rect& out) {
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    if (!GetWindowPlacement(hwndOf(window), &placement)) return false;
    out = rectOf(placement.rcNormalPosition);
    return true;
}

bool Win32WindowSystem::isMinimized(platform::WindowHandle window) {
    return IsIconic(hwndOf(window)) != 0;
}

void Win32WindowSystem::restore(platform::WindowHandle window) {
    KV_WIN32_CHECK(sendBlocking(hwndOf(window), WM_SYSCOMMAND, SC_RESTORE, 0));
}

void Win32WindowSystem::bringToFront(platform::WindowHandle window) {
    // Windows may refuse the foreground to a background process; the placement goes on regardless.
    SetForegroundWindow(hwndOf(window));
    SetWindowPos(hwndOf(window), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | kAsync);
}

void Win32WindowSystem::place(platform::WindowHandle window, platform::WindowHandle behind, int x, int y) {
    KV_WIN32_CHECK(SetWindowPos(hwndOf(window), hwndOf(behind), x, y, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW | kAsync));
}

void Win32WindowSystem::sendPlaceMessage(platform::WindowHandle window, unsigned message, int x, int y, int size) {
    const WPARAM point = arrange::packPlacePoint(x, y);
    KV_WIN32_CHECK(sendBlocking(hwndOf(window), message, point, static_cast<LPARAM>(size)));
}

bool Win32WindowSystem::isWindows11() {
    static const bool windows11 = runningOnWindows11();
    return windows11;
}

platform::Overlap Win32WindowSystem::readOverlap() {
    auto read = [this](const wchar_t* key) {
        wchar_t text[64] = {};
        GetPrivateProfileStringW(L"setting", key, L"0", text, static_cast<DWORD>(std::size(text)), m_dataIni.c_str());
        return static_cast<int>(std::wcstol(text, nullptr, 10)); // non-numeric text gives 0
    };
    return {read(L"overlapX"), read(L"overlapY")};
}

bool runningOnWindows11() {
    // GetVersionEx lies to programs without a compatibility manifest; the kernel's record does not.
    using RtlGetVersionFn = LONG(WINAPI*)(OSVERSIONINFOW*);
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    const auto rtlGetVersion =
        ntdll ? reinterpret_cast<RtlGetVersionFn>(reinterpret_cast<void*>(GetProcAddress(ntdll, "RtlGetVersion")))
              : nullptr;
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof info;
    if (!rtlGetVersion || rtlGetVersion(&info) != 0) return false;
    return info.dwMajorVersion == 10 && info.dwBuildNumber >= 22000;
}

} // namespace platform::win32
