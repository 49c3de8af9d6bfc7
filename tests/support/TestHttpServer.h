#pragma once
// A small HTTP/1.1 server on 127.0.0.1 for the download clients' tests: POSIX sockets natively, Winsock
// under Wine. It serves bodies registered by the test, honours "Range: bytes=N-", records every request's
// headers, and can misbehave on purpose: answer 404 (any unknown path), never answer, close in the middle
// of a body, pause a body until the test releases it, or ignore or misplace a requested range.
//
// Every connection gets one answer and is closed. The listening port is chosen by the system.

#include <condition_variable>
#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace testing_support {

struct RecordedRequest {
    std::string method;
    std::string target;
    std::vector<std::pair<std::string, std::string>> headers; // in the order received
    // The value of the first header with this name (case-insensitive), empty when absent.
    std::string header(const std::string& name) const;
    std::size_t count(const std::string& name) const;
};

enum class Behaviour {
    Answer,     // the whole body at once
    Stall,      // reads the request and never answers
    CloseEarly, // announces the whole length, sends half the body and closes
    Gated,      // sends `gateAt` bytes, waits for releaseGate(), then the rest
};

// How a "Range: bytes=N-" request is answered.
enum class Ranges {
    Honour,   // 206 from N with its Content-Range (416 past the end)
    Ignore,   // 200 with the whole body
    Misplace, // 206 with the whole body and a Content-Range that starts at 0
};

struct Resource {
    std::string body;
    int status = 200;
    Behaviour behaviour = Behaviour::Answer;
    std::size_t gateAt = 0;
    Ranges ranges = Ranges::Honour;
};

class TestHttpServer {
public:
    TestHttpServer();  // listening when it returns; port() is 0 when that failed
    ~TestHttpServer(); // ends every connection, stalled ones included

    TestHttpServer(const TestHttpServer&) = delete;
    TestHttpServer& operator=(const TestHttpServer&) = delete;

    std::uint16_t port() const { return m_port; }
    std::string url(const std::string& path) const;
    std::wstring wideUrl(const std::string& path) const;

    void serve(const std::string& path, Resource resource);
    void releaseGate();
    // Later gated bodies wait again.
    void closeGate();
    std::vector<RecordedRequest> requests() const;
    // Number of requests received so far (complete request heads).
    std::size_t requestCount() const;

private:
    void acceptLoop();
    void handle(std::uintptr_t client);
    void answer(std::uintptr_t client, const RecordedRequest& request);
    bool waitForGateOrStop();

    std::uintptr_t m_listener;
    std::uint16_t m_port = 0;
    std::thread m_acceptor;
    mutable std::mutex m_lock;
    std::condition_variable m_changed;
    bool m_stopping = false;
    bool m_gateOpen = false;
    std::map<std::string, Resource> m_resources;
    std::vector<RecordedRequest> m_requests;
    std::vector<std::uintptr_t> m_clients;
    std::vector<std::thread> m_handlers;
};

// A body of `size` bytes whose content depends on the position (so a resumed download that glues the wrong
// parts together is caught).
std::string patternBody(std::size_t size);

} // namespace testing_support
