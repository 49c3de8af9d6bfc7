#include "ui/groupcontrol/GroupControlFrame_win.h"

#include <windowsx.h>

#include "core/lang/LoadResources.h"
#include "core/log/Log.h"
#include "core/product/ProductLine.h"
#include "platform/win32/arrange/WindowSystem_win.h"

namespace groupcontrol::win32 {

namespace {

constexpr const wchar_t* kFrameProperty = L"KVGroupControlFrame";
// Posted to itself: the frame's end runs outside the toolkit's handling of the click that asked for it.
constexpr UINT kMsgDestroyFrame = WM_APP + 0x47;
constexpr UINT_PTR kGrowTimer = 1;
constexpr UINT kGrowDelayMs = 50;
constexpr int kSizeBoxEdge = 6; // skin pixels of the border that size the frame

bool sizingCursorShown() {
    HCURSOR cursor = GetCursor();
    for (const auto* id : {IDC_SIZENS, IDC_SIZEWE, IDC_SIZENWSE, IDC_SIZENESW})
        if (cursor == LoadCursorW(nullptr, id)) return true;
    return false;
}

} // namespace

GroupControlFrameWindow::GroupControlFrameWindow(const FrameContext& context, int productType)
    : m_context(context), m_productType(productType),
      m_resources(common::lang::skinFolder(), &common::lang::resourcePack()),
      m_frame(context.desktop, context.settings, productType, context.scale, m_factory,
              {.showBox = [this](msg::MessageBoxWindow& box) { showBox(box); },
               .maximize = [this] { ShowWindow(m_hwnd, SW_MAXIMIZE); },
               .restore = [this] { ShowWindow(m_hwnd, SW_RESTORE); },
               .closeWindow = [this] { close(); },
               .startPlayer =
                   [this](int index) {
                       // Started hidden: it shows once the frame has docked it.
                       const auto line = static_cast<KV_PRODUCT_TYPE>(m_productType);
                       const std::int32_t id = product::encodeInstanceId(line, index);
                       KVLOG_AS("KVGroupControlFrame::onStartBtnClicked", L"start player %d", static_cast<int>(id));
                       m_context.model.launch(id, L"show=0");
                   }}) {}

GroupControlFrameWindow::~GroupControlFrameWindow() {
    m_onDestroyed = nullptr; // a window destroyed from here is no news to the registry
    m_boxHost.reset();
    m_retiredBoxHost.reset();
    m_host.reset();
}

std::unique_ptr<GroupControlFrameWindow> GroupControlFrameWindow::create(const FrameContext& context, int productType,
                                                                         const std::wstring& group,
                                                                         OnDestroyed onDestroyed) {
    std::unique_ptr<GroupControlFrameWindow> self(new GroupControlFrameWindow(context, productType));
    if (!self->build(group)) return nullptr;
    self->m_onDestroyed = std::move(onDestroyed);
    return self;
}

bool GroupControlFrameWindow::build(const std::wstring& group) {
    const auto skin = m_resources.read(KVGroupControlFrame::kSkinFile);
    const auto tile = m_resources.read(KVGroupControlFrame::kTileSkinFile);
    if (!skin || !tile) {
        KVLOG(L"skin %s or its tile not found", std::wstring(KVGroupControlFrame::kSkinFile));
        return false;
    }
    if (!m_frame.create(*skin, *tile)) return false;
    m_host = std::make_unique<ui::win32::ToolkitWindow>(m_frame.window(), m_resources);
    const DWORD style = WS_POPUP | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    if (!m_host->create(nullptr, KVGroupControlFrame::kClassName, group, style)) return false;
    m_hwnd = m_host->hwnd();
    SetPropW(m_hwnd, kFrameProperty, this);
    m_toolkitProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(m_hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&GroupControlFrameWindow::subclassProc)));
    dock().setFrameWindow(platform::win32::handleOf(m_hwnd));
    dock().setGroupName(group);
    placeFirst();
    if (m_context.settings.takeOneShot(common::settings::groupcontrolNewUser))
        KVLOG_AS("KVGroupControlFrame::show", L"first group window of this user");
    return true;
}

