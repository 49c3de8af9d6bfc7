#pragma once
// The portable input and notification vocabulary: what a host (Win32 window, headless test host) feeds into a
// window, and what the window reports to its owner.
//
// Notification types are the names the windows' event tables use: "click", "selectchanged", "textchanged",
// "killfocus", "setfocus", "return", "itemselect", "valuechanged", "btnmouseenter", "btnmouseleave",
// "rightbuttondown".

#include <cstdint>
#include <string>
#include <string_view>

namespace ui {

class Control;

enum class MouseButton { Left, Right };

// The letters are there for the edit commands (Ctrl+A, C, V, X); typed text arrives as characters.
enum class Key { Tab, Return, Escape, Space, Left, Right, Up, Down, Home, End, Back, Delete, A, C, V, X, Other };

struct KeyModifiers {
    bool shift = false;
    bool ctrl = false;
    bool alt = false;
};

namespace events {
inline constexpr std::wstring_view kClick = L"click";
inline constexpr std::wstring_view kSelectChanged = L"selectchanged";
inline constexpr std::wstring_view kTextChanged = L"textchanged";
inline constexpr std::wstring_view kKillFocus = L"killfocus";
inline constexpr std::wstring_view kSetFocus = L"setfocus";
inline constexpr std::wstring_view kReturn = L"return";
inline constexpr std::wstring_view kItemSelect = L"itemselect";
inline constexpr std::wstring_view kValueChanged = L"valuechanged";
inline constexpr std::wstring_view kMouseEnter = L"btnmouseenter";
inline constexpr std::wstring_view kMouseLeave = L"btnmouseleave";
inline constexpr std::wstring_view kRightButtonDown = L"rightbuttondown";
} // namespace events

struct Notify {
    std::wstring_view type;
    Control* sender = nullptr;
    std::int64_t wParam = 0; // itemselect: new index; valuechanged: value
    std::int64_t lParam = 0; // itemselect: old index
};

} // namespace ui
