#pragma once
// The other-settings dialog of the lines whose instances share a frame-rate cap (7.1 and 9): the default
// frame rate or one lower rate for every instance, reduced audio, and remembering window positions. Save
// writes the three into the settings of every installed line but Android 14 and into the manager's own;
// Cancel writes nothing.
//
// Made once by the main window and shown again.

#include <functional>
#include <string_view>

#include "core/storage/PlayerSet.h"
#include "toolkit/ControlFactory.h"
#include "toolkit/Window.h"

namespace setupui {

// The slider's stops: 1, 10, 20, 30, 40 and 50 frames per second.
int snapFrameRate(int value);
// Where the slider starts for a stored rate: rounded down to a stop, 1 for rates below 10.
int sliderStartFor(int storedRate);

class MultiOtherSetupFrame {
public:
    static constexpr const wchar_t* kSkinFile = L"xml_multi_player_setup(all)_other.xml";
    static constexpr const wchar_t* kClassName = L"kvmulothersetupframe";

    struct Callbacks {
        // Saved; `lowered` when the instances now run slower than before (a tip explains the trade).
        std::function<void(bool lowered)> saved;
        std::function<void()> closed; // after every close
    };

    MultiOtherSetupFrame(common::PlayerSet& players, Callbacks callbacks)
        : m_players(players), m_callbacks(std::move(callbacks)) {}
    bool create(const ui::ControlFactory& factory, std::string_view skin); // false: logged
    // Opens modally over `owner` with the manager's settings.
    void show(ui::Window& owner);
    ui::Window& window() { return m_window; }
    bool lowMode() const { return m_low; }

private:
    void showMode(bool low);
    void showRate(int value);
    void save();

    common::PlayerSet& m_players;
    Callbacks m_callbacks;
    ui::Window m_window;
    bool m_low = false;
    int m_openedRate = 60;
};

} // namespace setupui
