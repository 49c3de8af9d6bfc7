#include "core/net/DownloadProgress.h"

#include <algorithm>
#include <limits>

namespace net {
namespace {

std::int64_t saturatingAdd(std::int64_t a, std::int64_t b) {
    std::int64_t sum = 0;
    return __builtin_add_overflow(a, b, &sum) ? std::numeric_limits<std::int64_t>::max() : sum;
}

} // namespace

DownloadProgress::DownloadProgress(std::int64_t resumeOffset, ProgressCallback callback, SteadyClock clock,
                                   std::chrono::milliseconds interval)
    : m_resumeOffset(resumeOffset), m_callback(std::move(callback)), m_clock(std::move(clock)), m_interval(interval) {
    if (!m_clock) m_clock = [] { return std::chrono::steady_clock::now(); };
}

void DownloadProgress::update(std::int64_t downloaded, std::int64_t total) {
    if (total <= 0) return;
    const auto now = m_clock();
    if (m_lastReport && now - *m_lastReport < m_interval) return;
    m_lastReport = now;
    const std::int64_t done = saturatingAdd(m_resumeOffset, std::max<std::int64_t>(downloaded, 0));
    const std::int64_t all = saturatingAdd(m_resumeOffset, total);
    const double share = std::clamp(static_cast<double>(done) / static_cast<double>(all) * 100.0, 0.0, 99.0);
    if (m_callback) m_callback(static_cast<int>(share), done, all);
}

} // namespace net
