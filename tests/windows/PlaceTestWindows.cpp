// A tiny stand-in for instance windows: opens N top-level 16:9 windows titled "0" to "N-1" (the last one
// minimised when "minimize-last" is given) that answer the place messages 13000/13001 by moving to the
// packed point and taking the given outer width or height, keeping 16:9. Runs until it is ended.
//
//   arrange_test_windows.exe 6 [minimize-last]

#include <windows.h>

#include <cwchar>
#include <string>

#include "core/arrange/PlaceMessages.h"

namespace {

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == arrange::kMsgPlaceByWidth || message == arrange::kMsgPlaceByHeight) {
        const auto packed = static_cast<std::uint32_t>(wParam);
        const int size = static_cast<int>(lParam);
        const bool byWidth = message == arrange::kMsgPlaceByWidth;
        const int width = byWidth ? size : size * 16 / 9;
        const int height = byWidth ? size * 9 / 16 : size;
        MoveWindow(window, arrange::placePointX(packed), arrange::placePointY(packed), width, height, TRUE);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    const int count = argc > 1 ? std::wcstol(argv[1], nullptr, 10) : 1;
    const bool minimizeLast = argc > 2 && std::wcscmp(argv[2], L"minimize-last") == 0;
    WNDCLASSW wc{};
    wc.lpfnWndProc = windowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"KVArrangeTestWindow";
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    if (!RegisterClassW(&wc)) return 1;
    for (int i = 0; i < count; ++i) {
        HWND w = CreateWindowExW(0, wc.lpszClassName, std::to_wstring(i).c_str(), WS_OVERLAPPEDWINDOW, 30 * i, 20 * i,
                                 320, 180, nullptr, nullptr, wc.hInstance, nullptr);
        if (!w) return 2;
        ShowWindow(w, SW_SHOWNOACTIVATE);
        if (minimizeLast && i == count - 1) ShowWindow(w, SW_SHOWMINNOACTIVE); // minimised by its user
    }
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
