#include "core/files/FileRoutines.h"

#include <algorithm>
#include <chrono>
#include <fstream>
#include <memory>
#include <string>
#include <system_error>

#include "core/files/FileTree.h"
#include "core/files/Files.h"
#include "core/log/Log.h"

namespace utility::ufile {
namespace {

std::uint64_t steadyMs() {
    using namespace std::chrono;
    return static_cast<std::uint64_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

// Reports at most once a second while the copy runs.
class ProgressReporter {
public:
    ProgressReporter(const CopyProgress& p, std::uint64_t size)
        : m_p(p), m_size(size), m_clock(p.clockMs ? p.clockMs : steadyMs), m_last(m_clock()) {}
    void chunkDone(std::uint64_t copied) {
        if (!m_p.callback) return;
        const std::uint64_t now = m_clock();
        if (now - m_last <= 1000) return;
        m_p.callback(progressPercent(copied, m_size, m_p.base, m_p.weight), m_p.index);
        m_last = now;
    }
    void finished() {
        if (!m_p.callback) return;
        m_p.callback(std::min(99, static_cast<int>(static_cast<float>(m_p.base) + 100.0f * m_p.weight)), m_p.index);
    }

private:
    const CopyProgress& m_p;
    const std::uint64_t m_size;
    std::function<std::uint64_t()> m_clock;
    std::uint64_t m_last;
};

// Opening a link for writing would overwrite what it points to, wherever that is.
bool writableCopyTargetOrLog(const std::filesystem::path& target) {
    if (common::files::writableCopyTarget(target)) return true;
    KVLOG(L"%s is not a plain file: not written through", target);
    return false;
}

} // namespace

int progressPercent(std::uint64_t copied, std::uint64_t size, int base, float weight) {
    const std::uint64_t whole = size == 0 ? 100 : copied * 100 / size;
    const int percent = static_cast<int>(static_cast<float>(base) + static_cast<float>(whole) * weight);
    return std::min(99, percent);
}

bool copyFileByStream(const std::filesystem::path& source, const std::filesystem::path& target,
                      const CopyProgress& progress) {
    constexpr auto kName = "utility::ufile::copyFileByStream";
    std::ifstream in;
    in.rdbuf()->pubsetbuf(nullptr, 0); // 16 MiB reads and writes go straight to the system
    in.open(source, std::ios::binary);
    if (!in) {
        KVLOG_AS(kName, L"open src error");
        return false;
    }
    in.seekg(0, std::ios::end);
    const auto size = static_cast<std::uint64_t>(std::max<std::streamoff>(0, in.tellg()));
    in.seekg(0, std::ios::beg);
    std::ofstream out;
    out.rdbuf()->pubsetbuf(nullptr, 0);
    if (writableCopyTargetOrLog(target)) out.open(target, std::ios::binary | std::ios::trunc);
    if (!out.is_open()) {
        KVLOG_AS(kName, L"open dest error");
        return false;
    }
    const auto buffer = std::make_unique_for_overwrite<char[]>(kCopyChunkBytes);
    ProgressReporter reporter(progress, size);
    std::uint64_t copied = 0;
    while (copied < size) {
        if (progress.stopRequested && progress.stopRequested()) {
            KVLOG_AS(kName, L"copy stopped at %lld of %lld", static_cast<long long>(copied),
                     static_cast<long long>(size));
            return false;
        }
        const auto chunk = static_cast<std::streamsize>(std::min<std::uint64_t>(kCopyChunkBytes, size - copied));
        if (!in.read(buffer.get(), chunk)) {
            KVLOG_AS(kName, L"read src error at %lld", static_cast<long long>(copied));
            return false;
        }
        if (!out.write(buffer.get(), chunk)) {
            KVLOG_AS(kName, L"write dest error at %lld", static_cast<long long>(copied));
            return false;
        }
        copied += static_cast<std::uint64_t>(chunk);
        reporter.chunkDone(copied);
    }
    out.close();
    if (!out) {
        KVLOG_AS(kName, L"close dest error");
        return false;
    }
    reporter.finished();
    return true;
}

bool makeDir(const std::filesystem::path& folder) {
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (ec && !std::filesystem::is_directory(folder)) {
        KVLOG(L"make dir failed! error = %d.", ec.value());
        return false;
    }
    return true;
}

bool copyFile(const std::filesystem::path& source, const std::filesystem::path& target, bool failIfExists) {
    std::error_code ec;
    const auto options =
        failIfExists ? std::filesystem::copy_options::none : std::filesystem::copy_options::overwrite_existing;
    if (!std::filesystem::copy_file(source, target, options, ec) || ec) {
        KVLOG(L"copy file from [ %s ] to [ %s ] flag = %d failed! error = %d.", source, target, failIfExists,
              ec.value());
        return false;
    }
    return true;
}

bool removeDir(const std::filesystem::path& folder) {
    const auto error = common::files::removeTree(folder, [&](const std::filesystem::path& entry, std::error_code e) {
        if (entry != folder)
            KVLOG_AS("utility::ufile::removeDir", L"DeleteFile fileName = %s error = %d", entry, e.value());
    });
    if (error) {
        KVLOG(L"RemoveDirectory error = %d", error.value());
        return false;
    }
    return true;
}

bool removeFile(const std::filesystem::path& file) {
    std::error_code ec = common::files::fileExists(file) ? common::files::removeEntryOnly(file)
                                                         : std::make_error_code(std::errc::no_such_file_or_directory);
    if (ec) {
        KVLOG(L"removeFile file from [ %s ] error = %d.", file, ec.value());
        return false;
    }
    return true;
}

} // namespace utility::ufile
