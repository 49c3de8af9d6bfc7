#include "support/TestHttpServer.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
using SocketLength = int;
constexpr int kSendFlags = 0;
void closeSocket(std::uintptr_t s) {
    closesocket(static_cast<SOCKET>(s));
}
constexpr std::uintptr_t kNoSocket = static_cast<std::uintptr_t>(INVALID_SOCKET);
#else
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/select.h>
#include <sys/socket.h>
#include <unistd.h>
using SocketLength = socklen_t;
constexpr int kSendFlags = MSG_NOSIGNAL; // a client that hangs up must not kill the test with SIGPIPE
void closeSocket(std::uintptr_t s) {
    ::close(static_cast<int>(s));
}
constexpr std::uintptr_t kNoSocket = static_cast<std::uintptr_t>(-1);
#endif

namespace testing_support {
namespace {

#ifdef _WIN32
using Native = SOCKET;
struct WinsockUser {
    WinsockUser() {
        WSADATA data;
        WSAStartup(MAKEWORD(2, 2), &data);
    }
    ~WinsockUser() { WSACleanup(); }
};
#else
using Native = int;
#endif

Native native(std::uintptr_t s) {
    return static_cast<Native>(s);
}

// A client that stops reading (a download its caller stopped, a connection WinINet keeps for reuse) must not
// hold a handler in send() for ever: after 10 s the send fails and the connection ends.
void limitSendWait(std::uintptr_t s) {
#ifdef _WIN32
    const DWORD ms = 10000;
    ::setsockopt(native(s), SOL_SOCKET, SO_SNDTIMEO, reinterpret_cast<const char*>(&ms), sizeof ms);
#else
    const timeval wait{10, 0};
    ::setsockopt(native(s), SOL_SOCKET, SO_SNDTIMEO, &wait, sizeof wait);
#endif
}

bool sendAll(std::uintptr_t s, const char* data, std::size_t size) {
    while (size > 0) {
        const auto sent = ::send(native(s), data, static_cast<int>(std::min<std::size_t>(size, 1 << 20)), kSendFlags);
        if (sent <= 0) return false;
        data += sent;
        size -= static_cast<std::size_t>(sent);
    }
    return true;
}

std::string lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

std::string trim(const std::string& text) {
    const auto begin = text.find_first_not_of(" \t");
    if (begin == std::string::npos) return {};
    return text.substr(begin, text.find_last_not_of(" \t") - begin + 1);
}

// The request head up to the blank line; empty when the client went away first.
std::string readHead(std::uintptr_t s) {
    std::string head;
    char buffer[4096];
    while (head.find("\r\n\r\n") == std::string::npos) {
        const auto got = ::recv(native(s), buffer, sizeof buffer, 0);
        if (got <= 0) return {};
        head.append(buffer, static_cast<std::size_t>(got));
    }
    return head.substr(0, head.find("\r\n\r\n"));
}

RecordedRequest parseHead(const std::string& head) {
    RecordedRequest request;
    std::size_t lineEnd = head.find("\r\n");
    const std::string first = head.substr(0, lineEnd);
    const auto space1 = first.find(' ');
    const auto space2 = first.find(' ', space1 + 1);
    request.method = first.substr(0, space1);
    request.target = first.substr(space1 + 1, space2 - space1 - 1);
    while (lineEnd != std::string::npos && lineEnd < head.size()) {
        const std::size_t start = lineEnd + 2;
        lineEnd = head.find("\r\n", start);
        const std::string line = head.substr(start, lineEnd == std::string::npos ? std::string::npos : lineEnd - start);
        const auto colon = line.find(':');
        if (colon != std::string::npos)
            request.headers.emplace_back(line.substr(0, colon), trim(line.substr(colon + 1)));
    }
    return request;
}

// "bytes=N-" → N; -1 without a usable range.
long long rangeStart(const RecordedRequest& request) {
    const std::string range = request.header("Range");
    if (range.rfind("bytes=", 0) != 0 || range.back() != '-') return -1;
    try {
        return std::stoll(range.substr(6));
    } catch (...) {
        return -1;
    }
}

std::string statusText(int status) {
    switch (status) {
    case 200:
        return "OK";
    case 206:
        return "Partial Content";
    case 404:
        return "Not Found";
    case 416:
        return "Range Not Satisfiable";
    default:
        return "Status";
    }
}

std::string responseHead(int status, std::size_t length, const std::string& extra) {
    return "HTTP/1.1 " + std::to_string(status) + " " + statusText(status) +
           "\r\nContent-Length: " + std::to_string(length) +
           "\r\nContent-Type: application/octet-stream\r\nConnection: close\r\n" + extra + "\r\n";
}

} // namespace

std::string RecordedRequest::header(const std::string& name) const {
    for (const auto& [key, value] : headers)
        if (lower(key) == lower(name)) return value;
    return {};
}

std::size_t RecordedRequest::count(const std::string& name) const {
    return static_cast<std::size_t>(
        std::count_if(headers.begin(), headers.end(), [&](const auto& h) { return lower(h.first) == lower(name); }));
}

std::string patternBody(std::size_t size) {
    std::string body(size, '\0');
    std::uint32_t state = 2166136261u;
    for (std::size_t i = 0; i < size; ++i) {
        state = (state ^ static_cast<std::uint32_t>(i)) * 16777619u;
        body[i] = static_cast<char>(state >> 24);
    }
    return body;
}

TestHttpServer::TestHttpServer() : m_listener(kNoSocket) {
#ifdef _WIN32
    static WinsockUser winsock;
#endif
    const Native listener = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    m_listener = static_cast<std::uintptr_t>(listener);
    if (m_listener == kNoSocket) return;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    SocketLength length = sizeof address;
    if (::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || ::listen(listener, 16) != 0 ||
        ::getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length) != 0)
        return;
    m_port = ntohs(address.sin_port);
    m_acceptor = std::thread([this] { acceptLoop(); });
}

