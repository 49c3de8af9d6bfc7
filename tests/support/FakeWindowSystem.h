#pragma once
// A desktop in memory for the arrangement tests: monitors with work areas and DPI, and windows that behave
// like instance windows: on a place message they move to the packed point and take the given width or
// height, keeping their aspect, before the send returns. Every call is recorded; a hook can hold a place
// message (to test overlapping arrangements). Safe to call from several threads.

#include <algorithm>
#include <functional>
#include <map>
#include <mutex>
#include <vector>

#include "core/arrange/PlaceMessages.h"
#include "core/platform/WindowSystem.h"

namespace testing_support {

class FakeWindowSystem : public platform::WindowSystem {
public:
    using Rect = geometry::Rect;
    using WindowHandle = platform::WindowHandle;

    struct Window {
        geometry::Rect rect;
        int aspectW = 16;
        int aspectH = 9;
        bool minimized = false;
        geometry::Rect normal; // what a restore brings back
    };
    struct Call {
        enum Kind { Restore, Front, Place, Message } kind;
        platform::WindowHandle window;
        int x = 0;
        int y = 0;
        unsigned message = 0;
        int size = 0;
        platform::WindowHandle behind = 0;
    };

    // A monitor; `dpi` 0 stands for a system without the DPI query. The first added is primary unless told.
    void addMonitor(geometry::Rect area, geometry::Rect workArea, int dpi = 96, bool primary = false) {
        std::lock_guard lock(m_lock);
        // Handles count up from 65537, the value the first monitor has on Windows.
        m_monitors.push_back({area, workArea, dpi, primary || m_monitors.empty(),
                              static_cast<std::intptr_t>(65537 + m_monitors.size())});
        if (primary)
            for (std::size_t i = 0; i + 1 < m_monitors.size(); ++i) m_monitors[i].primary = false;
    }
    platform::WindowHandle addWindow(geometry::Rect rect, int aspectW = 16, int aspectH = 9) {
        std::lock_guard lock(m_lock);
        const platform::WindowHandle h = 0x100 + m_windows.size() * 4;
        m_windows[h] = {rect, aspectW, aspectH, false, rect};
        return h;
    }
    void minimize(platform::WindowHandle w) {
        std::lock_guard lock(m_lock);
        Window& win = m_windows.at(w);
        win.normal = win.rect;
        win.minimized = true;
        win.rect = {-32000, -32000, -31840, -31972};
    }

    geometry::Rect rect(platform::WindowHandle w) const {
        std::lock_guard lock(m_lock);
        return m_windows.at(w).rect;
    }
    bool minimized(platform::WindowHandle w) const {
        std::lock_guard lock(m_lock);
        return m_windows.at(w).minimized;
    }
    std::vector<Call> calls() const {
        std::lock_guard lock(m_lock);
        return m_calls;
    }
    std::vector<Call> messages() const {
        std::vector<Call> out;
        for (const Call& c : calls())
            if (c.kind == Call::Message) out.push_back(c);
        return out;
    }

    int reportedMonitors = -1; // the system's monitor count; -1: the monitors added
    geometry::Rect virtualScreenOverride{};
    bool windows11 = false;
    platform::Overlap overlap{};
    // Runs inside every place message before the window resizes, outside the fake's lock.
    std::function<void(platform::WindowHandle)> onPlaceMessage;

    // WindowSystem
    std::vector<platform::Monitor> monitors() override {
        std::lock_guard lock(m_lock);
        return m_monitors;
    }
    int monitorCount() override {
        std::lock_guard lock(m_lock);
        return reportedMonitors >= 0 ? reportedMonitors : static_cast<int>(m_monitors.size());
    }
    platform::Monitor monitorOf(platform::WindowHandle window) override {
        std::lock_guard lock(m_lock);
        if (m_monitors.empty()) return {};
        const auto it = m_windows.find(window);
        if (it == m_windows.end()) return m_monitors.front();
        const geometry::Rect& r = it->second.rect;
        const int cx = (r.left + r.right) / 2;
        const int cy = (r.top + r.bottom) / 2;
        for (const auto& m : m_monitors)
            if (cx >= m.area.left && cx < m.area.right && cy >= m.area.top && cy < m.area.bottom) return m;
        return m_monitors.front();
    }
    geometry::Rect virtualScreen() override {
        std::lock_guard lock(m_lock);
        if (virtualScreenOverride.width() > 0) return virtualScreenOverride;
        geometry::Rect u = m_monitors.empty() ? geometry::Rect{} : m_monitors.front().area;
        for (const auto& m : m_monitors)
            u = {std::min(u.left, m.area.left), std::min(u.top, m.area.top), std::max(u.right, m.area.right),
                 std::max(u.bottom, m.area.bottom)};
        return u;
    }
    geometry::Rect primaryWorkArea() override { return primary().workArea; }
    int primaryScreenWidth() override { return primary().area.width(); }

    bool windowRect(platform::WindowHandle window, geometry::Rect& out) override {
        std::lock_guard lock(m_lock);
        const auto it = m_windows.find(window);
        if (it == m_windows.end()) return false;
        out = it->second.rect;
        return true;
    }
    bool normalRect(platform::WindowHandle window, geometry::Rect& out) override {
        std::lock_guard lock(m_lock);
        const auto it = m_windows.find(window);
        if (it == m_windows.end()) return false;
        out = it->second.minimized ? it->second.normal : it->second.rect;
        return true;
    }
    bool isMinimized(platform::WindowHandle window) override { return minimized(window); }
    void restore(platform::WindowHandle window) override {
        std::lock_guard lock(m_lock);
        Window& w = m_windows.at(window);
        w.minimized = false;
        w.rect = w.normal;
        m_calls.push_back({Call::Restore, window});
    }
    void bringToFront(platform::WindowHandle window) override {
        std::lock_guard lock(m_lock);
        m_calls.push_back({Call::Front, window});
    }
    void place(platform::WindowHandle window, platform::WindowHandle behind, int x, int y) override {
        std::lock_guard lock(m_lock);
        geometry::Rect& r = m_windows.at(window).rect;
        r = {x, y, x + r.width(), y + r.height()};
        m_calls.push_back({Call::Place, window, x, y, 0, 0, behind});
    }
    void sendPlaceMessage(platform::WindowHandle window, unsigned message, int x, int y, int size) override {
        if (onPlaceMessage) onPlaceMessage(window);
        std::lock_guard lock(m_lock);
        // The message carries the point in 16-bit halves, as the real one does.
        const std::uint32_t packed = arrange::packPlacePoint(x, y);
        const int px = arrange::placePointX(packed);
        const int py = arrange::placePointY(packed);
        Window& w = m_windows.at(window);
        const bool byWidth = message == arrange::kMsgPlaceByWidth;
        const int width = byWidth ? size : size * w.aspectW / w.aspectH;
        const int height = byWidth ? size * w.aspectH / w.aspectW : size;
        w.rect = {px, py, px + width, py + height};
        m_calls.push_back({Call::Message, window, px, py, message, size});
    }
    bool isWindows11() override { return windows11; }
    platform::Overlap readOverlap() override { return overlap; }

private:
    platform::Monitor primary() {
        std::lock_guard lock(m_lock);
        for (const auto& m : m_monitors)
            if (m.primary) return m;
        return {};
    }

    mutable std::mutex m_lock;
    std::vector<platform::Monitor> m_monitors;
    std::map<platform::WindowHandle, Window> m_windows;
    std::vector<Call> m_calls;
};

} // namespace testing_support
