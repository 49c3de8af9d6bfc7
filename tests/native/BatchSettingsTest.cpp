#include "core/model/BatchSettings.h"

#include <gtest/gtest.h>

#include <set>

#include "core/lang/LanguageStrings.h"
#include "core/storage/InstanceKeys.h"
#include "support/LogCapture.h"
#include "support/TempDir.h"

namespace fs = std::filesystem;
using testing_support::readFile;

namespace {

// A complete configuration (nothing for the loader to add) in the layout a save writes.
std::string configText(int cpuCount) {
    common::ConfigDocument doc;
    doc.loadText(R"({"propertySettings.phoneIMEI": "867632021234567", "propertySettings.phoneModel": "NX709S",
        "propertySettings.phoneManufacturer": "nubia", "hotkeySettings.bossKey": {"modifiers": 2, "key": 81}})");
    doc.setInt("advancedSettings.cpuCount", cpuCount);
    return doc.serialize();
}

class BatchSettingsTest : public ::testing::Test {
protected:
    BatchSettingsTest() {
        common::lang::setLanguageStrings({{L"prompt", L"Tip"}, {L"multi_batch_setup_end", L"Done"}});
    }
    ~BatchSettingsTest() override { common::lang::setLanguageStrings({}); }

    // Instances alternate between two lines, so every id must find its own line's folder.
    void makeInstances(const std::vector<int>& cpuCounts) {
        std::vector<std::int32_t> ids;
        for (std::size_t i = 0; i < cpuCounts.size(); ++i) {
            const auto line = i % 2 ? KV_PRODUCT_14 : KV_PRODUCT_9;
            players.line(line).init(dir / std::to_string(line));
            paths.push_back(common::PlayerConfig::configPathOf(dir / std::to_string(line), static_cast<int>(i)));
            testing_support::writeFile(paths.back(), configText(cpuCounts[i]));
            fs::last_write_time(paths.back(), fs::file_time_type::clock::now() - std::chrono::hours(1));
            times.push_back(fs::last_write_time(paths.back()));
            ids.push_back(product::encodeInstanceId(line, static_cast<int>(i)));
        }
        batch.setBatchIds(ids);
    }
    void runBatch(
        std::string_view checkBox, const std::function<void()>& beforeWrites = [] {}) {
        batch.startSaveSettingMul();
        beforeWrites();
        batch.applyChecked([&](std::string_view box) { return box == checkBox; }, values);
        batch.endSaveSettingMul();
        EXPECT_EQ(notices.shown(), (std::vector<model::Notice>{{L"Tip", L"Done"}}));
    }
    void expectUntouched(std::size_t i, int cpuCount) {
        EXPECT_EQ(readFile(paths[i]), configText(cpuCount)) << i;
        EXPECT_EQ(fs::last_write_time(paths[i]), times[i]) << i;
    }

    testing_support::TempDir dir;
    testing_support::LogCapture log;
    common::PlayerSet players;
    model::RecordingNotices notices;
    model::BatchSettings batch{players, notices};
    model::BatchValues values; // every field but the one a test sets differs from the files
    std::vector<fs::path> paths;
    std::vector<fs::file_time_type> times;
};

} // namespace

TEST_F(BatchSettingsTest, OnlyTheCheckedCpuCountChangesAndAFileAlreadyHoldingItIsNotRewritten) {
    makeInstances({2, 4, 6});
    values.cpuCount = 6;
    runBatch("cpuTitleOption");
    EXPECT_EQ(readFile(paths[0]), configText(6));
    EXPECT_EQ(readFile(paths[1]), configText(6));
    expectUntouched(2, 6);
    EXPECT_EQ(log.countExact("KVMultiModel::startSaveSettingMul", L"setting size 3"), 1);
}

TEST_F(BatchSettingsTest, OneIdChangesNoFileEvenWithAnEarlierBatchLeftOpen) {
    makeInstances({2, 4});
    values.cpuCount = 8;
    batch.startSaveSettingMul(); // never ended
    batch.setBatchIds({batch.batchIds().front()});
    runBatch("cpuTitleOption");
    expectUntouched(0, 2);
    expectUntouched(1, 4);
    EXPECT_EQ(log.countExact("KVMultiModel::startSaveSettingMul", L"less than 1"), 1);
}

TEST_F(BatchSettingsTest, FullScreenRowWritesTheKeyAndTheEscSwitch) {
    makeInstances({2, 2});
    values.fullScreenKey = {2, 70};
    values.exitFullscreenEsc = true;
    runBatch("fullscreenkeyTitleOption");
    for (const auto& path : paths) {
        common::ConfigDocument doc;
        ASSERT_TRUE(doc.load(path));
        EXPECT_EQ(doc.getHotkey("hotkeySettings.fullScreenKey", {}), (common::CombineKey{2, 70}));
        EXPECT_TRUE(doc.getBool("hotkeySettings.exitFullscreenEsc", false));
        EXPECT_EQ(doc.memberCount(), 7u);
    }
}

TEST_F(BatchSettingsTest, AFileThatCannotBeWrittenDoesNotStopTheOthers) {
    makeInstances({2, 2, 2});
    values.cpuCount = 5;
    runBatch("cpuTitleOption", [&] { fs::remove(paths[1]), fs::create_directory(paths[1]); });
    EXPECT_EQ(readFile(paths[0]), configText(5));
    EXPECT_EQ(readFile(paths[2]), configText(5));
}

TEST(BatchApplyTable, HasEveryCheckBoxOnceAndEveryHotkeyAndNamesOnlyKnownKeys) {
    std::set<std::string_view> known{"hotkeySettings.exitFullscreenEsc", "advancedSettings.resolution",
                                     "advancedSettings.resolutionDpi", "advancedSettings.cpuCount",
                                     "advancedSettings.memorySize"};
    for (const auto& k : common::keys::boolKeys()) known.insert(k.key);
    for (const auto& k : common::keys::intKeys()) known.insert(k.key);
    for (const auto& k : common::keys::hotkeyKeys()) known.insert(k.key);
    known.insert(common::keys::stringKeys().begin(), common::keys::stringKeys().end());
    std::set<std::string_view> checkBoxes, written;
    for (const auto& row : model::batchApplyTable()) {
        checkBoxes.insert(row.checkBox);
        for (const auto& key : row.keys) EXPECT_TRUE(known.count(key.key) && written.insert(key.key).second) << key.key;
    }
    EXPECT_EQ(checkBoxes.size(), 47u);
    for (const auto& k : common::keys::hotkeyKeys()) EXPECT_TRUE(written.count(k.key)) << k.key;
}
