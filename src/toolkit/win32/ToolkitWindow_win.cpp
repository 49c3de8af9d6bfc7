#include "toolkit/win32/ToolkitWindow_win.h"

#include <windowsx.h>

#include <cstring>
#include <optional>

#include "platform/win32/system/Win32Check_win.h"
#include "toolkit/win32/GdiPainter_win.h"

namespace ui::win32 {

namespace {

std::optional<Key> keyOf(WPARAM vk) {
    switch (vk) {
    case VK_TAB:
        return Key::Tab;
    case VK_RETURN:
        return Key::Return;
    case VK_ESCAPE:
        return Key::Escape;
    case VK_SPACE:
        return Key::Space;
    case VK_LEFT:
        return Key::Left;
    case VK_RIGHT:
        return Key::Right;
    case VK_UP:
        return Key::Up;
    case VK_DOWN:
        return Key::Down;
    case VK_HOME:
        return Key::Home;
    case VK_END:
        return Key::End;
    case VK_BACK:
        return Key::Back;
    case VK_DELETE:
        return Key::Delete;
    case 'A':
        return Key::A;
    case 'C':
        return Key::C;
    case 'V':
        return Key::V;
    case 'X':
        return Key::X;
    default:
        return std::nullopt;
    }
}

// Skin pixels after which a tooltip wraps.
constexpr int kTooltipWidth = 400;

Point pointOf(LPARAM lParam) {
    return {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
}

bool registerClass(std::wstring_view name, WNDPROC proc) {
    WNDCLASSEXW wc{};
    if (GetClassInfoExW(GetModuleHandleW(nullptr), std::wstring(name).c_str(), &wc)) return true;
    wc = {};
    wc.cbSize = sizeof(wc);
    wc.style = CS_DBLCLKS; // an edit selects all on a double click
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    const std::wstring className(name);
    wc.lpszClassName = className.c_str();
    return KV_WIN32_CHECK(RegisterClassExW(&wc));
}

} // namespace

ToolkitWindow::ToolkitWindow(Window& window, SkinResources& resources)
    : m_window(window), m_resources(resources), m_images(resources), m_fonts(window) {
    m_window.setTextMetrics(&m_fonts);
    m_window.setOnInvalidate([this] {
        if (m_hwnd) InvalidateRect(m_hwnd, nullptr, FALSE);
    });
    m_window.setOnHostClose([this] { afterInput(); });
    // A screen reader hooks the focus events before it asks the window for anything, so the event goes out
    // whenever someone listens (the accessible tree then exists from the first move on). Wine answers
    // IsWinEventHookInstalled with TRUE always.
    m_window.setOnFocusChanged([this](Control* focused) {
        if (m_hwnd && IsWinEventHookInstalled(EVENT_OBJECT_FOCUS)) notifyAccessibleFocus(*accessLink(), focused);
    });
    m_window.setOnDropDown([this](Control& control) {
        if (auto* combo = dynamic_cast<Combo*>(&control)) openDropDown(*combo);
    });
}

ToolkitWindow::~ToolkitWindow() {
    // Objects a client still holds answer "disconnected" from now on.
    if (m_accessLink) *m_accessLink = {};
    m_window.setOnFocusChanged(nullptr);
    releaseOwner();
    m_tooltip.reset();
    m_dropDownHost.reset();
    m_dropDown.reset();
    m_window.setOnDropDown(nullptr);
    m_window.setOnHostClose(nullptr);
    m_window.setClipboard(nullptr);
    m_window.setOnInvalidate(nullptr);
    m_window.setTextMetrics(nullptr);
    if (m_hwnd) {
        SetWindowLongPtrW(m_hwnd, GWLP_USERDATA, 0);
        DestroyWindow(m_hwnd);
    }
}

bool ToolkitWindow::create(HWND owner, std::wstring_view className, std::wstring_view title, DWORD style) {
    if (!registerClass(className, &ToolkitWindow::windowProc)) return false;
    const Size client = m_window.scaledInitialSize();
    RECT frame{0, 0, client.cx, client.cy};
    AdjustWindowRectEx(&frame, style, FALSE, 0);
    m_hwnd = CreateWindowExW(0, std::wstring(className).c_str(), std::wstring(title).c_str(), style, CW_USEDEFAULT,
                             CW_USEDEFAULT, frame.right - frame.left, frame.bottom - frame.top, owner, nullptr,
                             GetModuleHandleW(nullptr), this);
    if (!KV_WIN32_CHECK(m_hwnd)) return false;
    m_tooltip = std::make_unique<Tooltip>(m_hwnd, scaled(kTooltipWidth, m_window.scale()));
    m_clipboard = std::make_unique<Win32Clipboard>(m_hwnd);
    m_window.setClipboard(m_clipboard.get());
    RECT r{};
    GetClientRect(m_hwnd, &r);
    m_window.resize({r.right - r.left, r.bottom - r.top});
    return true;
}

LRESULT CALLBACK ToolkitWindow::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<ToolkitWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->m_hwnd = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<ToolkitWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self) return DefWindowProcW(hwnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        self->m_hwnd = nullptr;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    return self->handle(message, wParam, lParam);
}

LRESULT ToolkitWindow::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_NCHITTEST: {
        const LRESULT hit = DefWindowProcW(m_hwnd, message, wParam, lParam);
        if (hit != HTCLIENT) return hit;
        POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        ScreenToClient(m_hwnd, &p);
        const bool inCaption = p.y < scaled(m_window.captionHeight(), m_window.scale());
        return inCaption && !m_window.controlAt({p.x, p.y}) ? HTCAPTION : HTCLIENT;
    }
    case WM_MOUSEMOVE:
        if (!m_trackingLeave) {
            TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, m_hwnd, 0};
            m_trackingLeave = TrackMouseEvent(&track) != FALSE;
        }
        m_window.mouseMove(pointOf(lParam));
        hoverTooltip(pointOf(lParam));
        afterInput();
        return 0;
    case WM_MOUSELEAVE:
        m_trackingLeave = false;
        m_window.mouseLeave();
        if (m_tooltip) m_tooltip->reset();
        afterInput();
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (m_tooltip) m_tooltip->dismiss();
        SetFocus(m_hwnd);
        SetCapture(m_hwnd);
        m_window.mouseDown(pointOf(lParam), MouseButton::Left, message == WM_LBUTTONDBLCLK);
        afterInput();
        return 0;
    case WM_LBUTTONUP:
        if (GetCapture() == m_hwnd) ReleaseCapture();
        m_window.mouseUp(pointOf(lParam), MouseButton::Left);
        afterInput();
        return 0;
    case WM_RBUTTONDOWN:
        if (m_tooltip) m_tooltip->dismiss();
        m_window.mouseDown(pointOf(lParam), MouseButton::Right);
        afterInput();
        return 0;
    case WM_MOUSEWHEEL: {
        POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        ScreenToClient(m_hwnd, &p);
        m_window.wheel({p.x, p.y}, GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA);
        afterInput();
        return 0;
    }
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: { // Alt held: the press comes as a system key
        const KeyModifiers mods{GetKeyState(VK_SHIFT) < 0, GetKeyState(VK_CONTROL) < 0, GetKeyState(VK_MENU) < 0};
        if (m_window.virtualKeyDown(static_cast<std::uint16_t>(wParam), mods)) {
            afterInput();
            return 0;
        }
        if (message == WM_SYSKEYDOWN) break; // Alt+F4 and the system menu stay the system's
        if (const auto key = keyOf(wParam)) {
            m_window.keyDown(*key, mods);
            afterInput();
            return 0;
        }
        break;
    }
    case WM_CHAR:
        // Tab, Return, Escape and Back arrive as key presses above, and so do Ctrl+A, C, V and X (0x01, 0x03,
        // 0x16, 0x18 here).
        if (wParam >= 0x20 && wParam != 0x7F) {
            m_window.character(static_cast<wchar_t>(wParam));
            afterInput();
        }
        return 0;
    case WM_SHOWWINDOW:
    case WM_ENABLE: // disabled under a modal window, it hears no more of the mouse
        if (!wParam && m_tooltip) m_tooltip->reset();
        break;
    case WM_SIZE:
        // Minimised: the system hides the tip with its owner and would bring it back on restore.
        if (wParam == SIZE_MINIMIZED && m_tooltip) m_tooltip->reset();
        m_window.resize({LOWORD(lParam), HIWORD(lParam)});
        InvalidateRect(m_hwnd, nullptr, FALSE);
        return 0;
    case WM_GETOBJECT:
        // The parameter is a DWORD: OBJID_CLIENT arrives as 0xFFFFFFFC.
        if (static_cast<LONG>(static_cast<DWORD>(lParam)) == OBJID_CLIENT) {
            return accessibleClientObject(accessLink(), wParam);
        }
        break;
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(m_hwnd, &ps);
        const Size size = m_window.clientSize();
        HDC back = CreateCompatibleDC(dc);
        HBITMAP bitmap = CreateCompatibleBitmap(dc, std::max(1, size.cx), std::max(1, size.cy));
        const HGDIOBJ old = SelectObject(back, bitmap);
        paintInto(back, size);
        BitBlt(dc, 0, 0, size.cx, size.cy, back, 0, 0, SRCCOPY);
        SelectObject(back, old);
        DeleteObject(bitmap);
        DeleteDC(back);
        EndPaint(m_hwnd, &ps);
        return 0;
    }
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE && m_closeOnDeactivate && m_window.isOpen()) {
            m_window.close(0);
            afterInput();
        }
        break;
    case WM_CLOSE:
        m_window.close(0);
        afterInput();
        return 0;
    default:
        break;
    }
    return DefWindowProcW(m_hwnd, message, wParam, lParam);
}

