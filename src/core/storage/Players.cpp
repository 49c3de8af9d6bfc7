#include "core/storage/Players.h"

#include <cerrno>
#include <charconv>
#include <climits>
#include <cwchar>
#include <system_error>

#include "core/files/Directories.h"
#include "core/lang/LanguageStrings.h"
#include "core/log/Log.h"
#include "core/platform/Os.h"
#include "core/platform/SystemFacts.h"
#include "core/storage/InstanceDefaults.h"
#include "core/storage/InstanceKeys.h"
#include "core/text/Utf.h"

namespace common {
namespace {

std::mutex g_productNameLock;
std::function<std::wstring()> g_productNameSource;
std::wstring g_productName; // read once per process
bool g_productNameRead = false;

constexpr std::wstring_view kPrefix = L"vantor";
using NativeName = std::filesystem::path::string_type;

NativeName native(std::string_view ascii) {
    return NativeName(ascii.begin(), ascii.end());
}

// "vantor" + index in any character type, without the formatting machinery of std::to_wstring.
template <class Text>
Text instanceNameAs(int index) {
    char digits[16];
    const auto end = std::to_chars(std::begin(digits), std::end(digits), index).ptr;
    Text name(kPrefix.begin(), kPrefix.end());
    name.append(std::begin(digits), end);
    return name;
}

// A folder's name as wide text; natively names are bytes that need not be valid UTF-8.
template <class Path>
std::wstring fileNameOf(const Path& p) {
    if constexpr (std::is_same_v<typename Path::value_type, wchar_t>) {
        return p.filename().native();
    } else {
        return text::fromUtf8(p.filename().native());
    }
}

} // namespace

void setProductNameSource(std::function<std::wstring()> source) {
    std::lock_guard guard(g_productNameLock);
    g_productNameSource = std::move(source);
    g_productNameRead = false;
}

std::wstring productDisplayName() {
    std::lock_guard guard(g_productNameLock);
    if (!g_productNameRead) {
        if (g_productNameSource)
            g_productName = g_productNameSource();
        else
            g_productName = lang::lookUp(L"multis_product_name").value_or(L"");
        if (g_productName.empty()) g_productName = L"KVPlayer";
        g_productNameRead = true;
    }
    return g_productName;
}

Players::Players(KV_PRODUCT_TYPE product) : m_product(product) {
    m_busy.setSharedLockNames([this](int index) { return sharedLockName(index); });
}

// Kernel object names cannot hold a path (a backslash separates namespaces), so the folder enters the name as
// a hash of its lower-case text, the same in every process of the program.
std::wstring Players::sharedLockName(int index) const {
    if (index < 0) return {};
    std::uint64_t hash = 14695981039346656037ULL; // FNV-1a
    for (wchar_t c : baseFolder().wstring()) {
        const wchar_t lower = c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c == L'/' ? L'\\' : c;
        hash = (hash ^ static_cast<std::uint64_t>(lower)) * 1099511628211ULL;
    }
    wchar_t text[64];
    std::swprintf(text, 64, L"kvmulti.busy.%016llx.%d", static_cast<unsigned long long>(hash), index);
    return text;
}

void Players::init(const std::filesystem::path& installFolder) {
    if (m_initialised && installFolder.native() == m_installFolder.native()) return;
    m_initialised = true;
    m_installFolder = installFolder;
    m_configFolderReady = false;
    m_settings.load(baseFolder());
    loadConfig();
}

void Players::setNamePatterns(std::wstring mutexPattern, std::wstring windowClassPattern) {
    m_mutexPattern = std::move(mutexPattern);
    m_windowClassPattern = std::move(windowClassPattern);
}

std::filesystem::path Players::baseFolder() const {
    return m_installFolder.empty() ? platform::programFolder() : m_installFolder;
}

std::wstring Players::instanceName(int index) {
    if (index == -1) return {};
    return instanceNameAs<std::wstring>(index);
}

int Players::indexFromName(std::wstring_view name) {
    if (name.size() <= kPrefix.size() || name.substr(0, kPrefix.size()) != kPrefix) return -1;
    const std::wstring rest(name.substr(kPrefix.size())); // wcstol needs a terminated string
    wchar_t* end = nullptr;
    errno = 0;
    const long value = std::wcstol(rest.c_str(), &end, 10);
    if (end == rest.c_str() || *end != L'\0' || errno == ERANGE || value < INT_MIN || value > INT_MAX) return -1;
    return static_cast<int>(value);
}

std::wstring Players::mutexName(int index) const {
    return product::expandPattern(m_mutexPattern, index);
}
std::wstring Players::windowClassName(int index) const {
    return product::expandPattern(m_windowClassPattern, index);
}

std::filesystem::path Players::playerExecutable() const {
    return baseFolder() / "rqplayer.exe";
}

std::filesystem::path Players::instanceFolder(int index) const {
    if (index == -1) return {};
    return belowBase({native("vms"), instanceNameAs<NativeName>(index)});
}

std::filesystem::path Players::configPath(int index) const {
    if (index == -1) return {};
    // Checked once per base folder: scanning a line asks for thousands of these paths. A folder removed
    // later is created again by the next save.
    if (!m_configFolderReady.load(std::memory_order_acquire)) {
        const auto folder = baseFolder() / "vms" / "config";
        std::error_code ec;
        if (std::filesystem::is_directory(folder, ec) || common::create_directories(folder))
            m_configFolderReady.store(true, std::memory_order_release);
    }
    return belowBase({native("vms"), native("config"), instanceNameAs<NativeName>(index) + native(".config")});
}

// The same path as baseFolder() / each part, made as one text: a list asks for thousands of these, and
// every `/` copies the whole path with its parts.
std::filesystem::path Players::belowBase(std::initializer_list<NativeName> parts) const {
    NativeName text = m_installFolder.empty() ? platform::programFolder().native() : m_installFolder.native();
    // Where `/` would add no separator (a base ending in one, a drive without a folder), it decides.
    if (text.empty() || text.back() == L'/' || text.back() == L'\\' || text.back() == L':') {
        std::filesystem::path path(std::move(text));
        for (const auto& part : parts) path /= part;
        return path;
    }
    for (const auto& part : parts) {
        text += std::filesystem::path::preferred_separator;
        text += part;
    }
    return std::filesystem::path(std::move(text));
}

std::filesystem::path Players::diskPath(int index, const char* stem, bool vdi) const {
    if (index == -1) return {};
    return instanceFolder(index) / (std::string(stem) + (vdi ? ".vdi" : ".vmdk"));
}

std::filesystem::path Players::dataDiskPath(int index, bool vdi) const {
    return diskPath(index, "data", vdi);
}
std::filesystem::path Players::systemDiskPath(int index, bool vdi) const {
    return diskPath(index, "system", vdi);
}
std::filesystem::path Players::sdcardDiskPath(int index, bool vdi) const {
    return diskPath(index, "sdcard", vdi);
}

std::filesystem::path Players::templateSystemPath(bool vdi) const {
    return baseFolder() / (vdi ? "system.vdi" : "system.vmdk");
}
std::filesystem::path Players::templateDataPath(bool vdi) const {
    return baseFolder() / (vdi ? "data.vdi" : "data.vmdk");
}
std::filesystem::path Players::templateSmallDataPath(bool vdi) const {
    return baseFolder() / (vdi ? "data-3G.vdi" : "data-3G.vmdk");
}

void Players::loadConfig() {
    std::set<int> found;
    std::error_code ec;
    std::filesystem::directory_iterator it(baseFolder() / "vms", ec);
    for (; !ec && it != std::filesystem::directory_iterator(); it.increment(ec)) {
        std::error_code typeError;
        if (!it->is_directory(typeError)) continue;
        const int index = indexFromName(fileNameOf(it->path()));
        if (index != -1) found.insert(index);
    }
    if (ec) KVLOG_AS("common::Players::loadConfig", L"fs::directory_iterator failed: %S", ec.message());
    std::lock_guard guard(m_indicesLock);
    m_indices.swap(found);
}

std::vector<int> Players::indices() const {
    std::lock_guard guard(m_indicesLock);
    return {m_indices.begin(), m_indices.end()};
}

bool Players::hasIndex(int index) const {
    std::lock_guard guard(m_indicesLock);
    return m_indices.count(index) != 0;
}

void Players::addIndex(int index) {
    std::lock_guard guard(m_indicesLock);
    m_indices.insert(index);
}

void Players::removeIndex(int index) {
    std::lock_guard guard(m_indicesLock);
    m_indices.erase(index);
}

std::wstring Players::derivedName(int index) {
    const std::wstring base = productDisplayName();
    return index == 0 ? base : base + L"-" + std::to_wstring(index);
}

std::wstring Players::displayName(int index) const {
    ConfigDocument doc;
    doc.load(configPath(index));
    const std::wstring clean = withoutLineBreaks(doc.getString(keys::kPlayerName));
    return clean.empty() ? derivedName(index) : clean;
}

std::wstring Players::displayNameCached(int index) const {
    {
        std::lock_guard guard(m_namesLock);
        if (auto it = m_nameCache.find(index); it != m_nameCache.end()) return it->second;
    }
    return displayName(index);
}

std::wstring Players::displayNameCached(int index, const ConfigDocument& config) const {
    {
        std::lock_guard guard(m_namesLock);
        if (auto it = m_nameCache.find(index); it != m_nameCache.end()) return it->second;
    }
    const std::wstring clean = withoutLineBreaks(config.getString(keys::kPlayerName));
    return clean.empty() ? derivedName(index) : clean;
}

void Players::cacheName(int index, std::wstring name) {
    std::lock_guard guard(m_namesLock);
    m_nameCache[index] = std::move(name);
}

void Players::forgetName(int index) {
    std::lock_guard guard(m_namesLock);
    m_nameCache.erase(index);
}

void Players::forgetNames() {
    std::lock_guard guard(m_namesLock);
    m_nameCache.clear();
}

Resolution Players::resolution(int index) const {
    ConfigDocument doc;
    doc.load(configPath(index));
    const Resolution fallback = defaults::resolutionFor(index, platform::primaryScreenWidth());
    Resolution r = doc.getResolution(keys::kResolution, fallback);
    if (r.width == 0) r.width = fallback.width;
    if (r.height == 0) r.height = fallback.height;
    return r;
}

int Players::dpi(int index) const {
    ConfigDocument doc;
    doc.load(configPath(index));
    return doc.getInt(keys::kResolutionDpi, 240);
}

} // namespace common
