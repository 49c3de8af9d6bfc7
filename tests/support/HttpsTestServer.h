#pragma once
// The HTTPS server that the CTest fixture "https" starts (tests/support/https-server.sh): where it listens
// and what it serves. Tests skip themselves when run outside CTest, where no fixture started it.

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

namespace testing_support {

struct HttpsTestServer {
    bool available = false;
    std::string port;
    std::string helloBody; // the content of https://127.0.0.1:<port>/hello.txt

    std::string helloUrl() const { return "https://127.0.0.1:" + port + "/hello.txt"; }
    std::wstring helloWideUrl() const {
        const std::string narrow = helloUrl();
        return std::wstring(narrow.begin(), narrow.end());
    }

    static HttpsTestServer fromEnvironment() {
        HttpsTestServer server;
        const char* dir = std::getenv("KVMULTI_HTTPS_DIR");
        if (!dir) return server;
#ifdef _WIN32
        const std::string root = std::string("Z:") + dir; // the Linux root is drive Z: under Wine
#else
        const std::string root = dir;
#endif
        std::ifstream portFile(root + "/port");
        std::ifstream hello(root + "/www/hello.body", std::ios::binary);
        if (!(portFile >> server.port) || !hello) return server;
        server.helloBody.assign(std::istreambuf_iterator<char>(hello), std::istreambuf_iterator<char>());
        server.available = true;
        return server;
    }
};

} // namespace testing_support
