#pragma once
// The window-message catalogue shared by the manager, the instances and the suite's notification window:
// message ids, endpoint class names and the rule which messages an endpoint hands to its handler.
//
// Ids are fixed by the other programs of the suite; never renumber them.

#include <cstdint>
#include <string_view>

namespace utility {

// The platform's copy-data message: first parameter = IPC message id, second = the copy-data record.
inline constexpr std::uint32_t kMsgCopyData = 74;
// Messages up to and including this id get default processing at an endpoint (it is the first user id).
inline constexpr std::uint32_t kMsgEndpointFloor = 1024;

// Accepted by the manager's endpoint (posted or sent as plain messages).
inline constexpr std::uint32_t kMsgActivateManager = 9111;
inline constexpr std::uint32_t kMsgIgnored9000 = 9000;
inline constexpr std::uint32_t kMsgInstallProgress = 25000;
inline constexpr std::uint32_t kMsgPlayerWantMax = 25001;
inline constexpr std::uint32_t kMsgPlayerWantRestore = 25002;
inline constexpr std::uint32_t kMsgIgnored25004 = 25004;
inline constexpr std::uint32_t kMsgPlayerMoved = 25005;
inline constexpr std::uint32_t kMsgPlayerResolution = 25007; // second parameter: width low 16, height high 16
inline constexpr std::uint32_t kMsgPlayerRotated = 25008;
inline constexpr std::uint32_t kMsgRaiseFrame = 25009;
inline constexpr std::uint32_t kMsgPlayerWantFullScreen = 25010;
inline constexpr std::uint32_t kMsgPlayerExitFullScreen = 25011;
inline constexpr std::uint32_t kMsgShowAll = 25013;
// From the console (kvmctl) after it changed instances or groups: the manager reads its lists from disk again.
inline constexpr std::uint32_t kMsgReloadList = 25014;

// Sent by the manager to an instance (its endpoint or its main window).
inline constexpr std::uint32_t kMsgQuit = 9222;
inline constexpr std::uint32_t kMsgQuitLegacy = 11000; // never sent by us; watched like 9222
inline constexpr std::uint32_t kMsgRename = 14000;
inline constexpr std::uint32_t kMsgPlaceByWidth = 13000;  // first: left low 16, top high 16; second: width
inline constexpr std::uint32_t kMsgPlaceByHeight = 13001; // first: left low 16, top high 16; second: height
inline constexpr std::uint32_t kMsgDockState = 25003;     // first: 1 docked, 0 free; second: frame window
inline constexpr std::uint32_t kMsgFrameResizing = 25006;
inline constexpr std::uint32_t kMsgEnterFullScreen = 25012;
inline constexpr std::uint32_t kMsgSysCommand = 274;
inline constexpr std::uint32_t kSysCommandRestore = 61728;

// Posted to the suite's notification window: first parameter = unique index, second = 0.
inline constexpr std::uint32_t kMsgInstanceAdded = 1007;
inline constexpr std::uint32_t kMsgInstanceRemoved = 1008;
inline constexpr std::uint32_t kMsgInstanceChanged = 1015;

inline constexpr std::wstring_view kManagerEndpointClass = L"{6895BCDE-E04D-408E-A48D-76B379534489}";
inline constexpr std::wstring_view kNotificationWindowClass = L"vantor_fb_msg_wnd_class_ui";
inline constexpr std::wstring_view kPlayerMainFrameClass = L"KVPlayerMainFrame";
// Endpoint class names are formatted into this many characters (terminator included).
inline constexpr std::size_t kEndpointClassChars = 128;
// Class names of other processes' windows are read into this many characters.
inline constexpr std::size_t kClassNameReadChars = 255;

// Whether an endpoint hands the message to its handler: the copy-data message and every id above 1024.
constexpr bool reachesEndpointHandler(std::uint32_t message) {
    return message == kMsgCopyData || message > kMsgEndpointFloor;
}

// Close requests: a delivery of one of these that hangs gets the receiving process killed.
constexpr bool isWatchedMessage(std::uint32_t message) {
    return message == kMsgQuit || message == kMsgQuitLegacy;
}

} // namespace utility
