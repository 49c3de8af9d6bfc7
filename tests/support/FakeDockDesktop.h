#pragma once
// A desktop in memory for the group control tests: windows with screen rectangles, parents, visibility and
// minimised/maximised states, and a journal of everything posted to them. Posted place messages are only
// recorded (a real instance answers them later, on its own thread).

#include <map>
#include <string>
#include <vector>

#include "core/arrange/PlaceMessages.h"
#include "core/platform/DockDesktop.h"

namespace testing_support {

class FakeDockDesktop : public platform::DockDesktop {
public:
    struct Window {
        geometry::Rect rect;
        platform::WindowHandle parent = 0;
        bool visible = true;
        bool minimized = false;
        bool maximized = false;
    };
    struct Post {
        platform::WindowHandle window;
        std::uint32_t message;
        std::uintptr_t first;
        std::intptr_t second;
        bool operator==(const Post&) const = default;
    };

    platform::WindowHandle add(geometry::Rect rect) {
        const platform::WindowHandle h = 0x100 + m_windows.size() * 4;
        m_windows[h] = {rect};
        return h;
    }
    Window& window(platform::WindowHandle h) { return m_windows.at(h); }
    std::vector<Post> postsTo(platform::WindowHandle h) const {
        std::vector<Post> out;
        for (const Post& p : posts)
            if (p.window == h) out.push_back(p);
        return out;
    }
    // The last place message posted to the window: {message, x, y, size}.
    std::vector<int> lastPlace(platform::WindowHandle h) const {
        for (auto it = posts.rbegin(); it != posts.rend(); ++it)
            if (it->window == h && (it->message == 13000 || it->message == 13001)) {
                const auto packed = static_cast<std::uint32_t>(it->first);
                return {static_cast<int>(it->message), arrange::placePointX(packed), arrange::placePointY(packed),
                        static_cast<int>(it->second)};
            }
        return {};
    }

    bool windowRect(platform::WindowHandle w, geometry::Rect& out) override {
        const auto it = m_windows.find(w);
        if (it == m_windows.end()) return false;
        out = it->second.rect;
        return true;
    }
    bool isMinimized(platform::WindowHandle w) override { return m_windows.at(w).minimized; }
    bool isMaximized(platform::WindowHandle w) override { return m_windows.at(w).maximized; }
    bool isVisible(platform::WindowHandle w) override { return m_windows.at(w).visible; }
    void restoreNow(platform::WindowHandle w) override {
        m_windows.at(w).minimized = false;
        m_windows.at(w).maximized = false;
    }
    void show(platform::WindowHandle w) override { m_windows.at(w).visible = true; }
    void hide(platform::WindowHandle w) override { m_windows.at(w).visible = false; }
    platform::WindowHandle parentOf(platform::WindowHandle w) override { return m_windows.at(w).parent; }
    void setParent(platform::WindowHandle w, platform::WindowHandle parent) override {
        m_windows.at(w).parent = parent;
        ++reparents;
    }
    void post(platform::WindowHandle w, std::uint32_t message, std::uintptr_t first, std::intptr_t second) override {
        posts.push_back({w, message, first, second});
    }
    geometry::Point cursorPos() override { return cursor; }
    int screenHeight() override { return screen; }

    std::vector<Post> posts;
    int reparents = 0;
    geometry::Point cursor{0, 0};
    int screen = 900;

private:
    std::map<platform::WindowHandle, Window> m_windows;
};

} // namespace testing_support
