#pragma once
// The group control frame's window: its caption with the group's name and buttons, one tile per player
// (Start while the instance does not run, Collect while it runs outside the frame) under the docked instance
// windows, and the pages shown when the group is empty or none of it runs. What the frame does with the
// instance windows is its GroupDock's; this class keeps the controls in step with it and turns the buttons
// into dock operations.
//
// Portable like the other windows: the native host gives it what only a real window can do through
// `GroupFrameServices`. User-interface thread only.

#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "toolkit/ControlFactory.h"
#include "toolkit/MessageBox.h"
#include "toolkit/Window.h"
#include "ui/groupcontrol/GroupDock.h"

namespace groupcontrol {

struct GroupFrameServices {
    // Shows a built message box modally over the frame.
    std::function<void(msg::MessageBoxWindow&)> showBox;
    std::function<void()> maximize;
    std::function<void()> restore;
    // The native window goes; its end asks the instances still docked to quit.
    std::function<void()> closeWindow;
    // Starts the group's instance of this index (hidden until it is docked).
    std::function<void(int index)> startPlayer;
    // The group control settings; without it the more button shows disabled.
    std::function<void()> openSetup;
};

class KVGroupControlFrame {
public:
    static constexpr const wchar_t* kSkinFile = L"xml_groupcontrolframe.xml";
    static constexpr const wchar_t* kTileSkinFile = L"xml_groupcontrol_playeritem.xml";
    static constexpr const wchar_t* kClassName = L"KVGroupControlFrame";

    KVGroupControlFrame(platform::DockDesktop& desktop, common::GlobalSettings& settings, int productType, double scale,
                        const ui::ControlFactory& factory, GroupFrameServices services);
    KVGroupControlFrame(const KVGroupControlFrame&) = delete;
    KVGroupControlFrame& operator=(const KVGroupControlFrame&) = delete;

    // Builds the window and the tile template. False when a skin does not parse (logged).
    bool create(std::string_view skin, std::string_view tileSkin);
    ui::Window& window() { return m_window; }
    GroupDock& dock() { return m_dock; }
    const GroupDock& dock() const { return m_dock; }

    // The title, the tiles and the page follow the dock.
    void syncWithDock();
    // The close button: closes at once when nothing runs or closing without asking is stored; else asks
    // whether the instances stay open on the desktop or close with the frame.
    void closeRequest();
    // The native window is being destroyed: the docked instances are asked to quit and the lists empty.
    void onWindowDestroyed();
    // The more button opens the group control settings from now on.
    void setOpenSetup(std::function<void()> openSetup);
    // The maximise and restore buttons follow the window's state.
    void showMaximized(bool maximized);
    msg::MessageBoxWindow* currentBox() const { return m_box && m_box->isOpen() ? m_box.get() : nullptr; }

private:
    void onNotify(const ui::Notify& n);
    void rebuildTiles();
    void placeTile(ui::Control& tile, const Tile& state) const;
    void showTile(ui::Control& tile, const Tile& state) const;
    ui::Control* tileControl(int index) const;
    int tileIndexOf(const ui::Control& control) const;
    void showBox(std::unique_ptr<msg::MessageBoxWindow> box);
    void closeWindow();

    GroupDock m_dock;
    common::GlobalSettings& m_settings;
    const ui::ControlFactory& m_factory;
    GroupFrameServices m_services;
    double m_scale;
    ui::Window m_window;
    std::unique_ptr<ui::Control> m_tileTemplate;
    int m_shownGeneration = -1;
    std::unique_ptr<msg::MessageBoxWindow> m_box;
    std::unique_ptr<msg::MessageBoxWindow> m_retiredBox; // its host may still hold its window
};

} // namespace groupcontrol
