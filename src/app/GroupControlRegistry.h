#pragma once
// The open group control frames, ordered by their key "+{<product type>}+<group name>". The IPC handler,
// the main window's group rows and menus and the crash handler reach the frames only through it.

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "core/platform/InstanceDesktop.h"

namespace app {

// What the registry asks of a frame.
class GroupControlFrame {
public:
    virtual ~GroupControlFrame() = default;
    // Whether one of its players, docked or not, has this main window.
    virtual bool hasPlayerWindow(platform::WindowHandle window) const = 0;
    // Gives every instance window it holds back to the desktop (the frame stays open).
    virtual void releaseAll() = 0;
};

class GroupControlRegistry {
public:
    // "+{" + product type in decimal + "}+" + group name.
    static std::wstring frameKey(int productType, std::wstring_view groupName);
    // The product type of an instance id's high byte: 1 → 1, 5 → 2, 3 → 3, 10 → 4, 0 → 0, any other → -1.
    static int productTypeOfUniqueIndex(std::int32_t uniqueIndex);

    GroupControlFrame* find(int productType, std::wstring_view groupName) const;
    bool hasFrame(int productType, std::wstring_view groupName) const {
        return find(productType, groupName) != nullptr;
    }
    bool empty() const { return m_frames.empty(); }
    // A frame already open under the key is replaced (and destroyed).
    GroupControlFrame& add(int productType, std::wstring_view groupName, std::unique_ptr<GroupControlFrame> frame);
    // The frame's window was destroyed: never handed out again.
    void drop(int productType, std::wstring_view groupName);

    // The first frame, in key order, one of whose players has this window; null when none.
    GroupControlFrame* findFrameByPlayerWindow(platform::WindowHandle window) const;
    // Every frame, in key order, releases the instance windows it holds.
    void releaseAllFrames();

private:
    std::map<std::wstring, std::unique_ptr<GroupControlFrame>> m_frames;
};

} // namespace app
