#pragma once
// The progress state of one file download: turns the transfer's byte counts into at most one report per
// interval, with the bytes of a resumed leftover counted as already downloaded.
//
// It never reports 100: completion is the download's return value, not a progress report. It never stops
// a transfer either; stopping is the abort flag's job.

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>

namespace net {

// (percent 0..99, downloaded bytes, total bytes), both byte counts including the resume offset.
using ProgressCallback = std::function<void(int percent, std::int64_t downloaded, std::int64_t total)>;
using SteadyClock = std::function<std::chrono::steady_clock::time_point()>;

inline constexpr std::chrono::milliseconds kProgressInterval{1001};

class DownloadProgress {
public:
    DownloadProgress(std::int64_t resumeOffset, ProgressCallback callback, SteadyClock clock = {},
                     std::chrono::milliseconds interval = kProgressInterval);

    // The transfer's own counts (without the resume offset). Ignored while the total is still unknown.
    // Any counts a server announces are safe: sums saturate and the percentage stays within 0..99.
    void update(std::int64_t downloaded, std::int64_t total);
    // The server sent the whole file instead of the rest: nothing counts as already downloaded.
    void restartFromZero() { m_resumeOffset = 0; }

private:
    std::int64_t m_resumeOffset;
    ProgressCallback m_callback;
    SteadyClock m_clock;
    std::chrono::milliseconds m_interval;
    std::optional<std::chrono::steady_clock::time_point> m_lastReport;
};

} // namespace net
