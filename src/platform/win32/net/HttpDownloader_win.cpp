#include "platform/win32/net/HttpDownloader_win.h"

#include <algorithm>
#include <cwctype>
#include <filesystem>
#include <memory>

#include "core/log/Log.h"
#include "core/net/RequestHeaders.h"
#include "core/net/TlsVerification.h"
#include "platform/win32/net/HttpDownloadSinks_win.h"
#include "platform/win32/system/Win32Check_win.h"

namespace utility {
namespace {

constexpr DWORD kReadBlockBytes = 65536;

std::wstring wide(const char* text) {
    return std::wstring(text, text + std::char_traits<char>::length(text));
}

bool sameName(const std::wstring& a, const std::wstring& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](wchar_t x, wchar_t y) { return std::towlower(x) == std::towlower(y); });
}

struct UrlParts {
    bool secure = false;
    std::wstring host;
    INTERNET_PORT port = 0;
    std::wstring object; // path and query
};

bool crackUrl(const std::wstring& url, UrlParts& parts) {
    wchar_t host[INTERNET_MAX_HOST_NAME_LENGTH] = {};
    std::wstring object(url.size() + 1, L'\0');
    std::wstring extra(url.size() + 1, L'\0');
    URL_COMPONENTSW c{};
    c.dwStructSize = sizeof c;
    c.lpszHostName = host;
    c.dwHostNameLength = INTERNET_MAX_HOST_NAME_LENGTH;
    c.lpszUrlPath = object.data();
    c.dwUrlPathLength = static_cast<DWORD>(object.size());
    c.lpszExtraInfo = extra.data();
    c.dwExtraInfoLength = static_cast<DWORD>(extra.size());
    if (!KV_WIN32_CHECK(InternetCrackUrlW(url.c_str(), static_cast<DWORD>(url.size()), 0, &c))) return false;
    parts.secure = c.nScheme == INTERNET_SCHEME_HTTPS;
    parts.host.assign(host, c.dwHostNameLength);
    parts.port = c.nPort;
    parts.object = object.substr(0, c.dwUrlPathLength) + extra.substr(0, c.dwExtraInfoLength);
    if (parts.object.empty()) parts.object = L"/";
    return true;
}

// Certificate checks are decided in core/net/TlsVerification.h, for both clients.
DWORD certificateRequestFlags() {
    return net::kVerifyServerCertificates
               ? 0
               : INTERNET_FLAG_IGNORE_CERT_CN_INVALID | INTERNET_FLAG_IGNORE_CERT_DATE_INVALID;
}

void applyCertificatePolicy(HINTERNET request) {
    if (net::kVerifyServerCertificates) return;
    DWORD flags = 0;
    DWORD size = sizeof flags;
    InternetQueryOptionW(request, INTERNET_OPTION_SECURITY_FLAGS, &flags, &size);
    flags |= SECURITY_FLAG_IGNORE_UNKNOWN_CA | SECURITY_FLAG_IGNORE_CERT_CN_INVALID |
             SECURITY_FLAG_IGNORE_CERT_DATE_INVALID | SECURITY_FLAG_IGNORE_REVOCATION |
             SECURITY_FLAG_IGNORE_WRONG_USAGE;
    KV_WIN32_CHECK(InternetSetOptionW(request, INTERNET_OPTION_SECURITY_FLAGS, &flags, sizeof flags));
}

void applyTimeouts(HINTERNET handle, const CHttpDownloader::Timeouts& t) {
    DWORD connect = t.connectMs, receive = t.receiveMs;
    InternetSetOptionW(handle, INTERNET_OPTION_CONNECT_TIMEOUT, &connect, sizeof connect);
    InternetSetOptionW(handle, INTERNET_OPTION_SEND_TIMEOUT, &receive, sizeof receive);
    InternetSetOptionW(handle, INTERNET_OPTION_RECEIVE_TIMEOUT, &receive, sizeof receive);
}

DWORD statusOf(HINTERNET request) {
    DWORD status = 0;
    DWORD size = sizeof status;
    HttpQueryInfoW(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size, nullptr);
    return status;
}

std::string contentRangeOf(HINTERNET request) {
    wchar_t text[128] = {};
    DWORD size = sizeof text;
    if (!HttpQueryInfoW(request, HTTP_QUERY_CONTENT_RANGE, text, &size, nullptr)) return {};
    std::string narrow;
    for (const wchar_t* c = text; *c; ++c) narrow.push_back(*c < 0x80 ? static_cast<char>(*c) : '?');
    return narrow;
}

