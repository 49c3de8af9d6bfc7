// The endpoint window and the peer side of WindowIPC inside one process.

#include <windows.h>

#include <gtest/gtest.h>

#include "core/ipc/IpcMessages.h"
#include "platform/win32/ipc/WindowIPC_win.h"
#include "support/LogCapture.h"
#include "support/StandInHarness_win.h"

using testing_support::LogCapture;
using testing_support::waitUntil;

namespace {

const std::wstring kClass = L"{kvmulti-test-endpoint-" + std::to_wstring(GetCurrentProcessId()) + L"}";

struct Received {
    std::uint32_t message;
    std::uintptr_t first;
    std::string payload; // the copy-data bytes, for message 74
};

class Recorder : public utility::IWindowIPCHandle {
public:
    int onHandleWindowIPC(std::uint32_t message, std::uintptr_t first, std::intptr_t second) override {
        Received r{message, first, {}};
        if (message == utility::kMsgCopyData) {
            auto* data = reinterpret_cast<const COPYDATASTRUCT*>(second);
            EXPECT_EQ(data->dwData, 0u);
            r.payload.assign(static_cast<const char*>(data->lpData), data->cbData);
        }
        seen.push_back(r);
        return 5; // ignored: the endpoint answers 0
    }
    std::vector<Received> seen;
};

class Endpoint : public ::testing::Test {
protected:
    Recorder recorder;
    utility::WindowIPC endpoint;
    void SetUp() override { ASSERT_TRUE(endpoint.create(kClass, &recorder)); }
    void TearDown() override { endpoint.destroy(); }
};

} // namespace

TEST_F(Endpoint, OnlyCopyDataAndIdsAbove1024ReachTheHandlerWhichIsAnswered0) {
    HWND w = endpoint.window();
    EXPECT_FALSE(IsWindowVisible(w));
    EXPECT_EQ(SendMessageW(w, 1024, 1, 0), 0);
    EXPECT_EQ(SendMessageW(w, WM_USER - 1, 1, 0), 0);
    EXPECT_TRUE(recorder.seen.empty()) << "1024 itself gets default processing";
    EXPECT_EQ(SendMessageW(w, 1025, 2, 0), 0);
    EXPECT_EQ(SendMessageW(w, utility::kMsgQuit, 3, 0), 0);
    COPYDATASTRUCT data{0, 2, const_cast<char*>("hi")};
    EXPECT_EQ(SendMessageW(w, WM_COPYDATA, 14000, reinterpret_cast<LPARAM>(&data)), 0);
    ASSERT_EQ(recorder.seen.size(), 3u);
    EXPECT_EQ(recorder.seen[0].message, 1025u);
    EXPECT_EQ(recorder.seen[1].first, 3u);
    EXPECT_EQ(recorder.seen[2].payload, "hi");
    endpoint.destroy();
    EXPECT_FALSE(IsWindow(w));
    EXPECT_EQ(endpoint.window(), nullptr);
}

TEST_F(Endpoint, APeerIsFoundByClassAndPostedTo) {
    utility::WindowIPC peer;
    ASSERT_TRUE(peer.open(kClass));
    EXPECT_EQ(peer.window(), endpoint.window());
    EXPECT_FALSE(peer.open(kClass, L"a name it does not have"));
    ASSERT_TRUE(peer.open(kClass));
    EXPECT_TRUE(peer.postMessage(25013, 1, 0));
    EXPECT_TRUE(waitUntil([&] { return recorder.seen.size() == 1; }));
    EXPECT_EQ(recorder.seen[0].message, 25013u);
}

TEST_F(Endpoint, DataMessagesCarryTheTextAsUtf16WithoutTerminatorAndEmptyTextsAreNotSent) {
    LogCapture log;
    utility::WindowIPC peer;
    ASSERT_TRUE(peer.open(kClass));
    peer.postData(9, utility::kMsgRename, L"");
    EXPECT_EQ(LogCapture::count("utility::WindowIPC::postData", L"msg:14000, buffLen:0"), 1);
    peer.postData(9, utility::kMsgRename, L"ab\u00e9");
    // The proxy's sender thread waits in a blocking send for this thread to handle it.
    ASSERT_TRUE(waitUntil([&] { return recorder.seen.size() == 1; }));
    EXPECT_EQ(recorder.seen[0].first, utility::kMsgRename);
    EXPECT_EQ(recorder.seen[0].payload, std::string("a\0b\0\xe9\0", 6));
}

TEST(WindowIpcPeer, AMissingPeerGivesFalseAndNothingIsSent) {
    utility::WindowIPC peer;
    EXPECT_FALSE(peer.open(L"{kvmulti-test-nobody}"));
    EXPECT_FALSE(peer.postMessage(9222, 0, 0));
    peer.postData(1, 9222, L"1"); // nothing to hand to the proxy
}
