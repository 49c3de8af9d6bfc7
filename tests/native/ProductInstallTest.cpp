// Downloading and installing a product line: where the package comes from (servers, the download document,
// its digest), and the main window's install flow over fake clients and a fake installer, headlessly.

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <fstream>
#include <mutex>

#include "core/install/InstallPackages.h"
#include "core/install/ProductInstall.h"
#include "core/install/Sha256.h"
#include "core/text/Utf.h"
#include "support/DiskImages.h"
#include "support/MainFrameFixture.h"
#include "support/Poll.h"
#include "toolkit/Button.h"
#include "toolkit/Slider.h"

namespace {

using namespace testing_support;
using namespace std::chrono_literals;

// ---- servers, document and digest ----

TEST(InstallServers, AMirrorReplacesTheBuiltInAddressesKeyByKey) {
    const install::Servers builtIn = install::defaultServers();
    struct Case {
        const char* ini;
        std::string resource;
        std::string download;
    } cases[] = {
        {"", builtIn.resource, builtIn.download},
        {"[servers]\r\nresource=http://127.0.0.1:8765\r\ndownload=http://127.0.0.1:8765\r\n", "http://127.0.0.1:8765",
         "http://127.0.0.1:8765"},
        {"[servers]\ndownload = https://mirror.lan/kv\n", builtIn.resource, "https://mirror.lan/kv"},
        {"[other]\nresource=http://a.lan\n[Servers]\nRESOURCE=http://b.lan\n", "http://b.lan", builtIn.download},
        {"[servers]\nresource=http://a.lan/\ndownload=ftp://a.lan\n", builtIn.resource, builtIn.download},
        {"[servers]\nresource=http://\ndownload=http://a lan\n", builtIn.resource, builtIn.download},
    };
    for (const Case& c : cases) {
        const install::Servers servers = install::parseServers(c.ini);
        EXPECT_EQ(servers.resource, c.resource) << c.ini;
        EXPECT_EQ(servers.download, c.download) << c.ini;
    }
}

TEST(InstallServers, AMalformedAddressIsLoggedAndAMissingFileKeepsTheBuiltIns) {
    LogCapture log;
    (void)install::parseServers("[servers]\nresource=resource.lan\n");
    EXPECT_TRUE(log.containsPart(L"servers.ini: resource address resource.lan ignored"));
    TempDir folder;
    EXPECT_EQ(install::loadServers(folder / "servers.ini").download, install::defaultServers().download);
}

TEST(InstallDocument, ThePackageAddressAndDigestComeFromTheLinesMember) {
    const install::Servers servers{"http://res", "http://dl"};
    const std::string digest(64, 'A');
    struct Case {
        std::string document;
        KV_PRODUCT_TYPE line;
        std::string url;
        std::string sha256;
    } cases[] = {
        {"", KV_PRODUCT_71_32, "http://dl/download/package/KVPlayer4.0.exe", ""},
        {"not json", KV_PRODUCT_14, "http://dl/download/package/KVPlayer14.0.exe", ""},
        {R"({"mnq9":{"url_spare":"http://x/9.exe"}})", KV_PRODUCT_9, "http://x/9.exe", ""},
        {R"({"mnq9":{"url_spare":""}})", KV_PRODUCT_9, "http://dl/download/package/KVPlayer9.0.exe", ""},
        {R"j({"mnq5(64)":{"url_spare":"http://x/64.exe"}})j", KV_PRODUCT_71_64, "http://x/64.exe", ""},
        {R"({"mnq":{"url_spare":"http://x/3.exe"},"mnq5":{"url_spare":7}})", KV_PRODUCT_71_32,
         "http://dl/download/package/KVPlayer4.0.exe", ""},
        {R"({"mnq5":{"sha256":")" + digest + R"("}})", KV_PRODUCT_71_32, "http://dl/download/package/KVPlayer4.0.exe",
         std::string(64, 'a')},
        {R"({"mnq5":{"sha256":"abc"}})", KV_PRODUCT_71_32, "http://dl/download/package/KVPlayer4.0.exe", "invalid:abc"},
    };
    for (const Case& c : cases) {
        const install::PackageChoice choice = install::choosePackage(c.document, c.line, servers);
        EXPECT_EQ(choice.url, c.url) << c.document;
        EXPECT_EQ(choice.sha256, c.sha256) << c.document;
    }
}

TEST(InstallDigest, KnownDigestsAcrossBlockBoundaries) {
    const std::pair<std::string, const char*> cases[] = {
        {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
        {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
         "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
        {std::string(1000000, 'a'), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
    };
    for (const auto& [bytes, digest] : cases) EXPECT_EQ(install::sha256OfBytes(bytes), digest) << bytes.size();
    TempDir folder;
    std::ofstream(folder / "f", std::ios::binary) << "abc";
    EXPECT_EQ(install::sha256OfFile(folder / "f"), install::sha256OfBytes("abc"));
    EXPECT_EQ(install::sha256OfFile(folder / "missing"), std::nullopt);
}

TEST(InstallProgressPacing, OneReportASecondTheLastAlwaysAndNoneWithoutATotal) {
    auto now = std::chrono::steady_clock::time_point{} + 1h;
    install::ProgressPacer pacer([&] { return now; });
    EXPECT_EQ(pacer.next(10, 0), -1);
    EXPECT_EQ(pacer.next(10, 100), 10);
    now += 999ms;
    EXPECT_EQ(pacer.next(50, 100), -1);
    now += 1ms;
    EXPECT_EQ(pacer.next(60, 100), 60);
    EXPECT_EQ(pacer.next(100, 100), 100) << "the last one comes at once";
}

// ---- the install flow in the main window ----

// Network and installer in memory. A step named in `blockAt` waits there until the download is stopped.
class FakeTransfers : public install::InstallTransfers {
public:
    std::string document = "{}";
    bool documentAnswers = true;
    bool curlFileWorks = true;
    bool wininetFileWorks = true;
    bool installerWorks = true;
    std::string installerBytes = std::string(1000, 'x');
    std::string blockAt;            // "document", "curl", "wininet"
    std::function<void()> installs; // what the installer does to the machine
    std::atomic<int> curlDocuments{0}, wininetDocuments{0}, curlFiles{0}, wininetFiles{0}, installersRun{0}, blocked{0};
    std::atomic<bool> leftoverSeen{false};

    bool curlDocument(const std::string& url, std::string& body) override {
        lastDocumentUrl = url;
        ++curlDocuments;
        if (blockAt == "document") return waitForStop();
        if (documentAnswers) body = document;
        return documentAnswers;
    }
    bool wininetDocument(const std::string&, std::string& body) override {
        ++wininetDocuments;
        if (documentAnswers) body = document;
        return documentAnswers;
    }
    bool curlFile(const std::string& url, const std::filesystem::path& file,
                  const std::function<void(int)>& progress) override {
        ++curlFiles;
        lastPackageUrl = url;
        if (std::filesystem::exists(file)) leftoverSeen = true;
        if (blockAt == "curl") return waitForStop();
        if (!curlFileWorks) {
            std::ofstream(file, std::ios::binary) << "partial";
            return false;
        }
        progress(42);
        std::ofstream(file, std::ios::binary) << installerBytes;
        return true;
    }
    bool wininetFile(const std::string&, const std::filesystem::path& file,
                     const std::function<bool(std::uint64_t, std::uint64_t)>& progress) override {
        ++wininetFiles;
        if (blockAt == "wininet") {
            // WinINet's transfer is never cut short by its sink; this one ends as failed some time after the stop.
            EXPECT_TRUE(progress(1, 100)) << "the sink always lets the transfer go on";
            return waitForStop();
        }
        if (!wininetFileWorks) return false;
        std::ofstream(file, std::ios::binary) << installerBytes;
        return progress(1000, 1000);
    }
    void abortCurl() override {
        const std::lock_guard hold(lock);
        aborted = true;
        changed.notify_all();
    }
    bool runInstaller(const std::filesystem::path& installer) override {
        ++installersRun;
        lastInstaller = installer;
        if (installerWorks && installs) installs();
        return installerWorks;
    }

    std::string lastDocumentUrl, lastPackageUrl;
    std::filesystem::path lastInstaller;

private:
    bool waitForStop() {
        ++blocked;
        std::unique_lock hold(lock);
        changed.wait(hold, [this] { return aborted; });
        return false;
    }
    std::mutex lock;
    std::condition_variable changed;
    bool aborted = false;
};

class ProductInstallFlowTest : public MainFrameFixture {
protected:
    std::shared_ptr<FakeTransfers> net = std::make_shared<FakeTransfers>();
    TempDir programFiles;
    std::vector<std::int32_t> finishedCreates;

    void SetUp() override {
        installLine0 = false;
        MainFrameFixture::SetUp();
        writeDiskImage(players.line(KV_PRODUCT_14).templateDataPath(true), "template", 1 << 16);
        moreServices = [this](FrameServices& s) {
            s.openAddDialog = [this] { frame->showAddPlayerFrame(1); };
            s.hostFacts = [] { return mainui::HostFacts{4, 16384}; };
            s.installTransfers = net;
            s.installerFolder = programFiles.path();
        };
        // The installer puts line 0 where discovery finds it; only files and the fake sources, which the
        // window reads after it heard of the install's end.
        net->installs = [this] {
            const auto folder = installs / L"player5";
            std::filesystem::create_directories(folder / "vms");
            writeDiskImage(folder / "data.vmdk", "template", 1 << 16);
            sources.install(folder.wstring(), L"5.0.12.0");
            sources.config[L"player5"] = folder.wstring();
        };
    }
    void TearDown() override {
        frame.reset(); // joins the download thread before the fakes go
        MainFrameFixture::TearDown();
    }
    mainui::KVMultiMainItem* productRow() { return frame->productRow(); }
    bool productRowIn(int status) {
        return loop.runUntil([&] { return productRow() && productRow()->status() == status; }, 20s);
    }
    std::filesystem::path installerFile() const { return programFiles / "KVPlayer32.exe"; }
    void addForMissingLine(int count) {
        ASSERT_TRUE(host.click(win(), L"btnAddVm"));
        ASSERT_TRUE(chooseMenu(L"MENU_ADD"));
        ui::Window& dialog = frame->addPlayerFrame()->window();
        ASSERT_TRUE(host.click(dialog, L"product5Btn"));
        dialog.findControl(L"numEdit")->setText(std::to_wstring(count));
        ASSERT_TRUE(host.click(dialog, L"sureBtn"));
    }
    bool pressOnProductRow(const wchar_t* button) { return productRow() && click(*productRow(), button); }
};

TEST_F(ProductInstallFlowTest, AddingInstancesOfAMissingLineDownloadsInstallsAndThenCreatesThem) {
    std::ofstream(programFiles / "servers.ini")
        << "[servers]\nresource=http://127.0.0.1:1\ndownload=http://127.0.0.1:2\n";
    open();
    model.events().createFinished.subscribe(
        frame->ownerKey(), [this](KV_PRODUCT_TYPE, std::int32_t id) { finishedCreates.push_back(id); });
    addForMissingLine(2);
    EXPECT_EQ(frame->currentProduct(), KV_PRODUCT_71_32) << "the list switches to the line being installed";
    ASSERT_NE(productRow(), nullptr);
    EXPECT_EQ(productRow()->playerName(), L"KVPlayer");
    EXPECT_EQ(frame->pendingCount(), 2);
    EXPECT_EQ(frame->installState(), 1);

    ASSERT_TRUE(loop.runUntil([&] { return finishedCreates.size() == 2; }, 20s));
    EXPECT_EQ(finishedCreates, (std::vector<std::int32_t>{0, 1})) << "one after another";
    EXPECT_EQ(productRow(), nullptr);
    EXPECT_EQ(frame->installState(), 0);
    EXPECT_EQ(net->lastDocumentUrl, "http://127.0.0.1:1/player_files/en/vantorex");
    EXPECT_EQ(net->lastPackageUrl, "http://127.0.0.1:2/download/package/KVPlayer4.0.exe");
    EXPECT_EQ(net->lastInstaller, installerFile());
    EXPECT_TRUE(std::filesystem::exists(installerFile()));
    EXPECT_FALSE(std::filesystem::exists(programFiles / "KVPlayer32.exe.tmp"));
    EXPECT_TRUE(log.contains("KVMultiMainFrame::onPlayerInstalled", L"32 path " + (installs / L"player5").wstring()));
    EXPECT_EQ(LogCapture::countExact("KVMultiModel::addPlayer", L"it is adding. not do"), 0);
    EXPECT_EQ(net->wininetFiles, 0) << "libcurl worked";
}

TEST_F(ProductInstallFlowTest, StoppingAtEveryStepLeavesNoRowStateZeroAndNoInstall) {
    for (const char* step : {"document", "curl", "wininet"}) {
        SCOPED_TRACE(step);
        net = std::make_shared<FakeTransfers>();
        net->blockAt = step;
        net->curlFileWorks = false;
        open();
        frame->startDownloadPlayer(KV_PRODUCT_71_32, false);
        ASSERT_TRUE(pollUntil([&] { return net->blocked > 0; }));
        ASSERT_TRUE(pressOnProductRow(L"stopDownloadBtn"));
        EXPECT_EQ(boxText(), L"multi_stop_download");
        ASSERT_TRUE(pressBoxButton(2));
        EXPECT_EQ(productRow(), nullptr);
        EXPECT_EQ(frame->installState(), 0);
        EXPECT_EQ(frame->currentProduct(), KV_PRODUCT_14) << "line 0 has no instances: its tab goes";
        loop.runPending();
        EXPECT_EQ(productRow(), nullptr) << "nothing reported after the stop";
        EXPECT_EQ(net->installersRun, 0);
        EXPECT_FALSE(std::filesystem::exists(installerFile()));
    }
}

TEST_F(ProductInstallFlowTest, AFailedDownloadOffersARetryThatStartsFromZero) {
    net->document = R"({"mnq5":{"url_spare":"http://spare/KVPlayer32.exe"}})";
    net->documentAnswers = false;
    net->curlFileWorks = false;
    net->wininetFileWorks = false;
    open();
    frame->startDownloadPlayer(KV_PRODUCT_71_32, false);
    ASSERT_TRUE(productRowIn(10));
    EXPECT_EQ(frame->installState(), 0);
    EXPECT_TRUE(log.contains("KVMultiMainFrame::threadDownloadPlayer", L"download by ie"));
    EXPECT_TRUE(log.contains("KVMultiMainFrame::threadDownloadPlayer", L"download error"));
    EXPECT_TRUE(std::filesystem::exists(programFiles / "KVPlayer32.exe.tmp")) << "left for the next attempt";
    EXPECT_EQ(net->curlDocuments, 2) << "two attempts at the document, each with both clients";
    EXPECT_EQ(net->wininetDocuments, 2);
    EXPECT_EQ(net->lastPackageUrl, install::defaultServers().download + "/download/package/KVPlayer4.0.exe");

    net->curlFileWorks = true;
    net->documentAnswers = true;
    net->leftoverSeen = false;
    ASSERT_TRUE(pressOnProductRow(L"installBtn")) << "the retry button";
    ASSERT_TRUE(loop.runUntil([&] { return productRow() == nullptr; }, 20s));
    EXPECT_FALSE(net->leftoverSeen) << "the leftover is deleted before the next attempt";
    EXPECT_EQ(net->lastPackageUrl, "http://spare/KVPlayer32.exe") << "the document's spare address";
    EXPECT_EQ(net->installersRun, 1);
    EXPECT_TRUE(model.isInstalled(KV_PRODUCT_71_32));
}

TEST_F(ProductInstallFlowTest, RunningInstancesHoldTheInstallUntilTheyClose) {
    addInstance(KV_PRODUCT_14, 0, L"busy");
    open();
    desktop.run(players.line(KV_PRODUCT_14), 0);
    frame->startDownloadPlayer(KV_PRODUCT_71_32, false);
    ASSERT_TRUE(productRowIn(9));
    EXPECT_EQ(frame->installState(), 3);
    EXPECT_TRUE(log.contains("KVMultiMainFrame::threadDownloadPlayer", L"player running"));

    frame->startDownloadPlayer(KV_PRODUCT_9, false);
    EXPECT_EQ(boxText(), L"multi_wait_install") << "one download or install at a time";
    ASSERT_TRUE(pressBoxButton(1));

    ASSERT_TRUE(pressOnProductRow(L"installBtn"));
    EXPECT_EQ(boxText(), L"multi_install_error1");
    ASSERT_TRUE(pressBoxButton(1));
    EXPECT_EQ(net->installersRun, 0);

    desktop.end(players.line(KV_PRODUCT_14), 0);
    ASSERT_TRUE(pressOnProductRow(L"installBtn"));
    EXPECT_EQ(frame->installState(), 2);
    ASSERT_TRUE(loop.runUntil([&] { return productRow() == nullptr; }, 20s));
    EXPECT_EQ(net->installersRun, 1);
    EXPECT_EQ(frame->installState(), 0);
}

TEST_F(ProductInstallFlowTest, AnInstallerThatDoesNotMatchTheDocumentsDigestIsDeletedAndNeverRun) {
    net->document = R"({"mnq5":{"sha256":")" + install::sha256OfBytes("the real installer") + R"("}})";
    open();
    frame->startDownloadPlayer(KV_PRODUCT_71_32, false);
    ASSERT_TRUE(productRowIn(10));
    EXPECT_EQ(net->installersRun, 0);
    EXPECT_FALSE(std::filesystem::exists(installerFile()));
    EXPECT_FALSE(std::filesystem::exists(programFiles / "KVPlayer32.exe.tmp"));
    EXPECT_TRUE(log.contains(
        "KVMultiMainFrame::threadDownloadPlayer",
        L"installer refused: sha256 " + common::text::fromUtf8(install::sha256OfBytes(net->installerBytes)) +
            L", the download document names " + common::text::fromUtf8(install::sha256OfBytes("the real installer"))));

    net->installerBytes = "the real installer";
    ASSERT_TRUE(pressOnProductRow(L"installBtn"));
    ASSERT_TRUE(loop.runUntil([&] { return productRow() == nullptr; }, 20s));
    EXPECT_EQ(net->installersRun, 1) << "a matching installer runs";
}

TEST_F(ProductInstallFlowTest, AFailedInstallRemovesTheRowAndInstallsNothing) {
    net->installerWorks = false;
    open();
    frame->startDownloadPlayer(KV_PRODUCT_71_32, false);
    ASSERT_TRUE(loop.runUntil([&] { return net->installersRun == 1 && productRow() == nullptr; }, 20s));
    EXPECT_EQ(frame->installState(), 0);
    EXPECT_FALSE(model.isInstalled(KV_PRODUCT_71_32));
    EXPECT_EQ(frame->currentProduct(), KV_PRODUCT_14);
}

TEST_F(ProductInstallFlowTest, ProgressFromTheClientsAndFromTheInstallerMovesTheRowsBar) {
    net->blockAt = "curl";
    open();
    frame->startDownloadPlayer(KV_PRODUCT_71_32, false);
    ASSERT_NE(productRow(), nullptr);
    frame->installProgress(0, 37);
    EXPECT_EQ(productRow()->part<ui::Progress>(L"progressbar")->value(), 37);
    net->abortCurl(); // lets the blocked transfer end as failed; WinINet then completes
    ASSERT_TRUE(loop.runUntil([&] { return productRow() == nullptr; }, 20s));
    EXPECT_EQ(net->wininetFiles, 1);
}

} // namespace
