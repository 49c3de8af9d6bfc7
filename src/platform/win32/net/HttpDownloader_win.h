#pragma once
// The fallback HTTP client, built on WinINet: used when libcurl failed or was aborted. Sends one GET
// through a sink that takes the body (to memory or to a file) and reports progress to the caller's sink.
//
// Calls block until the transfer ends and run on a worker thread, never on the UI thread. Nothing is
// retried and nothing throws: failures are false and a log line.

#include <windows.h>
#include <wininet.h>

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace utility {

struct InternetCloser {
    void operator()(void* handle) const { InternetCloseHandle(static_cast<HINTERNET>(handle)); }
};
// A WinINet handle (session, connection or request), closed when it goes out of scope.
using InternetHandle = std::unique_ptr<void, InternetCloser>;

// What a download reports to. Callers implement onHttpProgress only; the body sinks
// (CHttpDownload2MemSink, CHttpDownload2FileSink) take the response through the other calls, in the order
// header, data..., then complete, or error when the download fails after the request was sent.
class IHttpDownloadSink {
public:
    virtual ~IHttpDownloadSink() = default;
    // Bytes downloaded so far and expected in all (0 when the server did not say). False stops the download.
    virtual bool onHttpProgress(std::uint64_t /*downloaded*/, std::uint64_t /*total*/) { return true; }
    // The response's status, Content-Length (0 when absent) and Content-Range (empty when absent). False
    // stops the download.
    virtual bool onHttpHeader(DWORD /*status*/, std::uint64_t /*contentLength*/, const std::string& /*contentRange*/) {
        return true;
    }
    virtual bool onHttpData(const char* /*data*/, DWORD /*size*/) { return true; }
    virtual void onHttpComplete() {}
    virtual void onHttpError(DWORD /*error*/) {}
};

class CHttpDownloader {
public:
    // Applied to the memory download; file downloads keep WinINet's own time-outs (a large installer
    // may pause longer). The defaults are the program's; tests shorten them.
    struct Timeouts {
        DWORD connectMs = 8000;
        DWORD receiveMs = 8000;
    };
    // A leftover file smaller than this is fetched again from zero instead of resumed.
    static constexpr std::uint64_t kMinResumeBytes = 1048576;

    CHttpDownloader();
    ~CHttpDownloader();
    CHttpDownloader(const CHttpDownloader&) = delete;
    CHttpDownloader& operator=(const CHttpDownloader&) = delete;

    void setMemoryTimeouts(Timeouts timeouts) { m_memoryTimeouts = timeouts; }

    // The response body of `url`, whatever its HTTP status, appended to `body`; a body larger than
    // net::kMaxDocumentBytes fails.
    [[nodiscard]] bool download2mem(const std::wstring& url, std::string& body);
    // Downloads `url` to `path`. With `resume`, a leftover of at least kMinResumeBytes is continued with a
    // range request; otherwise the file is written from zero. True only for a complete 2xx answer; a 200
    // to a range request rewrites the file from zero, a 206 for another range fails and keeps the leftover.
    [[nodiscard]] bool download2file(const std::wstring& url, const std::wstring& path, IHttpDownloadSink* sink,
                                     bool resume);
    // Sends a GET for `url` through `sink` with the extra headers set below.
    [[nodiscard]] bool download(const std::wstring& url, IHttpDownloadSink& sink, const Timeouts* timeouts = nullptr);

    // Extra request headers sent with every later request ("Range", ...), replacing one of the same name.
    void setHeader(const std::wstring& name, const std::wstring& value);
    void removeHeader(const std::wstring& name);
    void clearHeaders() { m_headers.clear(); }

private:
    std::wstring headerText() const;

    InternetHandle m_internet;
    Timeouts m_memoryTimeouts;
    std::vector<std::pair<std::wstring, std::wstring>> m_headers;
};

} // namespace utility
