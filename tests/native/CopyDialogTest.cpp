// The copy dialog over the main window, headlessly on the shipped skin: which lines and instances it offers,
// refusing a running source, a bad count or more copies than the disk holds, and the copy series it starts.

#include <gtest/gtest.h>

#include "core/storage/ConfigDocument.h"
#include "core/storage/InstanceKeys.h"
#include "support/DiskImages.h"
#include "support/MainFrameFixture.h"
#include "toolkit/Combo.h"

namespace {

using namespace testing_support;
using namespace std::chrono_literals;

std::int32_t id5(int index) {
    return product::encodeInstanceId(KV_PRODUCT_71_32, index);
}

class CopyDialogTest : public MainFrameFixture {
protected:
    std::optional<std::uint64_t> freeBytes = 100ull << 30;
    std::vector<std::int32_t> finishedCopies;

    void SetUp() override {
        MainFrameFixture::SetUp();
        moreServices = [this](FrameServices& s) {
            s.openCopyDialog = [this](std::int32_t source) {
                frame->showCopyPlayerFrame(source < 0 ? std::nullopt : std::optional(source));
            };
            s.freeDiskBytes = [this](const std::filesystem::path&) { return freeBytes; };
        };
    }
    // An instance of line 4 with a configuration to carry over and two 1 MiB disks.
    void addSource(int index, const std::wstring& name) {
        addInstance(KV_PRODUCT_14, index, name);
        common::Players& p = players.line(KV_PRODUCT_14);
        const bool vdi = p.usesVdi();
        writeDiskImage(p.dataDiskPath(index, vdi), "data", 1 << 20);
        writeDiskImage(p.sdcardDiskPath(index, vdi), "sdcard", 1 << 20);
        common::ConfigDocument doc;
        ASSERT_TRUE(doc.load(p.configPath(index)));
        doc.setInt(common::keys::kCpuCount, 3);
        doc.setInt(common::keys::kMemorySize, 3072);
        ASSERT_TRUE(doc.save());
    }
    ui::Window& dialog() { return frame->copyPlayerFrame()->window(); }
    ui::Combo& combo(const wchar_t* name) { return *dialog().find<ui::Combo>(name); }
    std::vector<std::int64_t> tags(const wchar_t* name) {
        std::vector<std::int64_t> out;
        for (const auto& item : combo(name).items()) out.push_back(item.tag);
        return out;
    }
    bool openFromRow(int index) {
        return click(row(id14(index)), L"moreBtn") && chooseMenu(L"copy") && frame->copyPlayerFrame() &&
               dialog().isOpen();
    }
    void confirm(const wchar_t* count) {
        dialog().findControl(L"numEdit")->setText(count);
        ASSERT_TRUE(host.click(dialog(), L"sureBtn"));
    }
};

TEST_F(CopyDialogTest, OffersOnlyLinesWithInstancesAndRefillsTheInstancesOnAProductChange) {
    addInstance(KV_PRODUCT_14, 0, L"first");
    addInstance(KV_PRODUCT_14, 2, L"third");
    addInstance(KV_PRODUCT_71_32, 0, L"old");
    open(KV_PRODUCT_14);
    ASSERT_TRUE(openFromRow(2));
    EXPECT_TRUE(win().overlayShown());
    EXPECT_EQ(tags(L"mnqProductCombo"), (std::vector<std::int64_t>{KV_PRODUCT_14, KV_PRODUCT_71_32}))
        << "line 2 has no instances";
    EXPECT_EQ(combo(L"mnqProductCombo").selectedText(), L"multis_player_product_14");
    EXPECT_EQ(tags(L"mnqCombo"), (std::vector<std::int64_t>{id14(0), id14(2)}));
    EXPECT_EQ(combo(L"mnqCombo").selectedText(), L"third") << "the row's instance";
    EXPECT_EQ(host.text(dialog(), L"numEdit"), L"1");

    ASSERT_TRUE(combo(L"mnqProductCombo").chooseItem(1));
    EXPECT_EQ(tags(L"mnqCombo"), (std::vector<std::int64_t>{id5(0)}));
    EXPECT_EQ(combo(L"mnqCombo").selectedIndex(), 0);

    ASSERT_TRUE(host.click(dialog(), L"cancelBtn"));
    EXPECT_FALSE(win().overlayShown());
    auto* made = frame->copyPlayerFrame();
    ASSERT_TRUE(host.click(win(), L"product5_32Btn"));
    ASSERT_TRUE(host.click(win(), L"btnAddVm"));
    ASSERT_TRUE(chooseMenu(L"MENU_COPY"));
    EXPECT_EQ(frame->copyPlayerFrame(), made) << "made once";
    EXPECT_EQ(combo(L"mnqProductCombo").selectedItem()->tag, KV_PRODUCT_71_32) << "the window's line";
    EXPECT_EQ(combo(L"mnqCombo").selectedItem()->tag, id5(0));
}

// Nothing is copied when the dialog or the window refuses; the reason shows.
TEST_F(CopyDialogTest, RefusesABadCountARunningSourceAndMoreCopiesThanTheDiskHolds) {
    struct Case {
        const wchar_t* count;
        bool running;
        std::uint64_t free;
        bool dialogOpen;  // the dialog keeps the count error
        std::wstring box; // the refusal shown
    };
    const std::uint64_t sourceBytes = 2 << 20;
    const Case cases[] = {
        {L"0", false, 100ull << 30, true, L""},
        {L"x", false, 100ull << 30, true, L""},
        {L"1", true, 100ull << 30, false, L"multi_copy_error1"},
        {L"3", false, 3 * sourceBytes - 1, false, L"multiplay_copy_no_space"},
    };
    addSource(0, L"source");
    open();
    for (const Case& c : cases) {
        freeBytes = c.free;
        ASSERT_TRUE(openFromRow(0)) << c.count;
        if (c.running) desktop.run(players.line(KV_PRODUCT_14), 0); // started while the dialog is open
        frame->refreshTick();
        confirm(c.count);
        EXPECT_EQ(dialog().isOpen(), c.dialogOpen) << c.count;
        EXPECT_EQ(host.shown(dialog(), L"numErrorLabel"), c.dialogOpen) << c.count;
        if (c.dialogOpen) {
            ASSERT_TRUE(host.click(dialog(), L"cancelBtn"));
        }
        ASSERT_TRUE(loop.runUntil([&] { return !boxText().empty() || c.box.empty(); }, 20s)) << c.count;
        EXPECT_EQ(boxText(), c.box) << c.count;
        if (!c.box.empty()) {
            ASSERT_TRUE(pressBoxButton(1));
        }
        if (c.running) desktop.end(players.line(KV_PRODUCT_14), 0);
        frame->refreshTick();
    }
    EXPECT_EQ(frame->copiesLeft(), 0);
    EXPECT_FALSE(model.isAdding());
    EXPECT_EQ(model.playerList(KV_PRODUCT_14).size(), 1u);
    EXPECT_EQ(LogCapture::countExact("KVMultiMainFrame::onCopyPlayer", L"copy player 167772160 3"), 0);
    EXPECT_TRUE(log.containsMessage(L"copy refused: 3 copies of 167772160 need 6291456 bytes, 6291455 free"));
}

TEST_F(CopyDialogTest, TwoCopiesRunOneAfterAnotherAndCarryTheSourcesSettings) {
    addSource(0, L"source");
    open();
    model.events().copyFinished.subscribe(frame->ownerKey(), [this](std::int32_t id) { finishedCopies.push_back(id); });
    ASSERT_TRUE(openFromRow(0));
    confirm(L"2");
    EXPECT_FALSE(dialog().isOpen());
    ASSERT_TRUE(loop.runUntil([&] { return finishedCopies.size() == 2 && !model.isAdding(); }, 20s));
    EXPECT_TRUE(log.contains("KVMultiMainFrame::onCopyPlayer", L"copy player 167772160 2"));
    EXPECT_EQ(finishedCopies, (std::vector<std::int32_t>{id14(1), id14(2)}));
    EXPECT_EQ(LogCapture::countExact("KVMultiModel::copyPlayer", L"it is adding. not do"), 0);
    EXPECT_EQ(row(id14(0)).status(), 0) << "the source is back once the last copy ends";
    for (int index : {1, 2}) {
        common::ConfigDocument doc;
        ASSERT_TRUE(doc.load(players.line(KV_PRODUCT_14).configPath(index)));
        EXPECT_EQ(doc.getInt(common::keys::kCpuCount, 0), 3) << index;
        EXPECT_EQ(doc.getInt(common::keys::kMemorySize, 0), 3072) << index;
        EXPECT_EQ(row(id14(index)).status(), 0) << index;
    }
}

} // namespace
