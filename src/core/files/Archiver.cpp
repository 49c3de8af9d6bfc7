#include "core/files/Archiver.h"

#include <cctype>
#include <mutex>

#include "core/files/Files.h"
#include "core/log/Log.h"
#include "core/platform/ArchiverProcess.h"
#include "core/platform/Os.h"
#include "core/text/Utf.h"

namespace common::files {
namespace {

std::mutex g_programLock;
std::filesystem::path g_program;
std::chrono::milliseconds g_idleTimeout = kArchiverIdleTimeout;

std::chrono::milliseconds idleTimeout() {
    std::lock_guard guard(g_programLock);
    return g_idleTimeout;
}

// 7-Zip's prompt ("Enter password (will not be echoed):") and its complaints ("Wrong password?").
bool mentionsPassword(std::string_view chunk) {
    return chunk.find("Enter password") != std::string_view::npos ||
           chunk.find("Wrong password") != std::string_view::npos;
}

// The whole command line must fit Windows' limit of 32767 characters.
constexpr std::size_t kCommandLineLimit = 32000;

// Natively names are bytes: converted from UTF-8, where a name that is not valid UTF-8 gets U+FFFD (and is
// then refused, since it could not be passed back unchanged).
std::wstring wide(const std::filesystem::path& path) {
#ifdef _WIN32
    return path.native();
#else
    return text::fromUtf8(path.native());
#endif
}

std::filesystem::path withoutTrailingSeparator(std::filesystem::path folder) {
    while (folder.has_relative_path() && !folder.has_filename()) folder = folder.parent_path();
    return folder;
}

// The program's own text: quoted when it holds a blank, so a folder like "Program Files" stays one token.
std::wstring programText(const std::filesystem::path& archiver) {
    const std::wstring text = wide(archiver);
    return text.find_first_of(L" \t") == std::wstring::npos ? text : L"\"" + text + L"\"";
}

std::optional<std::wstring> checked(std::wstring line) {
    if (line.size() > kCommandLineLimit) {
        KVLOG_AS("common::files::archiver", L"refused: command line of %d characters", static_cast<int>(line.size()));
        return std::nullopt;
    }
    return line;
}

bool runArchiver(const std::wstring& line, const ArchiveProgress& progress, int* exitCode, bool logged) {
    constexpr auto kName = "common::files::archiveFiles";
    bool passwordAsked = false;
    const auto limit = idleTimeout();
    const auto run = platform::runArchiverProcess(
        archiverProgram(), line,
        [&](std::string_view chunk) {
            passwordAsked = passwordAsked || mentionsPassword(chunk);
            if (!progress) return;
            if (const auto fraction = scanProgress(chunk)) progress(*fraction);
        },
        limit);
    if (exitCode) *exitCode = run.started ? run.exitCode : -1;
    if (!run.pipeCreated) {
        if (logged) KVLOG_AS(kName, L"zip files CreatePipe error %d", run.error);
        return false;
    }
    if (!run.started) {
        if (logged) KVLOG_AS(kName, L"create progress error. %d. args: %s", run.error, line);
        return false;
    }
    if (logged) KVLOG_AS(kName, L"create 7za.exe progress args: %s", line);
    // These two are logged for unpacking too: they are why a restore failed.
    if (run.timedOut)
        KVLOG_AS(kName, L"archiver stopped: no output for %lld ms. args: %s", static_cast<long long>(limit.count()),
                 line);
    if (passwordAsked) KVLOG_AS(kName, L"archive is encrypted: the archiver asked for a password. args: %s", line);
    const bool result = run.error == platform::kBrokenPipe && !run.timedOut && !passwordAsked;
    if (logged) KVLOG_AS(kName, L"zip readfile error:%d result:%d", run.error, result);
    return result;
}

} // namespace

void setArchiverProgram(std::filesystem::path program) {
    std::lock_guard guard(g_programLock);
    g_program = std::move(program);
}

void setArchiverIdleTimeout(std::chrono::milliseconds timeout) {
    std::lock_guard guard(g_programLock);
    g_idleTimeout = timeout;
}

std::filesystem::path archiverProgram() {
    {
        std::lock_guard guard(g_programLock);
        if (!g_program.empty()) return g_program;
    }
    return platform::programFolder() / "7za.exe";
}

bool safeForCommandLine(const std::filesystem::path& path) {
    const std::wstring text = wide(path);
    bool safe = !text.empty() && path.is_absolute() && path.has_filename();
    for (wchar_t c : text)
        if (c == L'"' || c < 0x20 || c == 0x7f || c == L'*' || c == L'?' || c == 0xFFFD) safe = false;
    if (!safe) KVLOG(L"refused: the path [ %s ] cannot be passed to the archiver safely", text);
    return safe;
}

std::optional<std::wstring> packCommandLine(const std::filesystem::path& archiver, bool compress,
                                            const std::vector<std::filesystem::path>& files,
                                            const std::filesystem::path& archive) {
    if (!safeForCommandLine(archiver) || !safeForCommandLine(archive)) return std::nullopt;
    std::wstring line = programText(archiver) + (compress ? L" a -mx=1 -t7z -bsp2 \"" : L" a -mx=0 -t7z -bsp2 \"");
    line += wide(archive) + L"\" ";
    for (const auto& file : files) {
        if (!safeForCommandLine(file)) return std::nullopt;
        line += L" -i!\"" + wide(file) + L"\"";
    }
    return checked(std::move(line));
}

std::optional<std::wstring> unpackCommandLine(const std::filesystem::path& archiver,
                                              const std::filesystem::path& archive,
                                              const std::filesystem::path& folder) {
    const auto target = withoutTrailingSeparator(folder); // a trailing backslash would escape the quote
    if (!safeForCommandLine(archiver) || !safeForCommandLine(archive) || !safeForCommandLine(target))
        return std::nullopt;
    return checked(programText(archiver) + L" e -bsp2 -y \"" + wide(archive) + L"\" -o\"" + wide(target) + L"\"");
}

std::optional<double> scanProgress(std::string_view chunk) {
    std::size_t i = 0;
    while (i < chunk.size() && std::isspace(static_cast<unsigned char>(chunk[i]))) ++i;
    const std::size_t signAt = i;
    if (i < chunk.size() && (chunk[i] == '+' || chunk[i] == '-')) ++i;
    const std::size_t digitsAt = i;
    long value = 0;
    while (i < chunk.size() && std::isdigit(static_cast<unsigned char>(chunk[i])) && value < 100000)
        value = value * 10 + (chunk[i++] - '0');
    if (i == digitsAt || i >= chunk.size() || chunk[i] != '%') return std::nullopt;
    if (chunk[signAt] == '-') value = -value;
    return static_cast<double>(value) / 100.0;
}

bool archiveFiles(bool compress, const std::vector<std::filesystem::path>& files, const std::filesystem::path& archive,
                  const ArchiveProgress& progress, int* exitCode) {
    if (exitCode) *exitCode = -1;
    if (files.empty()) {
        KVLOG(L"zip files error 1");
        return false;
    }
    const auto line = packCommandLine(archiverProgram(), compress, files, archive);
    return line && runArchiver(*line, progress, exitCode, true);
}

bool extractFiles(const std::filesystem::path& archive, const std::filesystem::path& folder,
                  const ArchiveProgress& progress, int* exitCode) {
    if (exitCode) *exitCode = -1;
    if (!fileExists(archive)) return false;
    const auto line = unpackCommandLine(archiverProgram(), archive, folder);
    return line && runArchiver(*line, progress, exitCode, false);
}

} // namespace common::files