// The rectangle the group's frame had last, when kept and wholly known; else 1600 × 900 (smaller on small
// screens) centred on the main window's monitor.
void GroupControlFrameWindow::placeFirst() {
    const auto line = static_cast<KV_PRODUCT_TYPE>(m_productType);
    const model::Group* stored = m_context.model.groups().find(line, dock().groupName());
    if (m_context.settings.get(common::settings::groupcontrolSavePos) && stored && stored->left > 0 &&
        stored->top > 0 && stored->width > 0 && stored->height > 0) {
        SetWindowPos(m_hwnd, nullptr, stored->left, stored->top, stored->width, stored->height,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    } else {
        HMONITOR monitor = m_context.mainWindow ? MonitorFromWindow(m_context.mainWindow, MONITOR_DEFAULTTONEAREST)
                                                : MonitorFromWindow(nullptr, MONITOR_DEFAULTTOPRIMARY);
        MONITORINFO info{};
        info.cbSize = sizeof info;
        GetMonitorInfoW(monitor, &info);
        const geometry::Rect r = initialFrameRect(platform::win32::rectOf(info.rcWork));
        SetWindowPos(m_hwnd, nullptr, r.left, r.top, r.width(), r.height(), SWP_NOZORDER | SWP_NOACTIVATE);
    }
    ShowWindow(m_hwnd, SW_SHOW);
}

void GroupControlFrameWindow::showBox(msg::MessageBoxWindow& box) {
    m_retiredBoxHost = std::move(m_boxHost);
    m_boxHost = std::make_unique<ui::win32::ToolkitWindow>(*box.window(), m_resources);
    if (!m_boxHost->create(m_hwnd, L"KVMultiMessageBox", L"", WS_POPUP | WS_BORDER)) return;
    m_boxHost->showModal(m_hwnd); // centred over the frame
}

void GroupControlFrameWindow::bringToFront() {
    if (IsIconic(m_hwnd)) ShowWindow(m_hwnd, SW_RESTORE);
    ShowWindow(m_hwnd, SW_SHOW);
    SetForegroundWindow(m_hwnd);
}

void GroupControlFrameWindow::raise() {
    SetWindowPos(m_hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void GroupControlFrameWindow::setShown(bool shown) {
    if (IsZoomed(m_hwnd)) SendMessageW(m_hwnd, WM_SYSCOMMAND, SC_RESTORE, 0);
    ShowWindow(m_hwnd, shown ? SW_SHOW : SW_HIDE);
    if (shown) SetFocus(m_hwnd);
}

void GroupControlFrameWindow::dockChanged() {
    m_frame.syncWithDock();
    RECT r{};
    const int highest = GetSystemMetrics(SM_CYSCREEN) - 40;
    if (m_hwnd && GetWindowRect(m_hwnd, &r) && r.bottom - r.top > highest)
        SetWindowPos(m_hwnd, nullptr, 0, 0, r.right - r.left, highest, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void GroupControlFrameWindow::close() {
    if (m_hwnd) PostMessageW(m_hwnd, kMsgDestroyFrame, 0, 0);
}

void GroupControlFrameWindow::storeRect() {
    RECT r{};
    if (!GetWindowRect(m_hwnd, &r)) return;
    m_context.model.groups().setGroupRect(static_cast<KV_PRODUCT_TYPE>(m_productType), dock().groupName(), r.left,
                                          r.top, r.right - r.left, r.bottom - r.top);
}

// Maximising and restoring re-place the docked instances; a plain resize does that while it goes on.
void GroupControlFrameWindow::onSized() {
    const bool maximized = IsZoomed(m_hwnd) != 0;
    if (m_wasMaximized || maximized) {
        dock().updatePlayerPos(false);
        dockChanged();
    }
    m_wasMaximized = maximized;
    m_frame.showMaximized(maximized);
}

// The border is the size box; the caption drags (the toolkit's answer). A frame lower than one cell grows
// back shortly after the cursor comes inside, unless the user is sizing it.
LRESULT GroupControlFrameWindow::hitTest(LPARAM lParam) {
    const LRESULT hit = CallWindowProcW(m_toolkitProc, m_hwnd, WM_NCHITTEST, 0, lParam);
    if (IsZoomed(m_hwnd)) return hit;
    const POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    RECT r{};
    GetWindowRect(m_hwnd, &r);
    const int edge = static_cast<int>(kSizeBoxEdge * m_context.scale);
    const bool left = p.x < r.left + edge, right = p.x >= r.right - edge;
    const bool top = p.y < r.top + edge, bottom = p.y >= r.bottom - edge;
    if (top) return left ? HTTOPLEFT : right ? HTTOPRIGHT : HTTOP;
    if (bottom) return left ? HTBOTTOMLEFT : right ? HTBOTTOMRIGHT : HTBOTTOM;
    if (left) return HTLEFT;
    if (right) return HTRIGHT;
    RECT client{};
    GetClientRect(m_hwnd, &client);
    if (client.bottom < dock().cellHeight() + 40) SetTimer(m_hwnd, kGrowTimer, kGrowDelayMs, nullptr);
    return hit;
}

LRESULT CALLBACK GroupControlFrameWindow::subclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = static_cast<GroupControlFrameWindow*>(GetPropW(hwnd, kFrameProperty));
    if (!self) return DefWindowProcW(hwnd, message, wParam, lParam);
    return self->handle(message, wParam, lParam);
}

LRESULT GroupControlFrameWindow::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    const auto toolkit = [&] { return CallWindowProcW(m_toolkitProc, m_hwnd, message, wParam, lParam); };
    switch (message) {
    case kMsgDestroyFrame:
        DestroyWindow(m_hwnd);
        return 0;
    case WM_CLOSE: // Alt+F4 asks like the close button
        m_frame.closeRequest();
        return 0;
    case WM_NCHITTEST:
        return hitTest(lParam);
    case WM_GETMINMAXINFO: {
        const geometry::Size least = minimumTrackSize(dock().landscapeMode(), dock().cellHeight());
        reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize = {least.cx, least.cy};
        return 0;
    }
    case WM_SIZING:
    case WM_EXITSIZEMOVE: {
        const LRESULT result = toolkit();
        m_lastResize = GetTickCount();
        dock().updatePlayerPos(true);
        dockChanged();
        return message == WM_SIZING ? TRUE : result;
    }
    case WM_MOVE: {
        const LRESULT result = toolkit();
        storeRect();
        return result;
    }
    case WM_SIZE: {
        const LRESULT result = toolkit();
        if (LOWORD(lParam) && HIWORD(lParam)) storeRect();
        onSized();
        return result;
    }
    case WM_TIMER:
        if (wParam != kGrowTimer) break;
        KillTimer(m_hwnd, kGrowTimer);
        if (!sizingCursorShown()) {
            RECT r{};
            GetWindowRect(m_hwnd, &r);
            SetWindowPos(m_hwnd, nullptr, 0, 0, r.right - r.left, dock().cellHeight() + 40,
                         SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
        return 0;
    case WM_DESTROY:
        KillTimer(m_hwnd, kGrowTimer);
        m_frame.onWindowDestroyed();
        break;
    case WM_NCDESTROY: {
        const LRESULT result = toolkit();
        RemovePropW(m_hwnd, kFrameProperty);
        m_hwnd = nullptr;
        const OnDestroyed onDestroyed = std::move(m_onDestroyed);
        if (onDestroyed) onDestroyed(*this); // the registry drops this object here
        return result;
    }
    default:
        break;
    }
    return toolkit();
}

} // namespace groupcontrol::win32
