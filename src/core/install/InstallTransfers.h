#pragma once
// What the product download asks of the system: the two HTTP clients (libcurl first, WinINet as the
// fallback), the installer run and the signature check. Windows gives the real ones; native tests fakes.
// Every call blocks and runs on a worker thread.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>

namespace install {

class InstallTransfers {
public:
    virtual ~InstallTransfers() = default;

    [[nodiscard]] virtual bool curlDocument(const std::string& url, std::string& body) = 0;
    [[nodiscard]] virtual bool wininetDocument(const std::string& url, std::string& body) = 0;
    // `progress` gets the percent (0..99) at most about once a second.
    [[nodiscard]] virtual bool curlFile(const std::string& url, const std::filesystem::path& file,
                                        const std::function<void(int percent)>& progress) = 0;
    // From zero, no resume. `progress` (downloaded, total) returns false to stop the transfer.
    [[nodiscard]] virtual bool wininetFile(const std::string& url, const std::filesystem::path& file,
                                           const std::function<bool(std::uint64_t, std::uint64_t)>& progress) = 0;
    // Stops a running libcurl file transfer; it also makes every later one stop at once, so later downloads
    // of this process go through WinINet.
    virtual void abortCurl() = 0;
    // The installer with "-silence -mutiplayer", elevated and shown, waited for up to 180000 ms; true when it
    // ended with 0 in time.
    [[nodiscard]] virtual bool runInstaller(const std::filesystem::path& installer) = 0;
    // Logs what the system says of the file's signature; nothing depends on it.
    virtual void logSignature(const std::filesystem::path& /*installer*/) {}
};

} // namespace install
