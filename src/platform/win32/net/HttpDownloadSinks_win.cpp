#include "platform/win32/net/HttpDownloadSinks_win.h"

#include <new>

#include "core/log/Log.h"
#include "core/net/DocumentLimit.h"
#include "core/net/RangeAnswer.h"

namespace utility {

bool CHttpDownload2MemSink::onHttpHeader(DWORD, std::uint64_t contentLength, const std::string&) {
    if (contentLength <= net::kMaxDocumentBytes) return true;
    KVLOG(L"document larger than %d bytes refused", static_cast<int>(net::kMaxDocumentBytes));
    return false;
}

bool CHttpDownload2MemSink::onHttpData(const char* data, DWORD size) {
    if (size > net::kMaxDocumentBytes - m_received) {
        KVLOG(L"document larger than %d bytes refused", static_cast<int>(net::kMaxDocumentBytes));
        return false;
    }
    m_received += size;
    try {
        m_body.append(data, size);
    } catch (const std::bad_alloc&) {
        KVLOG(L"not enough memory error %d", size);
        return false;
    }
    return true;
}

CHttpDownload2FileSink::CHttpDownload2FileSink(std::wstring path, IHttpDownloadSink* outer, std::uint64_t startOffset)
    : m_path(std::move(path)), m_outer(outer), m_startOffset(startOffset) {}

CHttpDownload2FileSink::~CHttpDownload2FileSink() {
    closeFile();
}

bool CHttpDownload2FileSink::onHttpHeader(DWORD status, std::uint64_t contentLength, const std::string& contentRange) {
    if (status < 200 || status > 299) {
        KVLOG(L"onHttpErro status = %d", status);
        return false;
    }
    switch (net::placeBody(static_cast<std::int64_t>(m_startOffset), static_cast<long>(status), contentRange)) {
    case net::BodyPlacement::Append:
        break;
    case net::BodyPlacement::FromZero:
        if (m_startOffset > 0) KVLOG(L"the server sent the whole file (status %d): writing it from zero", status);
        m_startOffset = 0;
        break;
    case net::BodyPlacement::Refuse:
        KVLOG(L"answer %d with range [%S] does not continue the file at %llu", status, contentRange, m_startOffset);
        return false;
    }
    // Saturates instead of wrapping on an absurd Content-Length.
    m_total = contentLength == 0                           ? 0
              : contentLength > UINT64_MAX - m_startOffset ? UINT64_MAX
                                                           : m_startOffset + contentLength;
    return openFile();
}

bool CHttpDownload2FileSink::openFile() {
    if (m_startOffset > 0) {
        m_file.reset(CreateFileW(m_path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
        LARGE_INTEGER offset;
        offset.QuadPart = static_cast<LONGLONG>(m_startOffset);
        if (!m_file || !SetFilePointerEx(m_file.get(), offset, nullptr, FILE_BEGIN)) {
            KVLOG(L"downloader error open file error: lasterror %d", GetLastError());
            return false;
        }
        return true;
    }
    m_file.reset(CreateFileW(m_path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!m_file) {
        KVLOG(L"create file error; filename %s lasterror:%d", m_path, GetLastError());
        return false;
    }
    return true;
}

bool CHttpDownload2FileSink::onHttpData(const char* data, DWORD size) {
    DWORD written = 0;
    if (!WriteFile(m_file.get(), data, size, &written, nullptr) || written != size) {
        KVLOG(L"write file error; filename %s lasterror:%d", m_path, GetLastError());
        return false;
    }
    m_written += size;
    return !m_outer || m_outer->onHttpProgress(m_startOffset + m_written, m_total);
}

void CHttpDownload2FileSink::onHttpComplete() {
    closeFile();
    m_completed = true;
}

void CHttpDownload2FileSink::onHttpError(DWORD error) {
    KVLOG(L"download of %s failed, error %d, %u bytes written", m_path, error, m_written);
    closeFile();
}

void CHttpDownload2FileSink::closeFile() {
    m_file.reset();
}

} // namespace utility
