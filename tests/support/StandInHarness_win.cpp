#include "support/StandInHarness_win.h"

#include <cstdio>
#include <fstream>

#include "core/storage/ConfigDocument.h"
#include "core/storage/Desktop.h"
#include "core/storage/InstanceKeys.h"
#include "platform/win32/dispatch/MessagePump_win.h"
#include "platform/win32/ipc/WindowIPC_win.h"
#include "platform/win32/model/InstanceDesktop_win.h"
#include "standin/StandInProtocol.h"

namespace testing_support {

bool waitUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
    return platform::win32::pumpMessagesUntil(done, timeout);
}

StandInInstall::StandInInstall(const std::filesystem::path& standinRoot, const std::wstring& major,
                               KV_PRODUCT_TYPE line)
    : m_line(line), m_players(line) {
    std::filesystem::copy_file(standinRoot / major / "rqplayer.exe", executable());
    // The stand-in learns its line from this file beside it.
    const std::wstring value = std::to_wstring(static_cast<int>(line));
    WritePrivateProfileStringW(L"standin", L"line", value.c_str(), (m_dir.path() / "rqplayer.ini").c_str());
    const auto& info = product::productLine(line);
    m_players.setNamePatterns(std::wstring(info.mutexPattern), std::wstring(info.windowClassPattern));
    m_players.init(m_dir.path());
    // The storage object starts, finds and stops instances through the desktop, as in the program.
    static platform::win32::Win32InstanceDesktop desktop;
    common::setDesktop(&desktop);
}

StandInInstall::~StandInInstall() {
    for (int index : m_indices) end(index);
}

void StandInInstall::addInstance(int index, const std::wstring& name, int width, int height) {
    std::filesystem::create_directories(m_players.instanceFolder(index));
    common::ConfigDocument doc;
    doc.load(m_players.configPath(index));
    doc.setString(common::keys::kPlayerName, name);
    doc.setResolution(width, height);
    if (!doc.save()) std::fprintf(stderr, "the configuration of stand-in %d could not be written\n", index);
    m_players.addIndex(index);
    m_indices.push_back(index);
}

std::vector<std::string> StandInInstall::events(int index) const {
    std::ifstream in(m_dir.path() / standin::eventsFileName(m_line, index), std::ios::binary);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

DWORD StandInInstall::processOf(int index) const {
    utility::WindowIPC endpoint;
    if (!endpoint.open(m_players.windowClassName(index))) return 0;
    DWORD pid = 0;
    GetWindowThreadProcessId(endpoint.window(), &pid);
    return pid;
}

bool StandInInstall::waitRunning(int index) {
    return waitUntil([&] { return m_players.isPlayerRunning(index) && m_players.findPlayerWindow(index); });
}

void StandInInstall::end(int index) {
    const DWORD pid = processOf(index);
    if (!pid) return;
    HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid);
    if (!process) return;
    TerminateProcess(process, 99);
    WaitForSingleObject(process, 10000);
    CloseHandle(process);
}

std::wstring windowText(HWND window) {
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);
    return text;
}

std::wstring className(HWND window) {
    wchar_t text[256] = {};
    GetClassNameW(window, text, 256);
    return text;
}

} // namespace testing_support
