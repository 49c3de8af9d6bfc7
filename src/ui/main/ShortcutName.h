#pragma once
// The name of a row's desktop shortcut file. The row's name is the user's text; the file it names must stay
// a single entry of the desktop folder, whatever the text holds.

#include <string>
#include <string_view>

namespace mainui {

// The shortcut's file name without ".lnk": separators (so "..\" too), ":" and the other characters Windows
// refuses in names, and control characters become "_"; a name Windows takes for a device (CON, NUL, COM1,
// LPT1..., with or without an extension) gets a "_" in front; an empty name becomes "_"; names are cut to
// 200 UTF-16 units so the desktop path still fits.
std::wstring desktopShortcutName(std::wstring_view rowName);

} // namespace mainui
