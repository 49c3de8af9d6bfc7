#include "core/storage/KVPhoneConfig.h"

#include <gtest/gtest.h>

#include "support/LogCapture.h"
#include "support/TempDir.h"

using common::KVPhoneConfig;
using common::PhoneInfo;
using testing_support::TempDir;

TEST(KVPhoneConfig, ShippedListHasRealisticEntriesWithAllThreeMembers) {
    KVPhoneConfig config;
    config.loadConfig(KV_PHONE_LIST);
    ASSERT_GE(config.phones().size(), 20u);
    for (const auto& p : config.phones()) {
        EXPECT_FALSE(p.maker.empty());
        EXPECT_FALSE(p.name.empty());
        EXPECT_FALSE(p.model.empty());
    }
}

TEST(KVPhoneConfig, PickIsTheEntryAtTheSecondsModuloTheCount) {
    TempDir dir;
    testing_support::writeFile(dir / "phones.data", R"({"phones": [
        {"maker": "A", "name": "a", "model": "A1"}, {"maker": "B", "model": "B1"}, 7,
        {"maker": "C", "name": "c", "model": "C1"}]})");
    KVPhoneConfig config;
    config.loadConfig(dir / "phones.data");
    ASSERT_EQ(config.phones().size(), 3u);
    EXPECT_EQ(config.phones()[1], (PhoneInfo{L"B", L"", L"B1"})) << "a missing member is empty";
    EXPECT_EQ(config.pickAt(1000).model, L"B1"); // 1000 mod 3
    EXPECT_EQ(config.pickAt(1002).model, L"A1");
    EXPECT_EQ(config.pickAt(1000), config.pickAt(1000)) << "two instances in the same second get the same phone";
}

TEST(KVPhoneConfig, MissingOrBrokenFileLeavesAnEmptyListAndPicksEmptyTexts) {
    TempDir dir;
    testing_support::LogCapture log;
    KVPhoneConfig config;
    config.loadConfig(dir / "missing.data");
    EXPECT_TRUE(config.phones().empty());
    EXPECT_TRUE(log.containsPart(L"not a json object"));
    testing_support::writeFile(dir / "array.data", "[1, 2]");
    config.loadConfig(dir / "array.data");
    EXPECT_TRUE(config.phones().empty());
    EXPECT_EQ(config.pickAt(5), PhoneInfo{});
}
