#pragma once
// The stand-in emulator's own test hooks, on top of the messages a real instance understands. Tests and the
// IPC benchmark drive it with these; the manager never sends them.
//
// Command line: "index=N|..." like a real instance, plus our items:
//   line=L        product line 0..4 (else "rqplayer.ini" beside it, [standin] line=L; else 4)
//   hang=ID       hang for good when message ID arrives (data or plain message)
//   exit=C        exit at once with code C, before anything else
//   stay=1        record 9222 but stay open (to see everything a stop request sends)
// It records what it receives in "events-L<line>-<index>.txt" beside it, one line each:
//   data <id> <text>     a data message (the text as UTF-8)
//   post <id> <first> <second>   a plain message (9222, 25003, 25006, 25012; a docked window keeps working
//                                as a child of the manager's group frame)
//   place <id> <left> <top> <width> <height>   after 13000/13001 moved it
//   sent <id>            a message it posted to the manager's endpoint

#include <cstdint>
#include <string>

namespace standin {

// Posted to its endpoint: post message `first` (25001, 25002, 25005, 25007 to 25011) to the manager's
// endpoint with its main window as first parameter. 25007 carries width | height << 16 as second: the
// resolution in `second` when it is not 0 (the stand-in takes it as its own from then on: it turned), else its
// configured one.
inline constexpr std::uint32_t kMsgSendToManager = 30000;
// A data message that is only counted (throughput measurements); not recorded.
inline constexpr std::uint32_t kMsgPing = 30001;
// Sent to its main window: answers the number of pings received so far.
inline constexpr std::uint32_t kMsgPingCount = 30002;

inline std::wstring eventsFileName(int line, int index) {
    return L"events-L" + std::to_wstring(line) + L"-" + std::to_wstring(index) + L".txt";
}

} // namespace standin
