#pragma once
// The backup/restore window of one instance: a card that backs it up into a file and a card that restores it
// from one, and whether backups are compressed. The window only asks; the main window runs the file dialogs
// and the model's operation through the two callbacks, after the click that asked has returned (a file
// dialog runs its own message loop, which must not run inside a control's notification).
//
// Made once by the main window and opened again for each instance.

#include <functional>
#include <string_view>

#include "toolkit/ControlFactory.h"
#include "toolkit/Window.h"

namespace setupui {

class MultiBackupRestoreWindow {
public:
    static constexpr const wchar_t* kSkinFile = L"xml_multi_player_backup_restore.xml";
    static constexpr const wchar_t* kClassName = L"KVMultiBackupRestoreWindow";

    struct Callbacks {
        std::function<void(bool compress)> backup;
        std::function<void()> restore;
        // The compression box changed: the choice is stored for every product line and the manager.
        std::function<void(bool compress)> compressionChanged;
        std::function<void()> closed; // after every close
    };

    explicit MultiBackupRestoreWindow(Callbacks callbacks) : m_callbacks(std::move(callbacks)) {}
    // False when the skin does not parse (logged).
    bool create(const ui::ControlFactory& factory, std::string_view skin);
    // Opens modally over `owner` with the stored compression choice.
    void show(ui::Window& owner, bool compress);
    ui::Window& window() { return m_window; }
    bool compress() const;

private:
    void onNotify(const ui::Notify& n);
    void hover(std::wstring_view card, bool on);

    Callbacks m_callbacks;
    ui::Window m_window;
};

} // namespace setupui
