#pragma once
// How a hot key looks in the settings dialog: the modifiers, then the key's name ("Ctrl + Shift + A"), and
// whether the combination may be used.

#include <optional>
#include <string>
#include <string_view>

#include "core/storage/ConfigDocument.h"

namespace settingsui {

inline constexpr int kModAlt = 1;
inline constexpr int kModCtrl = 2;
inline constexpr int kModShift = 4;

// Digits and letters by their own character, other keys from the key-name table; empty when unnamed.
std::wstring keyName(std::uint16_t virtualKey);
// "Ctrl + ", "Shift + ", "Alt + " as set, then the key's name.
std::wstring hotkeyText(common::CombineKey combination);
// The boss key needs a modifier; the others may also be Esc, PageUp, PageDown or F1 to F12 alone.
bool hotkeyValid(std::wstring_view editName, common::CombineKey combination);
// The text with the "(not set)" mark when the combination is invalid or its key has no name.
std::wstring hotkeyDisplayText(std::wstring_view editName, common::CombineKey combination);

// A key pressed in a hot-key edit with the modifiers held (kModAlt | kModCtrl | kModShift): the combination it
// sets, or nothing when the press sets none. A modifier alone waits for the key that completes it; Backspace
// or Delete alone clears the edit; Tab alone moves the focus on.
std::optional<common::CombineKey> captureHotkey(std::uint16_t virtualKey, int modifiers);

} // namespace settingsui
