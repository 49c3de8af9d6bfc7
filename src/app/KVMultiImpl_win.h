#pragma once
// The application object: runs the program from its entry point to its end.
//
// For now this is the walking skeleton of start-up: log and dispatcher, the log file, a window, the message
// loop, and the shutdown that writes the log's last line.

#include <windows.h>

class KVMultiImpl {
public:
    // 1 in every case but one: -1 when the component library cannot be initialised.
    int entrance(HINSTANCE instance, const wchar_t* commandLine);

private:
    bool showMainFrame();
    void runMessageLoop();

    HINSTANCE m_instance = nullptr;
    HWND m_mainWindow = nullptr;
};
