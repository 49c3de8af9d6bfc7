#pragma once
// The body sinks of CHttpDownloader: one appends the body to a buffer the caller owns, one writes it to a
// file (continuing a leftover at a start offset) and forwards progress to the caller's sink.
//
// The file sink writes the target file directly, never through a temporary name: a broken download leaves
// its partial file behind on purpose, so that the next attempt can resume it. It appends only to an answer
// that continues the leftover exactly (net::placeBody).

#include <cstdint>
#include <string>

#include "platform/win32/net/HttpDownloader_win.h"
#include "platform/win32/system/Owned_win.h"

namespace utility {

class CHttpDownload2MemSink : public IHttpDownloadSink {
public:
    explicit CHttpDownload2MemSink(std::string& body) : m_body(body) {}
    bool onHttpHeader(DWORD status, std::uint64_t contentLength, const std::string& contentRange) override;
    bool onHttpData(const char* data, DWORD size) override;
    void onHttpComplete() override { m_completed = true; }
    bool completed() const { return m_completed; }

private:
    std::string& m_body;
    std::size_t m_received = 0;
    bool m_completed = false;
};

class CHttpDownload2FileSink : public IHttpDownloadSink {
public:
    // `outer` may be null. With a non-zero `startOffset` the existing file is continued at that offset.
    CHttpDownload2FileSink(std::wstring path, IHttpDownloadSink* outer, std::uint64_t startOffset);
    ~CHttpDownload2FileSink() override;
    CHttpDownload2FileSink(const CHttpDownload2FileSink&) = delete;
    CHttpDownload2FileSink& operator=(const CHttpDownload2FileSink&) = delete;

    bool onHttpHeader(DWORD status, std::uint64_t contentLength, const std::string& contentRange) override;
    bool onHttpData(const char* data, DWORD size) override;
    void onHttpComplete() override;
    void onHttpError(DWORD error) override;
    bool completed() const { return m_completed; }

private:
    bool openFile();
    void closeFile();

    std::wstring m_path;
    IHttpDownloadSink* m_outer;
    std::uint64_t m_startOffset;
    std::uint64_t m_total = 0;
    std::uint64_t m_written = 0;
    platform::win32::UniqueHandle m_file;
    bool m_completed = false;
};

} // namespace utility
