#include "core/net/KVCurlDownloader.h"

#include <curl/curl.h>

#include <atomic>
#include <cerrno>
#include <fstream>
#include <memory>
#include <new>
#include <system_error>

#include "core/log/Log.h"
#include "core/net/RequestHeaders.h"
#include "core/net/TlsVerification.h"

namespace {

std::atomic<std::uint8_t> g_abort{0};

// Lines logged by the helpers below carry the name of the operation they serve.
constexpr const char* kDownloadFile = "KVCurlDownloader::downloadFile";

struct EasyDeleter {
    void operator()(CURL* easy) const { curl_easy_cleanup(easy); }
};
struct SlistDeleter {
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};
using EasyHandle = std::unique_ptr<CURL, EasyDeleter>;
using HeaderList = std::unique_ptr<curl_slist, SlistDeleter>;

HeaderList requestHeaders(const std::vector<std::string>& extra) {
    curl_slist* list = curl_slist_append(nullptr, net::kContentTypeHeader);
    list = curl_slist_append(list, (std::string(net::kUserAgentHeaderName) + net::kUserAgent).c_str());
    for (const std::string& line : extra) list = curl_slist_append(list, line.c_str());
    return HeaderList(list);
}

void applyCertificatePolicy(CURL* easy) {
    const long verify = net::kVerifyServerCertificates ? 1L : 0L;
    curl_easy_setopt(easy, CURLOPT_SSL_VERIFYPEER, verify);
    curl_easy_setopt(easy, CURLOPT_SSL_VERIFYHOST, net::kVerifyServerCertificates ? 2L : 0L);
}

size_t appendToBody(char* data, size_t size, size_t count, void* user) {
    const size_t bytes = size * count;
    try {
        static_cast<std::string*>(user)->append(data, bytes);
    } catch (const std::bad_alloc&) {
        KVLOG_AS("KVCurlDownloader::downloadMemory", L"not enough memory error %d", bytes);
        return 0; // aborts the transfer
    }
    return bytes;
}

struct FileTarget {
    CURL* easy;
    std::ofstream out;
};

// The body of an error answer (a 404 page, a 416 for a complete leftover) is not written: it would end up
// inside the leftover that the next attempt resumes.
bool errorAnswer(CURL* easy) {
    long status = 0;
    curl_easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &status);
    return status < 200 || status > 299;
}

size_t writeToFile(char* data, size_t size, size_t count, void* user) {
    if (g_abort.load() != 0) return 0;
    auto& target = *static_cast<FileTarget*>(user);
    const size_t bytes = size * count;
    if (errorAnswer(target.easy)) return bytes;
    target.out.write(data, static_cast<std::streamsize>(bytes));
    return target.out.good() ? bytes : 0;
}

int reportProgress(void* user, curl_off_t total, curl_off_t downloaded, curl_off_t, curl_off_t) {
    static_cast<net::DownloadProgress*>(user)->update(downloaded, total);
    return 0; // the transfer always continues
}

std::int64_t existingSize(const std::filesystem::path& path) {
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    return ec ? 0 : static_cast<std::int64_t>(size);
}

// Size above 0: the leftover opened for appending (created when missing); 0: a new, empty file.
bool openTarget(std::ofstream& out, const std::filesystem::path& path, std::int64_t size) {
    errno = 0;
    if (size > 0) {
        out.open(path, std::ios::binary | std::ios::in | std::ios::out);
        if (!out.is_open()) out.open(path, std::ios::binary | std::ios::out);
        if (out.is_open()) out.seekp(0, std::ios::end);
    } else {
        out.open(path, std::ios::binary | std::ios::out | std::ios::trunc);
    }
    if (out.is_open() && out.good()) return true;
    KVLOG_AS(kDownloadFile, L"openfile error path : %s. %d", path, errno);
    return false;
}

// The size of the leftover at `path` worth resuming; a smaller leftover is deleted and 0 returned.
std::int64_t resumableSize(const std::filesystem::path& path) {
    const std::int64_t size = existingSize(path);
    KVLOG_AS(kDownloadFile, L"cache size %d", size);
    if (size <= 0 || size >= KVCurlDownloader::kMinResumeBytes) return size;
    KVLOG_AS(kDownloadFile, L"too small");
    std::error_code ec;
    std::filesystem::remove(path, ec);
    return 0;
}

// Everything a file transfer's options point to; lives until the transfer has ended.
struct FileTransfer {
    HeaderList headers;
    std::string range; // "<resume offset>-"
    FileTarget target;
    net::DownloadProgress progress;
};

