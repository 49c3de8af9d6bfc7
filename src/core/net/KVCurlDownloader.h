#pragma once
// The first-choice HTTP client, built on libcurl: fetches a small document into memory and a large file to
// disk, resuming a leftover of a previous attempt when it is worth it.
//
// Calls block until the transfer ends and run on the caller's worker thread, never on the UI thread. They
// never retry (the caller decides) and never throw: failures are false and a log line. Once abort() was
// called, every file download of this process stops at its first write or its next progress tick (about
// once a second, also while no data arrives), so callers fall through to the WinINet client; the flag is
// never cleared. A file transfer that stalls gives up after `stallTimeout` without a byte.
//
// A resumed download appends only an answer 206 whose Content-Range starts where the leftover ends; a 200
// starts the file again from zero. A document larger than kMaxMemoryBytes is refused.

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "core/net/DocumentLimit.h"
#include "core/net/DownloadProgress.h"

class KVCurlDownloader {
public:
    // The time limits of a transfer. The defaults are the program's; tests shorten them.
    struct Timing {
        std::chrono::milliseconds memoryTimeout{8000};        // whole memory download
        std::chrono::milliseconds memoryConnectTimeout{8000}; // connection of a memory download
        std::chrono::milliseconds progressInterval = net::kProgressInterval;
        net::SteadyClock clock;                // empty: the steady clock
        std::chrono::seconds stallTimeout{60}; // a file transfer that receives nothing this long gives up
    };

    // A leftover file smaller than this is not worth resuming: it is deleted and fetched again.
    static constexpr std::int64_t kMinResumeBytes = 4194304;
    static constexpr long kMaxRedirects = 5;
    static constexpr std::int64_t kMaxReceiveBytesPerSecond = 20971520;
    static constexpr std::size_t kMaxMemoryBytes = net::kMaxDocumentBytes;

    KVCurlDownloader() = default;
    explicit KVCurlDownloader(Timing timing) : m_timing(std::move(timing)) {}

    // libcurl's process-wide set-up and tear-down: once at start-up before any download, once at shutdown.
    // The clean-up waits for transfers still running (their threads should have been told to stop).
    [[nodiscard]] static bool globalInit();
    static void globalCleanup();

    // The response body of `url`, whatever its HTTP status. False on a transfer error or time-out.
    [[nodiscard]] bool downloadMemory(const std::string& url, std::string& body) const;

    // Downloads `url` to `path`, resuming an existing file of at least kMinResumeBytes with a range request.
    // `extraHeaders` are whole header lines ("Name: value"). `progress` runs on the calling thread. True only
    // for a complete 2xx answer; the file is kept on failure so that the next attempt can resume it.
    [[nodiscard]] bool downloadFile(const std::string& url, const std::filesystem::path& path,
                                    const std::vector<std::string>& extraHeaders,
                                    const net::ProgressCallback& progress) const;

    // Any thread: stops the running file download at its next write and every later one at its first.
    static void abort();
    static bool aborted();

private:
    Timing m_timing;
};
