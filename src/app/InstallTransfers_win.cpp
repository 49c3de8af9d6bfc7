#include "app/InstallTransfers_win.h"

#include <windows.h>

#include <softpub.h>
#include <wintrust.h>

#include "core/log/Log.h"
#include "core/net/KVCurlDownloader.h"
#include "core/text/Utf.h"
#include "platform/win32/net/HttpDownloader_win.h"
#include "platform/win32/storage/Process_win.h"

namespace app {
namespace {

constexpr DWORD kInstallerTimeoutMs = 180000;
constexpr const wchar_t* kInstallerArguments = L"-silence -mutiplayer";

// Hands WinINet's byte counts to the download thread, which may stop the transfer.
class ProgressSink : public utility::IHttpDownloadSink {
public:
    explicit ProgressSink(const std::function<bool(std::uint64_t, std::uint64_t)>& progress) : m_progress(progress) {}
    bool onHttpProgress(std::uint64_t downloaded, std::uint64_t total) override {
        return !m_progress || m_progress(downloaded, total);
    }

private:
    const std::function<bool(std::uint64_t, std::uint64_t)>& m_progress;
};

class Win32InstallTransfers final : public install::InstallTransfers {
public:
    bool curlDocument(const std::string& url, std::string& body) override {
        return KVCurlDownloader().downloadMemory(url, body);
    }
    bool wininetDocument(const std::string& url, std::string& body) override {
        utility::CHttpDownloader client;
        return client.download2mem(common::text::fromUtf8(url), body);
    }
    bool curlFile(const std::string& url, const std::filesystem::path& file,
                  const std::function<void(int)>& progress) override {
        return KVCurlDownloader().downloadFile(url, file, {}, [&progress](int percent, std::int64_t, std::int64_t) {
            if (progress) progress(percent);
        });
    }
    bool wininetFile(const std::string& url, const std::filesystem::path& file,
                     const std::function<bool(std::uint64_t, std::uint64_t)>& progress) override {
        utility::CHttpDownloader client;
        ProgressSink sink(progress);
        return client.download2file(common::text::fromUtf8(url), file.wstring(), &sink, false);
    }
    void abortCurl() override { KVCurlDownloader::abort(); }
    bool runInstaller(const std::filesystem::path& installer) override {
        DWORD error = 0;
        return utility::process::shellEx(installer.wstring(), kInstallerArguments, true, true, kInstallerTimeoutMs,
                                         &error);
    }
    void logSignature(const std::filesystem::path& installer) override {
        const std::wstring path = installer.wstring();
        WINTRUST_FILE_INFO file{};
        file.cbStruct = sizeof file;
        file.pcwszFilePath = path.c_str();
        WINTRUST_DATA data{};
        data.cbStruct = sizeof data;
        data.dwUIChoice = WTD_UI_NONE;
        data.fdwRevocationChecks = WTD_REVOKE_NONE;
        data.dwUnionChoice = WTD_CHOICE_FILE;
        data.pFile = &file;
        data.dwStateAction = WTD_STATEACTION_VERIFY;
        GUID action = WINTRUST_ACTION_GENERIC_VERIFY_V2;
        const LONG result = WinVerifyTrust(static_cast<HWND>(INVALID_HANDLE_VALUE), &action, &data);
        data.dwStateAction = WTD_STATEACTION_CLOSE;
        WinVerifyTrust(static_cast<HWND>(INVALID_HANDLE_VALUE), &action, &data);
        KVLOG_AS("KVMultiMainFrame::threadDownloadPlayer", L"installer signature check 0x%08x (%s)",
                 static_cast<unsigned>(result), result == 0 ? L"trusted" : L"not trusted, not required");
    }
};

} // namespace

std::shared_ptr<install::InstallTransfers> makeInstallTransfers() {
    return std::make_shared<Win32InstallTransfers>();
}

} // namespace app
