#pragma once
// The manager setup dialog: the arrangement of instance windows (a grid, or a cascade from a start point
// with an offset), whether a grid keeps windows inside the screen and on the manager's screen, the disk mode
// and size of new instances, and the seconds between the starts of a batch. It shows the manager's own
// settings when it opens; Save writes every value into every settings file (PlayerSet), Cancel nothing.
//
// Numbers are not range-checked here: each user of a setting has its own fallback. An edit that holds no
// number at all writes the value the dialog opened with.
//
// Made once by the main window and shown again.

#include <functional>
#include <string>
#include <string_view>

#include "core/model/InstallDiscovery.h"
#include "core/storage/PlayerSet.h"
#include "toolkit/ControlFactory.h"
#include "toolkit/Window.h"
#include "ui/setup/DiskModeCheck.h"

namespace setupui {

class MultiSetupFrame {
public:
    static constexpr const wchar_t* kSkinFile = L"xml_multi_player_setup(all).xml";
    static constexpr const wchar_t* kClassName = L"kvmulsetupframe";
    static constexpr ui::Argb kLabelOn = 0xFFC0C0C3;
    static constexpr ui::Argb kLabelOff = 0xFF696972;

    struct Services {
        std::function<model::InstallFolders()> installFolders;
        SolidStateQuery solidState;
        // Asks the user with this text; `onYes` runs when the user agrees.
        std::function<void(const std::wstring& text, std::function<void()> onYes)> confirm;
        std::function<void()> closed; // after every close
    };

    MultiSetupFrame(common::PlayerSet& players, Services services)
        : m_players(players), m_services(std::move(services)) {}
    bool create(const ui::ControlFactory& factory, std::string_view skin); // false: logged
    // Opens modally over `owner` with the manager's settings.
    void show(ui::Window& owner);
    ui::Window& window() { return m_window; }

private:
    void load();
    void save();
    void showAlignment(bool overlay);
    void showDiskMode(bool fast);
    void onAutoSizeChanged();
    void onStableClicked();
    bool checked(std::wstring_view name) const;
    void setChecked(std::wstring_view name, bool on);
    int number(std::wstring_view name, int opened) const;
    void setNumber(std::wstring_view name, int value);

    common::PlayerSet& m_players;
    Services m_services;
    ui::Window m_window;
    common::SetupDialogValues m_opened{}; // what the dialog showed when it opened
};

} // namespace setupui