void ToolkitWindow::hoverTooltip(Point client) {
    if (!m_tooltip) return;
    POINT screen{client.x, client.y};
    ClientToScreen(m_hwnd, &screen);
    m_tooltip->hover(m_window.tooltipAt(client), screen);
}

const std::shared_ptr<AccessibleLink>& ToolkitWindow::accessLink() {
    if (!m_accessLink) m_accessLink = std::make_shared<AccessibleLink>(AccessibleLink{&m_window, m_hwnd});
    return m_accessLink;
}

void ToolkitWindow::afterInput() {
    if (!m_hwnd || m_window.isOpen() || !IsWindowVisible(m_hwnd)) return;
    // The owner gets its input back before this window hides, so the focus returns to it.
    releaseOwner();
    ShowWindow(m_hwnd, SW_HIDE);
}

void ToolkitWindow::releaseOwner() {
    if (!m_disabledOwner) return;
    EnableWindow(m_disabledOwner, TRUE);
    SetForegroundWindow(m_disabledOwner);
    m_disabledOwner = nullptr;
}

void ToolkitWindow::openDropDown(Combo& combo) {
    if (!m_hwnd || combo.items().empty()) {
        combo.setDropped(false);
        return;
    }
    // A list opened before is closed by now (it closes when it loses the activation); this runs inside the
    // owner's message, never the old list's, so the old one can go.
    m_dropDownHost.reset();
    m_dropDown = std::make_unique<ComboDropDown>(combo);
    m_dropDownHost = std::make_unique<ToolkitWindow>(m_dropDown->window(), m_resources);
    if (!m_dropDownHost->create(m_hwnd, L"KVToolkitDropDown", L"", WS_POPUP)) {
        combo.setDropped(false);
        return;
    }
    POINT below{combo.rect().left, combo.rect().bottom};
    ClientToScreen(m_hwnd, &below);
    m_dropDownHost->moveTo({below.x, below.y});
    m_dropDownHost->setCloseOnDeactivate(true);
    ShowWindow(m_dropDownHost->hwnd(), SW_SHOW);
}