void setFileOptions(CURL* e, FileTransfer& t, const std::string& url) {
    curl_easy_setopt(e, CURLOPT_HTTPHEADER, t.headers.get());
    curl_easy_setopt(e, CURLOPT_RANGE, t.range.c_str());
    curl_easy_setopt(e, CURLOPT_WRITEFUNCTION, &writeToFile);
    curl_easy_setopt(e, CURLOPT_WRITEDATA, &t.target);
    curl_easy_setopt(e, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(e, CURLOPT_MAXREDIRS, KVCurlDownloader::kMaxRedirects);
    curl_easy_setopt(e, CURLOPT_MAX_RECV_SPEED_LARGE,
                     static_cast<curl_off_t>(KVCurlDownloader::kMaxReceiveBytesPerSecond));
    curl_easy_setopt(e, CURLOPT_FORBID_REUSE, 1L);
    applyCertificatePolicy(e);
    curl_easy_setopt(e, CURLOPT_SSLVERSION,
                     static_cast<long>(CURL_SSLVERSION_TLSv1_2) | static_cast<long>(CURL_SSLVERSION_MAX_DEFAULT));
    curl_easy_setopt(e, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(e, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(e, CURLOPT_XFERINFOFUNCTION, &reportProgress);
    curl_easy_setopt(e, CURLOPT_XFERINFODATA, &t.progress);
    curl_easy_setopt(e, CURLOPT_URL, url.c_str());
}

} // namespace

bool KVCurlDownloader::globalInit() {
    return curl_global_init(CURL_GLOBAL_ALL) == CURLE_OK;
}

void KVCurlDownloader::globalCleanup() {
    curl_global_cleanup();
}

void KVCurlDownloader::abort() {
    g_abort.store(1);
}

bool KVCurlDownloader::aborted() {
    return g_abort.load() != 0;
}

bool KVCurlDownloader::downloadMemory(const std::string& url, std::string& body) const {
    KVLOG(L"KVCurlDownloader::downloadMemory start");
    EasyHandle easy(curl_easy_init());
    if (!easy) {
        KVLOG(L"curl init error");
        return false;
    }
    std::string received;
    const HeaderList headers = requestHeaders({});
    CURL* e = easy.get();
    curl_easy_setopt(e, CURLOPT_WRITEFUNCTION, &appendToBody);
    curl_easy_setopt(e, CURLOPT_WRITEDATA, &received);
    curl_easy_setopt(e, CURLOPT_FOLLOWLOCATION, 1L);
    applyCertificatePolicy(e);
    curl_easy_setopt(e, CURLOPT_FORBID_REUSE, 1L);
    curl_easy_setopt(e, CURLOPT_HTTPHEADER, headers.get());
    curl_easy_setopt(e, CURLOPT_TIMEOUT_MS, static_cast<long>(m_timing.memoryTimeout.count()));
    curl_easy_setopt(e, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(m_timing.memoryConnectTimeout.count()));
    curl_easy_setopt(e, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(e, CURLOPT_URL, url.c_str());
    const CURLcode result = curl_easy_perform(e);
    if (result != CURLE_OK) {
        KVLOG(L"curl download error %s", curl_easy_strerror(result));
        return false;
    }
    KVLOG(L"curl download sucess %d", received.size());
    body = std::move(received);
    return true;
}

bool KVCurlDownloader::downloadFile(const std::string& url, const std::filesystem::path& path,
                                    const std::vector<std::string>& extraHeaders,
                                    const net::ProgressCallback& progress) const {
    KVLOG(L"KVCurlDownloader::downloadfile start");
    EasyHandle easy(curl_easy_init());
    if (!easy) {
        KVLOG(L"curl init error");
        return false;
    }
    const std::int64_t size = resumableSize(path);
    FileTransfer transfer{requestHeaders(extraHeaders), std::to_string(size) + "-", FileTarget{easy.get(), {}},
                          net::DownloadProgress(size, progress, m_timing.clock, m_timing.progressInterval)};
    if (!openTarget(transfer.target.out, path, size)) return false;
    setFileOptions(easy.get(), transfer, url);
    const CURLcode result = curl_easy_perform(easy.get());
    transfer.target.out.close();
    if (result != CURLE_OK) {
        KVLOG(L"download error %s", curl_easy_strerror(result));
        return false;
    }
    long status = 0;
    curl_easy_getinfo(easy.get(), CURLINFO_RESPONSE_CODE, &status);
    if (status < 200 || status > 299) {
        KVLOG(L"http error : %ld", status);
        return false;
    }
    KVLOG(L"curl download sucess %s", path);
    return true;
}
