#pragma once
// The stand-in emulator: one instance of one product line, with what the manager can see of a real one
// (the instance mutex, the IPC endpoint of the line's class pattern, the visible "KVPlayerMainFrame" window
// with its "RenderWindow" and "subWin" children, the title = the instance name) and the reactions to the
// manager's messages. It exists so tests and benchmarks drive real processes; it is never shipped.

#include <windows.h>

#include <filesystem>
#include <memory>

#include "StandInOptions.h"
#include "core/ipc/IWindowIPCHandle.h"
#include "core/storage/Players.h"
#include "platform/win32/ipc/WindowIPC_win.h"

namespace standin {

class StandIn final : public utility::IWindowIPCHandle {
public:
    StandIn(const Options& options, int line, std::filesystem::path folder);
    ~StandIn() override;

    // Mutex, endpoint and windows; the exit code to return when it fails (2: the instance runs already).
    int open(HINSTANCE module);
    int run(); // the message loop

    int onHandleWindowIPC(std::uint32_t message, std::uintptr_t first, std::intptr_t second) override;
    LRESULT onMainFrameMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

private:
    void record(const std::string& line) const;
    void hangIfAsked(std::uint32_t message) const;
    void onData(std::uint32_t id, const COPYDATASTRUCT* data);
    void place(std::uint32_t message, WPARAM origin, LPARAM extent);
    void sendToManager(std::uint32_t message, std::uint32_t resolution);
    void close();

    Options m_options;
    int m_line;
    std::filesystem::path m_folder;
    common::Players m_players;
    common::Resolution m_resolution;
    HANDLE m_mutex = nullptr;
    utility::WindowIPC m_endpoint;
    HWND m_mainFrame = nullptr;
    long m_pings = 0;
};

} // namespace standin