void ToolkitWindow::moveTo(Point screen) {
    if (m_hwnd) SetWindowPos(m_hwnd, nullptr, screen.x, screen.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void ToolkitWindow::showModal(HWND owner) {
    if (!m_hwnd) return;
    if (owner && IsWindowEnabled(owner)) {
        EnableWindow(owner, FALSE);
        m_disabledOwner = owner;
    }
    if (owner) {
        // Centred over the owner.
        RECT o{}, me{};
        GetWindowRect(owner, &o);
        GetWindowRect(m_hwnd, &me);
        moveTo({o.left + ((o.right - o.left) - (me.right - me.left)) / 2,
                o.top + ((o.bottom - o.top) - (me.bottom - me.top)) / 2});
    }
    ShowWindow(m_hwnd, SW_SHOW);
    SetForegroundWindow(m_hwnd);
}

void ToolkitWindow::paintInto(HDC dc, Size size) {
    const RECT all{0, 0, size.cx, size.cy};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    GdiPainter painter(dc, m_images, m_fonts, m_window.scale());
    m_window.paint(painter);
}

Bitmap ToolkitWindow::render() {
    const Size size = m_window.clientSize();
    Bitmap out;
    if (size.cx <= 0 || size.cy <= 0) return out;
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), size.cx, -size.cy, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP dib = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (KV_WIN32_CHECK(dib && bits)) {
        const HGDIOBJ old = SelectObject(dc, dib);
        paintInto(dc, size);
        GdiFlush();
        out.width = size.cx;
        out.height = size.cy;
        out.pixels.resize(static_cast<std::size_t>(size.cx) * size.cy);
        std::memcpy(out.pixels.data(), bits, out.pixels.size() * sizeof(std::uint32_t));
        SelectObject(dc, old);
        DeleteObject(dib);
    }
    DeleteDC(dc);
    return out;
}

} // namespace ui::win32
