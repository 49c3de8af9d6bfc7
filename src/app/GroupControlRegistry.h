#pragma once
// The open group control frames, ordered by their key "+{<product type>}+<group name>": at most one frame per
// group. The IPC handler, the main window's group rows and menus and the crash handler reach the frames only
// through it. Every operation that changes what a frame holds lets the frame redraw its tiles afterwards.
//
// User-interface thread only, except `releaseAllFrames`, which the crash handler calls from wherever the
// crash happened.

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "ui/groupcontrol/GroupDock.h"

namespace app {

// What the registry asks of a frame: its players, and a few things of its window.
class GroupControlFrame {
public:
    virtual ~GroupControlFrame() = default;
    virtual groupcontrol::GroupDock& dock() = 0;
    virtual const groupcontrol::GroupDock& dock() const = 0;
    // Shown and brought to the front (it was open already).
    virtual void bringToFront() = 0;
    // Moved to the top of the z-order without moving, sizing or activating it.
    virtual void raise() = 0;
    // Shown or hidden; a maximised frame is restored first.
    virtual void setShown(bool shown) = 0;
    // Closes the window; its end reaches the registry's `drop`.
    virtual void close() = 0;
    // The dock changed: the tiles and the page follow it.
    virtual void dockChanged() = 0;

    bool hasPlayerWindow(platform::WindowHandle window) const { return dock().containsPlayer(window); }
    // Gives every instance window it holds back to the desktop (the frame stays open).
    void releaseAll() { dock().releaseAll(); }
    // The same on a crash, from any thread; the frame never takes a window in again.
    void releaseForGood() { dock().releaseForGood(); }
};

class GroupControlRegistry {
public:
    // Makes the frame of a group (its window created and shown, no players yet); null when that fails.
    using FrameFactory = std::function<std::unique_ptr<GroupControlFrame>(int productType, const std::wstring& group)>;

    // "+{" + product type in decimal + "}+" + group name.
    static std::wstring frameKey(int productType, std::wstring_view groupName);
    // The product type of an instance id's high byte: 1 → 1, 5 → 2, 3 → 3, 10 → 4, 0 → 0, any other → -1.
    static int productTypeOfUniqueIndex(std::int32_t uniqueIndex);

    void setFrameFactory(FrameFactory factory) { m_factory = std::move(factory); }

    // Brings the group's frame forward, or makes one and docks the group's running instances in it.
    GroupControlFrame* showFrame(int productType, const std::wstring& groupName,
                                 const std::vector<groupcontrol::PlayerRecord>& records);
    // Unless `keepInstances`, the running instances go back to the desktop first; then the frame closes.
    void closeFrame(int productType, std::wstring_view groupName, bool keepInstances);
    GroupControlFrame* find(int productType, std::wstring_view groupName) const;
    bool hasFrame(int productType, std::wstring_view groupName) const {
        return find(productType, groupName) != nullptr;
    }
    bool frameHasRunningPlayer(int productType, std::wstring_view groupName) const;
    bool empty() const { return m_frames.empty(); }
    // A frame already open under the key is replaced (and destroyed).
    GroupControlFrame& add(int productType, std::wstring_view groupName, std::unique_ptr<GroupControlFrame> frame);
    // The frame's window was destroyed: never handed out again.
    void drop(int productType, std::wstring_view groupName);
    // The group was renamed: its frame is found under the new name.
    void rename(int productType, std::wstring_view oldName, const std::wstring& newName);

    // An instance of the group started (its main window) or stopped.
    void onPlayerStateChanged(std::int32_t uniqueIndex, std::wstring_view groupName, bool running,
                              platform::WindowHandle window);
    void addGroupPlayer(std::int32_t uniqueIndex, std::wstring_view groupName,
                        const groupcontrol::PlayerRecord& record);
    // The instance leaves the group's frame; a running one goes back to the desktop.
    void removePlayer(std::int32_t uniqueIndex, std::wstring_view groupName);
    // The instance moved into the group: it leaves the other frames of its line and joins this group's.
    void movePlayer(std::int32_t uniqueIndex, std::wstring_view groupName, const groupcontrol::PlayerRecord& record);
    // A removed instance leaves the first frame of its line (key order) that holds it.
    void removePlayerEverywhere(std::int32_t uniqueIndex);

    // The first frame, in key order, one of whose players has this window; null when none.
    GroupControlFrame* findFrameByPlayerWindow(platform::WindowHandle window) const;
    // Runs `action` on the dock of the frame holding the window, then redraws it; false when none holds it.
    bool withFrameOf(platform::WindowHandle window, const std::function<void(groupcontrol::GroupDock&)>& action);
    // Every frame, in key order, lays its players out anew (the group control settings changed).
    void reLoadAll();
    // Every frame, in key order, is shown or hidden and laid out anew.
    void showAll(bool shown);
    // Every frame, in key order, releases the instance windows it holds.
    void releaseAllFrames();

private:
    void changed(GroupControlFrame& frame) { frame.dockChanged(); }

    std::map<std::wstring, std::unique_ptr<GroupControlFrame>> m_frames;
    FrameFactory m_factory;
};

} // namespace app
