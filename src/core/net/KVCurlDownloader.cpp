#include "core/net/KVCurlDownloader.h"

#include <curl/curl.h>

#include <atomic>
#include <cctype>
#include <cerrno>
#include <condition_variable>
#include <fstream>
#include <memory>
#include <mutex>
#include <new>
#include <string_view>
#include <system_error>

#include "core/log/Log.h"
#include "core/net/RangeAnswer.h"
#include "core/net/RequestHeaders.h"
#include "core/net/TlsVerification.h"

namespace {

std::atomic<std::uint8_t> g_abort{0};

// Transfers in progress, so that libcurl's global clean-up never pulls the library from under one.
struct Transfers {
    std::mutex lock;
    std::condition_variable ended;
    int running = 0;
    bool closed = false; // between globalCleanup and the next globalInit
} g_transfers;

class TransferScope {
public:
    TransferScope() {
        std::lock_guard guard(g_transfers.lock);
        m_admitted = !g_transfers.closed;
        if (m_admitted) ++g_transfers.running;
    }
    ~TransferScope() {
        if (!m_admitted) return;
        std::lock_guard guard(g_transfers.lock);
        if (--g_transfers.running == 0) g_transfers.ended.notify_all();
    }
    TransferScope(const TransferScope&) = delete;
    TransferScope& operator=(const TransferScope&) = delete;
    bool admitted() const { return m_admitted; }

private:
    bool m_admitted = false;
};

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
    auto& body = *static_cast<std::string*>(user);
    if (bytes > KVCurlDownloader::kMaxMemoryBytes - body.size()) {
        KVLOG_AS("KVCurlDownloader::downloadMemory", L"document larger than %d bytes refused",
                 static_cast<int>(KVCurlDownloader::kMaxMemoryBytes));
        return 0; // aborts the transfer
    }
    try {
        body.append(data, bytes);
    } catch (const std::bad_alloc&) {
        KVLOG_AS("KVCurlDownloader::downloadMemory", L"not enough memory error %d", bytes);
        return 0; // aborts the transfer
    }
    return bytes;
}

struct FileTarget {
    CURL* easy;
    std::ofstream out;
    std::filesystem::path path;
    std::int64_t offset = 0; // where the body goes: the leftover's size, 0 for a new file
    net::DownloadProgress* progress = nullptr;
    std::string contentRange; // of the latest answer (redirects bring several)
    bool placed = false;      // the answer was checked against the range asked for
    bool refused = false;
    bool abortedBefore = false; // the flag was set before this transfer began: its first write stops it
};

// The body of an error answer (a 404 page, a 416 for a complete leftover) is not written: it would end up
// inside the leftover that the next attempt resumes.
bool errorAnswer(CURL* easy) {
    long status = 0;
    curl_easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &status);
    return status < 200 || status > 299;
}

size_t keepContentRange(char* data, size_t size, size_t count, void* user) {
    const size_t bytes = size * count;
    auto& target = *static_cast<FileTarget*>(user);
    const std::string_view line(data, bytes);
    constexpr std::string_view kName = "content-range:";
    if (line.substr(0, 5) == "HTTP/") target.contentRange.clear(); // a new answer begins
    if (line.size() > kName.size()) {
        std::string name(line.substr(0, kName.size()));
        for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (name != kName) return bytes;
        std::string_view value = line.substr(kName.size());
        while (!value.empty() && std::isspace(static_cast<unsigned char>(value.front()))) value.remove_prefix(1);
        while (!value.empty() && std::isspace(static_cast<unsigned char>(value.back()))) value.remove_suffix(1);
        target.contentRange.assign(value);
    }
    return bytes;
}