TestHttpServer::~TestHttpServer() {
    {
        std::lock_guard lock(m_lock);
        m_stopping = true;
    }
    // No connection is accepted once the acceptor has ended, so every one that exists is shut down below.
    if (m_acceptor.joinable()) m_acceptor.join();
    {
        std::lock_guard lock(m_lock);
        for (std::uintptr_t client : m_clients) ::shutdown(native(client), 2); // both directions
    }
    m_changed.notify_all();
    for (std::thread& handler : m_handlers) handler.join();
    if (m_listener != kNoSocket) closeSocket(m_listener);
}

std::string TestHttpServer::url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(m_port) + path;
}

std::wstring TestHttpServer::wideUrl(const std::string& path) const {
    const std::string narrow = url(path);
    return std::wstring(narrow.begin(), narrow.end());
}

void TestHttpServer::serve(const std::string& path, Resource resource) {
    std::lock_guard lock(m_lock);
    m_resources[path] = std::move(resource);
}

void TestHttpServer::releaseGate() {
    {
        std::lock_guard lock(m_lock);
        m_gateOpen = true;
    }
    m_changed.notify_all();
}

void TestHttpServer::closeGate() {
    std::lock_guard lock(m_lock);
    m_gateOpen = false;
}

std::vector<RecordedRequest> TestHttpServer::requests() const {
    std::lock_guard lock(m_lock);
    return m_requests;
}

std::size_t TestHttpServer::requestCount() const {
    std::lock_guard lock(m_lock);
    return m_requests.size();
}

void TestHttpServer::acceptLoop() {
    for (;;) {
        {
            std::lock_guard lock(m_lock);
            if (m_stopping) return;
        }
        fd_set readable;
        FD_ZERO(&readable);
        FD_SET(native(m_listener), &readable);
        timeval wait{0, 50000}; // look at the stop flag 20 times a second
        if (::select(static_cast<int>(native(m_listener)) + 1, &readable, nullptr, nullptr, &wait) <= 0) continue;
        const auto client = static_cast<std::uintptr_t>(::accept(native(m_listener), nullptr, nullptr));
        if (client == kNoSocket) continue;
        limitSendWait(client);
        std::lock_guard lock(m_lock);
        m_clients.push_back(client);
        m_handlers.emplace_back([this, client] { handle(client); });
    }
}

void TestHttpServer::handle(std::uintptr_t client) {
    const std::string head = readHead(client);
    if (!head.empty()) {
        RecordedRequest request = parseHead(head);
        {
            std::lock_guard lock(m_lock);
            m_requests.push_back(request);
        }
        answer(client, request);
    }
    std::lock_guard lock(m_lock);
    m_clients.erase(std::find(m_clients.begin(), m_clients.end(), client));
    closeSocket(client);
}

bool TestHttpServer::waitForGateOrStop() {
    std::unique_lock lock(m_lock);
    m_changed.wait(lock, [this] { return m_gateOpen || m_stopping; });
    return !m_stopping;
}

void TestHttpServer::answer(std::uintptr_t client, const RecordedRequest& request) {
    Resource resource;
    {
        std::lock_guard lock(m_lock);
        const auto found = m_resources.find(request.target);
        if (found == m_resources.end())
            resource = Resource{"not found", 404};
        else
            resource = found->second;
    }
    if (resource.behaviour == Behaviour::Stall) {
        std::unique_lock lock(m_lock);
        m_changed.wait(lock, [this] { return m_stopping; });
        return;
    }
    std::string body = resource.body;
    int status = resource.status;
    std::string extra;
    const long long start = rangeStart(request);
    if (start >= 0 && status == 200 && resource.ranges == Ranges::Misplace) {
        status = 206;
        extra =
            "Content-Range: bytes 0-" + std::to_string(body.size() - 1) + "/" + std::to_string(body.size()) + "\r\n";
    } else if (start >= 0 && status == 200 && resource.ranges == Ranges::Honour) {
        const std::size_t total = body.size();
        if (static_cast<std::size_t>(start) >= total) {
            status = 416, body.clear();
            extra = "Content-Range: bytes */" + std::to_string(total) + "\r\n";
        } else {
            status = 206, body = body.substr(static_cast<std::size_t>(start));
            extra = "Content-Range: bytes " + std::to_string(start) + "-" + std::to_string(total - 1) + "/" +
                    std::to_string(total) + "\r\n";
        }
    }
    const std::string head = responseHead(status, body.size(), extra);
    if (!sendAll(client, head.data(), head.size())) return;
    switch (resource.behaviour) {
    case Behaviour::CloseEarly:
        sendAll(client, body.data(), body.size() / 2);
        return;
    case Behaviour::Gated: {
        const std::size_t first = std::min(resource.gateAt, body.size());
        if (!sendAll(client, body.data(), first) || !waitForGateOrStop()) return;
        sendAll(client, body.data() + first, body.size() - first);
        return;
    }
    default:
        sendAll(client, body.data(), body.size());
        return;
    }
}

} // namespace testing_support
