#include "StandIn_win.h"

#include <fstream>

#include "StandInProtocol.h"
#include "core/ipc/IpcMessages.h"
#include "core/text/Utf.h"

namespace standin {
namespace {

LRESULT CALLBACK mainFrameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE)
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
    auto* self = reinterpret_cast<StandIn*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    return self ? self->onMainFrameMessage(window, message, wParam, lParam)
                : DefWindowProcW(window, message, wParam, lParam);
}

void registerClass(HINSTANCE module, const wchar_t* name, WNDPROC proc, int brush) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = proc;
    wc.hInstance = module;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = GetSysColorBrush(brush);
    wc.lpszClassName = name;
    RegisterClassExW(&wc);
}

std::string numbers(std::initializer_list<long long> values) {
    std::string out;
    for (long long v : values) out += " " + std::to_string(v);
    return out;
}

} // namespace

StandIn::StandIn(const Options& options, int line, std::filesystem::path folder)
    : m_options(options), m_line(line), m_folder(std::move(folder)), m_players(static_cast<KV_PRODUCT_TYPE>(line)) {
    const auto& info = product::productLine(static_cast<KV_PRODUCT_TYPE>(line));
    m_players.setNamePatterns(std::wstring(info.mutexPattern), std::wstring(info.windowClassPattern));
    m_players.init(m_folder);
    m_resolution = m_players.resolution(options.index);
}

StandIn::~StandIn() {
    m_endpoint.destroy();
    if (m_mutex) {
        ReleaseMutex(m_mutex);
        CloseHandle(m_mutex);
    }
}

int StandIn::open(HINSTANCE module) {
    m_mutex = CreateMutexW(nullptr, TRUE, m_players.mutexName(m_options.index).c_str());
    if (!m_mutex) return 3;
    if (GetLastError() == ERROR_ALREADY_EXISTS) return 2;
    if (!m_endpoint.create(m_players.windowClassName(m_options.index), this)) return 4;

    registerClass(module, L"KVPlayerMainFrame", mainFrameProc, COLOR_WINDOW);
    registerClass(module, L"RenderWindow", DefWindowProcW, COLOR_HIGHLIGHT);
    registerClass(module, L"subWin", DefWindowProcW, COLOR_BTNFACE);
    const int width = m_resolution.width / 2, height = m_resolution.height / 2;
    m_mainFrame =
        CreateWindowExW(0, L"KVPlayerMainFrame", m_players.displayName(m_options.index).c_str(),
                        WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, width, height, nullptr, nullptr, module, this);
    if (!m_mainFrame) return 5;
    HWND render = CreateWindowExW(0, L"RenderWindow", L"TheRender", WS_CHILD | WS_VISIBLE, 0, 0, width, height,
                                  m_mainFrame, nullptr, module, nullptr);
    CreateWindowExW(0, L"subWin", L"sub", WS_CHILD | WS_VISIBLE, 0, 0, 32, 32, render, nullptr, module, nullptr);
    return 0;
}

int StandIn::run() {
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}

void StandIn::record(const std::string& line) const {
    std::ofstream out(m_folder / eventsFileName(m_line, m_options.index), std::ios::app | std::ios::binary);
    out << line << "\n";
}

void StandIn::hangIfAsked(std::uint32_t message) const {
    if (!m_options.hangOn || *m_options.hangOn != message) return;
    for (;;) Sleep(INFINITE); // a hung instance: its windows stop answering for good
}

int StandIn::onHandleWindowIPC(std::uint32_t message, std::uintptr_t first, std::intptr_t second) {
    if (message == utility::kMsgCopyData) {
        onData(static_cast<std::uint32_t>(first), reinterpret_cast<const COPYDATASTRUCT*>(second));
    } else if (message == utility::kMsgQuit) {
        record("post" + numbers({message, static_cast<long long>(first), second}));
        hangIfAsked(message);
        close();
    } else if (message == kMsgSendToManager) {
        sendToManager(static_cast<std::uint32_t>(first), static_cast<std::uint32_t>(second));
    }
    return 0;
}

void StandIn::onData(std::uint32_t id, const COPYDATASTRUCT* data) {
    if (!data) return;
    if (id == kMsgPing) {
        hangIfAsked(id);
        ++m_pings;
        return;
    }
    const std::wstring text(static_cast<const wchar_t*>(data->lpData), data->cbData / sizeof(wchar_t));
    record("data " + std::to_string(id) + " " + common::text::toUtf8(text));
    hangIfAsked(id);
    if (id == utility::kMsgQuit) close();
    if (id == utility::kMsgRename) SetWindowTextW(m_mainFrame, text.c_str());
}

LRESULT StandIn::onMainFrameMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case utility::kMsgQuit:
    case utility::kMsgDockState:
    case utility::kMsgFrameResizing:
    case utility::kMsgEnterFullScreen:
        record("post" + numbers({message, static_cast<long long>(wParam), lParam}));
        hangIfAsked(message);
        if (message == utility::kMsgQuit) close();
        return 0;
    case utility::kMsgPlaceByWidth:
    case utility::kMsgPlaceByHeight:
        hangIfAsked(message);
        place(message, wParam, lParam);
        return 0;
    case kMsgPingCount:
        return m_pings;
    case WM_SIZE: {
        RECT client;
        GetClientRect(window, &client);
        if (HWND render = FindWindowExW(window, nullptr, L"RenderWindow", nullptr))
            MoveWindow(render, 0, 0, client.right, client.bottom, TRUE);
        return 0;
    }
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

// Moves there and sizes the window to the given outer width (13000) or height (13001), keeping the aspect
// of the instance's configured resolution (the other side rounded down); done before a blocking send returns.
void StandIn::place(std::uint32_t message, WPARAM origin, LPARAM extent) {
    const int left = static_cast<short>(LOWORD(origin)), top = static_cast<short>(HIWORD(origin));
    const int rw = m_resolution.width > 0 ? m_resolution.width : 16;
    const int rh = m_resolution.height > 0 ? m_resolution.height : 9;
    int width = static_cast<int>(extent), height = static_cast<int>(extent);
    if (message == utility::kMsgPlaceByWidth)
        height = width * rh / rw;
    else
        width = height * rw / rh;
    MoveWindow(m_mainFrame, left, top, width, height, TRUE);
    record("place" + numbers({message, left, top, width, height}));
}

void StandIn::sendToManager(std::uint32_t message, std::uint32_t resolution) {
    utility::WindowIPC manager;
    if (!manager.open(std::wstring(utility::kManagerEndpointClass))) return;
    LPARAM second = 0;
    if (message == utility::kMsgPlayerResolution && resolution != 0)
        m_resolution = {static_cast<int>(LOWORD(resolution)), static_cast<int>(HIWORD(resolution))};
    if (message == utility::kMsgPlayerResolution)
        second = static_cast<LPARAM>(
            MAKELONG(static_cast<WORD>(m_resolution.width), static_cast<WORD>(m_resolution.height)));
    record((manager.postMessage(message, reinterpret_cast<WPARAM>(m_mainFrame), second) ? "sent " : "not sent ") +
           std::to_string(message));
}

void StandIn::close() {
    if (m_options.stayOnQuit) return;
    if (m_mainFrame) DestroyWindow(m_mainFrame);
    m_mainFrame = nullptr;
}

} // namespace standin
