#pragma once
// Unix symbolic links made by a test under Wine, which is how a link inside an instance folder shows there.
// Wine's CreateSymbolicLinkW reports success and makes nothing, so the links are made by "/bin/ln", started
// as a Linux program; such a program cannot be waited for, so its result is polled for. The same way
// "/bin/rm" clears a folder that holds such links, which no Win32 call can remove.

#include <windows.h>

#include <chrono>
#include <filesystem>
#include <string>

namespace testing_support {

// The Unix path Wine maps a Windows path to; empty outside Wine.
inline std::string unixPathOf(const std::filesystem::path& path) {
    using ToUnix = char*(CDECL*)(const WCHAR*);
    const auto toUnix = reinterpret_cast<ToUnix>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    if (!toUnix) return {};
    char* text = toUnix(path.c_str());
    std::string result = text ? text : "";
    HeapFree(GetProcessHeap(), 0, text);
    return result;
}

// Starts a Linux program by its Unix path and polls until `done` holds (false after 10 s).
template <typename Done>
bool runLinuxProgram(std::string commandLine, Done done) {
    commandLine = "Z:" + commandLine;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
        return false;
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!done()) {
        if (std::chrono::steady_clock::now() > until) return false;
        Sleep(5);
    }
    return true;
}

inline bool makeUnixLink(const std::filesystem::path& link, const std::filesystem::path& target) {
    const std::string unixLink = unixPathOf(link.parent_path()) + "/" + link.filename().string();
    return runLinuxProgram("/bin/ln -s \"" + unixPathOf(target) + "\" \"" + unixLink + "\"",
                           [&] { return GetFileAttributesW(link.c_str()) != INVALID_FILE_ATTRIBUTES; });
}

inline bool removeFromLinux(const std::filesystem::path& folder) {
    return runLinuxProgram("/bin/rm -rf \"" + unixPathOf(folder) + "\"",
                           [&] { return GetFileAttributesW(folder.c_str()) == INVALID_FILE_ATTRIBUTES; });
}

} // namespace testing_support
