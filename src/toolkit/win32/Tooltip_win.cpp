#include "toolkit/win32/Tooltip_win.h"

#include <commctrl.h>

#include "platform/win32/system/Win32Check_win.h"

namespace ui::win32 {

namespace {

TTTOOLINFOW toolInfo(HWND owner, const wchar_t* text = nullptr) {
    TTTOOLINFOW info{};
    // The version 5 size: without a version 6 manifest the control refuses the longer structure.
    info.cbSize = TTTOOLINFOW_V2_SIZE;
    info.uFlags = TTF_TRACK | TTF_TRANSPARENT;
    info.hwnd = owner;
    info.uId = 1;
    info.lpszText = const_cast<wchar_t*>(text);
    return info;
}

LPARAM asParam(TTTOOLINFOW& info) {
    return reinterpret_cast<LPARAM>(&info);
}

} // namespace

Tooltip::~Tooltip() {
    // Gone already when its owner was destroyed first.
    if (m_tip && IsWindow(m_tip)) DestroyWindow(m_tip);
}

bool Tooltip::ensureWindow() {
    if (m_tip) return true;
    // Start-up registers the common controls; a host in a test program may be the first to need them.
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    m_tip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, 0, 0, 0,
                            0, m_owner, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!KV_WIN32_CHECK(m_tip)) return false;
    TTTOOLINFOW info = toolInfo(m_owner, L"");
    if (!KV_WIN32_CHECK(SendMessageW(m_tip, TTM_ADDTOOLW, 0, asParam(info)))) {
        DestroyWindow(m_tip);
        m_tip = nullptr;
        return false;
    }
    SendMessageW(m_tip, TTM_SETMAXTIPWIDTH, 0, m_maxWidth);
    return true;
}

void Tooltip::hover(std::wstring_view text, POINT screen) {
    m_at = screen;
    if (text == m_text) return; // waiting, shown or dismissed: it stays so
    m_text = text;
    if (m_text.empty() || !ensureWindow()) return dismiss();
    TTTOOLINFOW info = toolInfo(m_owner, m_text.c_str());
    SendMessageW(m_tip, TTM_UPDATETIPTEXTW, 0, asParam(info));
    if (m_shown) return show(); // from one tip to the next without a second wait
    const auto delay = static_cast<UINT>(SendMessageW(m_tip, TTM_GETDELAYTIME, TTDT_INITIAL, 0));
    KV_WIN32_CHECK(SetTimer(m_tip, reinterpret_cast<UINT_PTR>(this), delay, &Tooltip::onDelay));
}

void CALLBACK Tooltip::onDelay(HWND tip, UINT, UINT_PTR self, DWORD) {
    // The timer dies with the tip window, which dies before this object.
    KillTimer(tip, self);
    reinterpret_cast<Tooltip*>(self)->show();
}

void Tooltip::show() {
    // Just below the arrow, where the system's own tips sit; the control keeps it on the screen.
    const int below = GetSystemMetrics(SM_CYCURSOR) * 2 / 3;
    SendMessageW(m_tip, TTM_TRACKPOSITION, 0, MAKELPARAM(m_at.x, m_at.y + below));
    TTTOOLINFOW info = toolInfo(m_owner);
    SendMessageW(m_tip, TTM_TRACKACTIVATE, TRUE, asParam(info));
    m_shown = true;
}

void Tooltip::dismiss() {
    if (!m_tip) return;
    KillTimer(m_tip, reinterpret_cast<UINT_PTR>(this));
    if (!m_shown) return;
    TTTOOLINFOW info = toolInfo(m_owner);
    SendMessageW(m_tip, TTM_TRACKACTIVATE, FALSE, asParam(info));
    m_shown = false;
}

} // namespace ui::win32
