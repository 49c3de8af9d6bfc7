#pragma once
// Running the stand-in emulator from a test: an install folder of one product line holding a copy of the
// stand-in of one generation, its storage object, instance configurations, the stand-in's event records,
// polling for conditions, and ending the instances it started (by process id).

#include <windows.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "core/storage/Players.h"
#include "support/WinProcess_win.h"
#include "windows/WinTestMain.h"

namespace testing_support {

// The build's folder of stand-in copies, passed as the test program's first argument.
inline std::filesystem::path standinRoot() {
    return testArguments().empty() ? std::filesystem::path() : windowsPathOf(testArguments()[0]);
}

// Pumps this thread's messages while polling `done`; false when `timeout` passes first.
bool waitUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout = std::chrono::seconds(20));

class StandInInstall {
public:
    // `standinRoot`: the build's folder of stand-in copies (one subfolder per major version).
    StandInInstall(const std::filesystem::path& standinRoot, const std::wstring& major, KV_PRODUCT_TYPE line);
    ~StandInInstall(); // ends every instance of this line that still runs

    common::Players& players() { return m_players; }
    const std::filesystem::path& folder() const { return m_dir.path(); }
    std::filesystem::path executable() const { return m_dir.path() / "rqplayer.exe"; }
    KV_PRODUCT_TYPE line() const { return m_line; }

    // An instance folder and a configuration with this name and resolution.
    void addInstance(int index, const std::wstring& name, int width = 1280, int height = 720);
    // The stand-in's records for the instance, one per line.
    std::vector<std::string> events(int index) const;
    // The process that owns the instance's endpoint; 0 when none runs.
    DWORD processOf(int index) const;
    // Waits for the instance's mutex and main window.
    bool waitRunning(int index);
    // Terminates the instance's process (found by its endpoint) and waits for its end.
    void end(int index);

private:
    WinTempDir m_dir;
    KV_PRODUCT_TYPE m_line;
    common::Players m_players;
    std::vector<int> m_indices;
};

std::wstring windowText(HWND window);
std::wstring className(HWND window);

} // namespace testing_support
