#pragma once
// What the storage objects ask of the operating system beyond files and the archiver: running a helper
// program of the emulator installation, telling a running instance about a change and whether one runs. The
// Windows build installs the real host at start-up (platform/win32/storage/PlayerHost_win); tests install
// their own. Without a host the requests are skipped and logged and no instance counts as running, so
// storage works (and is testable) without a desktop.

#include <cstdint>
#include <string>
#include <string_view>

namespace common {

class PlayerHost {
public:
    virtual ~PlayerHost() = default;

    // Runs the program hidden and waits at most 10 s: its exit code; 0 when it did not start, -1 on a
    // time-out.
    virtual int execute(const std::wstring& file, const std::wstring& parameters) = 0;
    // Hands `text` as data message `message` for `key` to the IPC endpoint of `windowClass` without waiting;
    // false when no such endpoint exists.
    virtual bool postData(const std::wstring& windowClass, int key, std::uint32_t message, std::wstring_view text) = 0;
    // Whether the named mutex an instance holds while it runs exists.
    virtual bool isRunning(const std::wstring& mutexName) = 0;
};

// Not owned; must outlive every storage operation that may use it.
void setPlayerHost(PlayerHost* host);
PlayerHost* playerHost();

} // namespace common