// Before the first byte lands: the answer must be the range asked for, or the whole file from zero.
bool placeAnswer(FileTarget& target) {
    if (target.placed) return !target.refused;
    target.placed = true;
    long status = 0;
    curl_easy_getinfo(target.easy, CURLINFO_RESPONSE_CODE, &status);
    switch (net::placeBody(target.offset, status, target.contentRange)) {
    case net::BodyPlacement::Append:
        return true;
    case net::BodyPlacement::FromZero:
        if (target.offset == 0) return true;
        KVLOG_AS(kDownloadFile, L"the server sent the whole file (status %ld): writing it from zero", status);
        target.out.close();
        target.out.open(target.path, std::ios::binary | std::ios::out | std::ios::trunc);
        target.offset = 0;
        if (target.progress) target.progress->restartFromZero();
        return target.out.is_open() && target.out.good();
    case net::BodyPlacement::Refuse:
        break;
    }
    KVLOG_AS(kDownloadFile, L"answer %ld with range [%S] does not continue the file at %lld", status,
             target.contentRange, static_cast<long long>(target.offset));
    target.refused = true;
    return false;
}

size_t writeToFile(char* data, size_t size, size_t count, void* user) {
    if (g_abort.load() != 0) return 0;
    auto& target = *static_cast<FileTarget*>(user);
    const size_t bytes = size * count;
    if (errorAnswer(target.easy)) return bytes;
    if (!placeAnswer(target)) return 0;
    target.out.write(data, static_cast<std::streamsize>(bytes));
    return target.out.good() ? bytes : 0;
}

// Also ticks while no data arrives, so an abort stops the running transfer even when the server is silent.
int reportProgress(void* user, curl_off_t total, curl_off_t downloaded, curl_off_t, curl_off_t) {
    auto& target = *static_cast<FileTarget*>(user);
    if (g_abort.load() != 0 && !target.abortedBefore) return 1;
    target.progress->update(downloaded, total);
    return 0;
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

void setFileOptions(CURL* e, FileTransfer& t, const std::string& url, std::chrono::seconds stallTimeout) {
    curl_easy_setopt(e, CURLOPT_HTTPHEADER, t.headers.get());
    curl_easy_setopt(e, CURLOPT_RANGE, t.range.c_str());
    curl_easy_setopt(e, CURLOPT_WRITEFUNCTION, &writeToFile);
    curl_easy_setopt(e, CURLOPT_WRITEDATA, &t.target);
    curl_easy_setopt(e, CURLOPT_HEADERFUNCTION, &keepContentRange);
    curl_easy_setopt(e, CURLOPT_HEADERDATA, &t.target);
    curl_easy_setopt(e, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(e, CURLOPT_LOW_SPEED_TIME, static_cast<long>(stallTimeout.count()));
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
    curl_easy_setopt(e, CURLOPT_XFERINFODATA, &t.target);
    curl_easy_setopt(e, CURLOPT_URL, url.c_str());
}

} // namespace

bool KVCurlDownloader::globalInit() {
    std::lock_guard guard(g_transfers.lock);
    g_transfers.closed = false;
    return curl_global_init(CURL_GLOBAL_ALL) == CURLE_OK;
}

void KVCurlDownloader::globalCleanup() {
    std::unique_lock guard(g_transfers.lock);
    g_transfers.closed = true;
    g_transfers.ended.wait(guard, [] { return g_transfers.running == 0; });
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
    const TransferScope scope;
    EasyHandle easy(scope.admitted() ? curl_easy_init() : nullptr);
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
    curl_easy_setopt(e, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(kMaxMemoryBytes));
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
    const TransferScope scope;
    EasyHandle easy(scope.admitted() ? curl_easy_init() : nullptr);
    if (!easy) {
        KVLOG(L"curl init error");
        return false;
    }
    const std::int64_t size = resumableSize(path);
    FileTransfer transfer{requestHeaders(extraHeaders), std::to_string(size) + "-", FileTarget{easy.get(), {}},
                          net::DownloadProgress(size, progress, m_timing.clock, m_timing.progressInterval)};
    transfer.target.path = path;
    transfer.target.offset = size;
    transfer.target.progress = &transfer.progress;
    transfer.target.abortedBefore = aborted();
    if (!openTarget(transfer.target.out, path, size)) return false;
    setFileOptions(easy.get(), transfer, url, m_timing.stallTimeout);
    CURLcode result = curl_easy_perform(easy.get());
    // An answer without a body still has to be the range asked for (or empties the file).
    if (result == CURLE_OK && !errorAnswer(easy.get()) && !placeAnswer(transfer.target)) result = CURLE_WRITE_ERROR;
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
