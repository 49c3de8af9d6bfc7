#include "core/net/DownloadProgress.h"

#include <algorithm>

namespace net {

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
    const std::int64_t done = m_resumeOffset + downloaded;
    const std::int64_t all = m_resumeOffset + total;
    const int percent = static_cast<int>(static_cast<double>(done) / static_cast<double>(all) * 100.0);
    if (m_callback) m_callback(std::min(percent, 99), done, all);
}

} // namespace net