std::uint64_t contentLengthOf(HINTERNET request) {
    wchar_t text[32] = {};
    DWORD size = sizeof text;
    if (!HttpQueryInfoW(request, HTTP_QUERY_CONTENT_LENGTH, text, &size, nullptr)) return 0;
    return std::wcstoull(text, nullptr, 10);
}

// Reads the body into the sink; false when the sink refused a block or the body ended early.
bool readBody(HINTERNET request, IHttpDownloadSink& sink, std::uint64_t contentLength) {
    std::unique_ptr<char[]> block(new char[kReadBlockBytes]);
    std::uint64_t received = 0;
    for (;;) {
        DWORD got = 0;
        if (!KV_WIN32_CHECK(InternetReadFile(request, block.get(), kReadBlockBytes, &got))) {
            sink.onHttpError(GetLastError());
            return false;
        }
        if (got == 0) break;
        received += got;
        if (!sink.onHttpData(block.get(), got)) {
            sink.onHttpError(ERROR_CANCELLED);
            return false;
        }
    }
    if (contentLength > 0 && received != contentLength) {
        KVLOG(L"connection closed after %u of %u bytes", received, contentLength);
        sink.onHttpError(ERROR_HANDLE_EOF);
        return false;
    }
    sink.onHttpComplete();
    return true;
}

} // namespace

CHttpDownloader::CHttpDownloader() {
    m_internet.reset(InternetOpenW(wide(net::kUserAgent).c_str(), INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
    KV_WIN32_CHECK(m_internet != nullptr);
}

CHttpDownloader::~CHttpDownloader() = default;

void CHttpDownloader::setHeader(const std::wstring& name, const std::wstring& value) {
    removeHeader(name);
    m_headers.emplace_back(name, value);
}

void CHttpDownloader::removeHeader(const std::wstring& name) {
    std::erase_if(m_headers, [&](const auto& header) { return sameName(header.first, name); });
}

std::wstring CHttpDownloader::headerText() const {
    std::wstring text;
    for (const char* line : {net::kContentTypeHeader, net::kAcceptHeader, net::kAcceptLanguageHeader})
        text += wide(line) + L"\r\n";
    for (const auto& [name, value] : m_headers) text += name + L": " + value + L"\r\n";
    return text;
}

bool CHttpDownloader::download(const std::wstring& url, IHttpDownloadSink& sink, const Timeouts* timeouts) {
    UrlParts parts;
    if (!m_internet || !crackUrl(url, parts)) return false;
    const InternetHandle connection(InternetConnectW(m_internet.get(), parts.host.c_str(), parts.port, nullptr, nullptr,
                                                     INTERNET_SERVICE_HTTP, 0, 0));
    if (!KV_WIN32_CHECK(connection)) return false;
    if (timeouts) applyTimeouts(connection.get(), *timeouts);
    DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_NO_COOKIES | INTERNET_FLAG_NO_UI;
    if (parts.secure) flags |= INTERNET_FLAG_SECURE | certificateRequestFlags();
    const InternetHandle request(
        HttpOpenRequestW(connection.get(), L"GET", parts.object.c_str(), nullptr, nullptr, nullptr, flags, 0));
    if (!KV_WIN32_CHECK(request)) return false;
    if (timeouts) applyTimeouts(request.get(), *timeouts);
    if (parts.secure) applyCertificatePolicy(request.get());
    const std::wstring headers = headerText();
    if (!KV_WIN32_CHECK(
            HttpSendRequestW(request.get(), headers.c_str(), static_cast<DWORD>(headers.size()), nullptr, 0))) {
        sink.onHttpError(GetLastError());
        return false;
    }
    const std::uint64_t length = contentLengthOf(request.get());
    if (!sink.onHttpHeader(statusOf(request.get()), length, contentRangeOf(request.get()))) {
        sink.onHttpError(ERROR_CANCELLED);
        return false;
    }
    return readBody(request.get(), sink, length);
}

bool CHttpDownloader::download2mem(const std::wstring& url, std::string& body) {
    CHttpDownload2MemSink sink(body);
    return download(url, sink, &m_memoryTimeouts) && sink.completed();
}

bool CHttpDownloader::download2file(const std::wstring& url, const std::wstring& path, IHttpDownloadSink* sink,
                                    bool resume) {
    clearHeaders();
    removeHeader(L"Range");
    std::uint64_t start = 0;
    if (resume) {
        std::error_code ec;
        start = std::filesystem::file_size(path, ec);
        if (ec || start < kMinResumeBytes) start = 0;
        KVLOG(L"start size %d", start);
        if (start > 0) setHeader(L"Range", L"bytes=" + std::to_wstring(start) + L"-");
    }
    CHttpDownload2FileSink fileSink(path, sink, start);
    return download(url, fileSink) && fileSink.completed();
}

} // namespace utility
