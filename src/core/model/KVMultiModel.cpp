#include "core/model/KVMultiModel.h"

#include <cwchar>
#include <system_error>

#include "core/files/Directories.h"
#include "core/log/Log.h"
#include "core/model/VersionChecks.h"

KVMultiModel::KVMultiModel(common::PlayerSet& players, platform::InstallSources& sources,
                           platform::InstanceDesktop& desktop, platform::WindowSystem& windows,
                           std::filesystem::path programFolder)
    : m_players(players), m_sources(sources), m_desktop(desktop), m_windows(windows),
      m_programFolder(std::move(programFolder)), m_groups(m_programFolder / "data"),
      m_self(std::make_shared<KVMultiModel*>(this)) {}

KVMultiModel::~KVMultiModel() {
    common::dispatch::retire(ownerKey());
}

void KVMultiModel::init(const wchar_t* commandLine) {
    if (commandLine) readCommandLine(commandLine);
    common::create_directories(m_programFolder / "data");
    m_groups.load();
    takeMarker("firstrun", m_newUser, L"it is new user!");
    takeMarker("oldrun103", m_oldUser, L"it is old user!");
}

// "monitor=65537|product=2": items split at "|", each at its first "="; other keys are ignored.
void KVMultiModel::readCommandLine(std::wstring_view commandLine) {
    while (!commandLine.empty()) {
        const std::size_t bar = commandLine.find(L'|');
        const std::wstring_view item = commandLine.substr(0, bar);
        commandLine = bar == std::wstring_view::npos ? std::wstring_view() : commandLine.substr(bar + 1);
        const std::size_t equals = item.find(L'=');
        if (equals == std::wstring_view::npos) continue;
        const std::wstring_view key = item.substr(0, equals);
        const std::wstring value(item.substr(equals + 1));
        if (value.empty()) continue;
        const int number = static_cast<int>(std::wcstol(value.c_str(), nullptr, 10));
        if (key == L"monitor") {
            m_cmdMonitor = number;
            KVLOG_AS("KVMultiModel::init", L"from monitor:%d", number);
        } else if (key == L"product") {
            m_cmdProduct = number;
            KVLOG_AS("KVMultiModel::init", L"from product:%d", number);
        }
    }
}

// The installer leaves "vms\firstrun" or "vms\oldrun103" behind; each is taken once.
void KVMultiModel::takeMarker(const char* name, bool& marker, const wchar_t* message) {
    const auto file = m_programFolder / "vms" / name;
    std::error_code ec;
    if (!std::filesystem::exists(file, ec)) return;
    marker = true;
    std::filesystem::remove(file, ec);
    if (ec) KVLOG_AS("KVMultiModel::init", L"fs::remove failed: %S", ec.message());
    KVLOG_AS("KVMultiModel::init", message);
}

void KVMultiModel::shutdown() {
    (void)m_groups.save(); // an unread file is left alone and a failed write is logged: nothing more to do now
    for (auto& timer : m_timers) timer.stop();
    common::dispatch::cancel(ownerKey());
}

common::Players& KVMultiModel::playersOf(std::int32_t id, int& index) {
    index = product::indexOfId(id);
    return m_players.line(product::productOfId(id));
}

void KVMultiModel::getPlayerPath(std::wstring& path32, std::wstring& path64, std::wstring& path9, std::wstring& path3,
                                 std::wstring& path14) {
    model::discoverInstallFolders(m_sources, m_folders);
    path32 = m_folders[0];
    path64 = m_folders[1];
    path9 = m_folders[2];
    path3 = m_folders[3];
    path14 = m_folders[4];
}

void KVMultiModel::readLastRun(int& line) {
    if (m_lastRunCache != -1) {
        line = m_lastRunCache;
        return;
    }
    const std::wstring value = m_sources.readPathConfig(L"lastRun");
    if (value.empty()) return;
    const long n = std::wcstol(value.c_str(), nullptr, 10);
    line = n >= 0 && n <= 3 ? static_cast<int>(n) : 4;
    m_lastRunCache = line;
}

// "lastRun" holds the product line (0 to 4) of the instance started last, not the instance id: the reader
// and the preselection of a line both expect a line, and an id of line 0 would read back as a wrong line.
void KVMultiModel::writeLastRun(KV_PRODUCT_TYPE line) {
    // Only the next start's preselection depends on it: a failed write is logged and the start goes on.
    if (!m_sources.writePathConfig(L"lastRun", std::to_wstring(static_cast<int>(line))))
        KVLOG(L"lastRun %d could not be written to pathconfig.ini", static_cast<int>(line));
}

int KVMultiModel::defaultProductLine() {
    int preference = -1;
    for (KV_PRODUCT_TYPE p : {KV_PRODUCT_14, KV_PRODUCT_9, KV_PRODUCT_71_32, KV_PRODUCT_71_64, KV_PRODUCT_51}) {
        if (isInstalled(p)) {
            preference = p;
            break;
        }
    }
    int last = -1;
    readLastRun(last);
    if (product::isProductType(last) && isInstalled(static_cast<KV_PRODUCT_TYPE>(last))) return last;
    return preference;
}

common::Players& KVMultiModel::defaultProductPlayers() {
    const int line = defaultProductLine();
    return m_players.line(line == -1 ? KV_PRODUCT_14 : static_cast<KV_PRODUCT_TYPE>(line));
}

bool KVMultiModel::isPlayerVersionSupported(std::int32_t id) {
    const KV_PRODUCT_TYPE line = product::productOfId(id);
    if (line == KV_PRODUCT_14) return true;
    const auto exe = model::playerExecutable(m_folders[static_cast<std::size_t>(line)]);
    return model::versionAtLeast(m_sources.fileVersionText(exe), model::minimumSupportedVersion(line));
}
