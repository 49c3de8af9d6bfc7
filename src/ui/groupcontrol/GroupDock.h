#pragma once
// The players of one group control frame and everything the frame does with their windows: the grid it
// lays them out in, docking them (their windows become the frame's children and are told where to go),
// letting one leave (maximised, full screen, dragged out) and taking it back (restore, Collect), following
// starts, stops, turns and resolution changes, and giving every window back to the desktop.
//
// It knows no controls: it keeps what each tile shows (`tiles`) and the frame's window renders them. Other
// processes' windows are reached only through the DockDesktop, its own window only by its handle. Every
// operation logs under the frame's names ("KVGroupControlFrame::…"). User-interface thread only.

#include <atomic>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "core/platform/DockDesktop.h"
#include "core/storage/GlobalSettings.h"
#include "ui/groupcontrol/GroupGrid.h"

namespace groupcontrol {

using platform::WindowHandle;

// One instance of the group, running or not.
struct GroupPlayer {
    int index = -1; // within its product line
    std::wstring name;
    WindowHandle window = 0;                          // its main window; 0 while it does not run
    int left = 0, top = 0, width = 0, itemHeight = 0; // its tile in the frame's client area
    SavedPlacement saved;                             // where its window was before it was docked
    bool detached = false;                            // running, but outside the frame
    int resolutionWidth = 0, resolutionHeight = 0;
    bool landscape = true; // it shows a landscape display now
};

// What the model knows of an instance when the frame takes it.
struct PlayerRecord {
    int index = -1;
    std::wstring name;
    WindowHandle window = 0;
    int resolutionWidth = 0;
    int resolutionHeight = 0;
};

// What one tile shows: a Start button while the instance does not run, Collect while it runs outside.
struct Tile {
    int index = -1;
    std::wstring name;
    bool out = false;
    WindowHandle window = 0;
    geometry::Rect rect; // in the frame's client area
};

// The frame's pages: its players, "no instances in this group", "none of them runs".
enum class FramePage { Players = 0, Empty = 1, NoneRunning = 2 };

// The settings the frame reads each time it lays out.
struct DockSettings {
    bool hideOffline = false;
    std::optional<int> fixedColumns;
};
DockSettings readDockSettings(const common::GlobalSettings& settings);

class GroupDock {
public:
    GroupDock(platform::DockDesktop& desktop, common::GlobalSettings& settings, int productType, double scale);

    // The frame's own window; its children are the docked instance windows.
    void setFrameWindow(WindowHandle frame) { m_frame = frame; }
    WindowHandle frameWindow() const { return m_frame; }
    int productType() const { return m_productType; }
    const std::wstring& groupName() const { return m_groupName; }
    void setGroupName(std::wstring name) { m_groupName = std::move(name); }

    // Takes the group's instances in order and docks those that run.
    void setPlayers(const std::wstring& groupName, const std::vector<PlayerRecord>& records);
    // Rebuilds the tiles and docks every running instance.
    void reLoadPlayers();
    // Re-lays out the tiles and re-places the docked windows; `resizeNotice` tells them a resize goes on.
    void updatePlayerPos(bool resizeNotice);

    void playerWantMax(WindowHandle window);
    void playerWantFullScreen(WindowHandle window);
    void playerWantRestore(WindowHandle window);
    void playerWantFullScreenExit(WindowHandle window);
    void playerMoved(WindowHandle window);
    void onPlayerRotated(WindowHandle window);
    // The instance's display is now width × height.
    void onResolutionChanged(WindowHandle window, int width, int height);
    // The Collect button of the tile of this instance index.
    void onCollectBtnClicked(int index);
    bool containsPlayer(WindowHandle window) const;

    void onPlayerStateChanged(int index, bool running, WindowHandle window);
    void addGroupPlayer(const PlayerRecord& record);
    // Removes the instance from the frame; a running one goes back to the desktop first when `release`.
    void removePlayer(int index, bool release);
    bool holdsIndex(int index) const;

    // Every running instance goes back to the desktop, to where it was before it was docked.
    void releaseAll();
    // The program is crashing (any thread may call this): every running instance goes back to the desktop
    // and no operation takes one in again, whatever the user-interface thread still does.
    void releaseForGood();
    // Every running instance (`dockedOnly`: every docked one) is asked to quit.
    void quitPlayers(bool dockedOnly);
    bool hasRunningPlayer() const;
    void clear();

    const std::vector<GroupPlayer>& players() const { return m_players; }
    const std::vector<Tile>& tiles() const { return m_tiles; }
    // Bumped whenever the tiles are made anew (a reload), not when they only move.
    int tileGeneration() const { return m_tileGeneration; }
    FramePage page() const;
    bool landscapeMode() const { return m_landscapeMode; }
    int columns() const { return m_columns; }
    int cellHeight() const { return m_cellHeight; }
    const FrameMetrics& metrics() const { return m_metrics; }

private:
    static constexpr std::chrono::seconds kCrashWait{5};
    static constexpr int kCrashChecks = 20;
    static constexpr std::chrono::milliseconds kCrashCheckPause{100};
    // Held by every operation that changes the players or their windows (see releaseForGood).
    class Turn {
    public:
        explicit Turn(const GroupDock& dock);
        ~Turn();
        Turn(const Turn&) = delete;
        Turn& operator=(const Turn&) = delete;
        // False once the dock was released for good: the operation does nothing.
        explicit operator bool() const;

    private:
        const GroupDock& m_dock;
        bool m_held;
    };

    std::vector<GroupPlayer*> shownPlayers();
    Grid layoutGrid(const std::vector<GroupPlayer*>& list);
    void takeAspect(const std::vector<GroupPlayer*>& list);
    void dock(GroupPlayer& p, int i, int x, int y, const Grid& grid);
    void place(const GroupPlayer& p, int x, int y, const Grid& grid, const char* function);
    void post(WindowHandle window, std::uint32_t message, std::uintptr_t first, std::intptr_t second);
    void placeAt(WindowHandle window, int x, int y, int width);
    void restoreSaved(const GroupPlayer& p);
    void showIfHidden(WindowHandle window);
    void redockAll();
    void releaseWindows();
    void release(GroupPlayer& p);
    void adopt(WindowHandle window);
    void leave(GroupPlayer& p);
    void setTileOut(int index, bool out);
    void fillTile(Tile& tile, const GroupPlayer& p) const;
    GroupPlayer* byWindow(WindowHandle window);
    GroupPlayer* byIndex(int index);
    Tile* tileOf(int index);

    platform::DockDesktop& m_desktop;
    common::GlobalSettings& m_settings;
    int m_productType;
    FrameMetrics m_metrics;
    WindowHandle m_frame = 0;
    std::wstring m_groupName;
    std::vector<GroupPlayer> m_players; // the group's order; the running ones are the "online" players
    std::vector<Tile> m_tiles;
    int m_tileGeneration = 0;
    int m_columns = 1;
    int m_cellHeight = kInitialCellHeight;
    bool m_landscapeMode = true;
    bool m_aspectTaken = false;
    int m_refWidth = kDefaultRefWidth;
    int m_refHeight = kDefaultRefHeight;
    mutable std::recursive_timed_mutex m_turns;
    std::atomic<bool> m_releasedForGood{false};
};

} // namespace groupcontrol
