// The process entry point of kvmulti.exe. The exit code is 1 whatever the application returned.

#include <windows.h>

#include "app/KVMultiImpl_win.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE /*previous*/, PWSTR commandLine, int /*show*/) {
    KVMultiImpl application;
    application.entrance(instance, commandLine);
    return 1;
}
