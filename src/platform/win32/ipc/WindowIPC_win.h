#pragma once
// An IPC endpoint: either the window this process creates to receive messages (`create`), or a peer's
// endpoint found by class name (`open`) to post and send to. A peer is never owned: dropping an opened
// object leaves the peer alone; `destroy` ends only a window this object created.
//
// Data messages (copy-data with a byte payload) go through WindowIpcProxy's sender threads, so no caller
// ever waits for a receiver. `create`, `destroy` and the handler run on the thread that owns the window.

#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/ipc/IWindowIPCHandle.h"

namespace utility {

class WindowIPC {
public:
    // Registers the class and creates a hidden popup endpoint of it; messages 74 and above 1024 go to
    // `handler` (not owned). False when no window was created.
    [[nodiscard]] bool create(const std::wstring& className, IWindowIPCHandle* handler);
    void destroy();

    // Finds a top-level window by class (and name, when not empty); logs a failed search that has an error.
    bool open(const std::wstring& className);
    bool open(const std::wstring& className, const std::wstring& windowName);

    // Posts without waiting; false without a window or when the post fails.
    [[nodiscard]] bool postMessage(std::uint32_t message, WPARAM first, LPARAM second) const;
    // Hands the payload to the proxy's sender thread for `key`; nothing without a window.
    void sendData(int key, std::uint32_t message, std::vector<std::uint8_t> payload) const;
    // The text as UTF-16LE without terminator; an empty text is logged and not sent.
    void postData(int key, std::uint32_t message, std::wstring_view text) const;

    HWND window() const { return m_hWnd; }

private:
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND m_hWnd = nullptr;
    IWindowIPCHandle* m_handler = nullptr;
    bool m_created = false;
};

// The process's top-level "KVPlayerMainFrame" window (walks every top-level window); null when none.
HWND findMainFrameOfProcess(DWORD processId);

} // namespace utility
