#include "core/storage/PlayerConfig.h"

#include <gtest/gtest.h>

#include "core/storage/Identity.h"
#include "core/storage/KVPhoneConfig.h"
#include "support/TempDir.h"

using common::PlayerConfig;
using testing_support::TempDir;

namespace {

const char* const kIdentityKeys[] = {"propertySettings.phoneIMEI",      "propertySettings.phoneIMSI",
                                     "propertySettings.phoneSimSerial", "propertySettings.phoneAndroidId",
                                     "propertySettings.phoneModel",     "propertySettings.phoneManufacturer",
                                     "propertySettings.macAddress"};

} // namespace

TEST(PlayerConfig, NewIndexGetsAWholeIdentityWrittenToItsFile) {
    TempDir dir;
    common::KVPhoneConfig::instance().loadConfig(KV_PHONE_LIST);
    PlayerConfig config;
    config.load(dir.path(), 3);
    const auto path = dir / "vms" / "config" / "vantor3.config";
    ASSERT_TRUE(std::filesystem::exists(path));
    common::ConfigDocument saved;
    saved.load(path);
    for (const char* key : kIdentityKeys) EXPECT_FALSE(saved.getString(key).empty()) << key;
    EXPECT_TRUE(saved.getBool("statusSettings.isNewPlayer", false));
    EXPECT_TRUE(common::identity::passesLuhn(saved.getString("propertySettings.phoneIMEI")));
    EXPECT_EQ(saved.memberCount(), 8u);
}

TEST(PlayerConfig, ExistingFileLackingOnlyTheModelGetsNX709SAndNothingElse) {
    TempDir dir;
    const auto path = dir / "vms" / "config" / "vantor1.config";
    testing_support::writeFile(path, R"({"basicSettings.fps": 30, "propertySettings.phoneIMEI": "867632021234567",
        "propertySettings.phoneManufacturer": "maker"})");
    PlayerConfig config;
    config.load(dir.path(), 1);
    common::ConfigDocument saved;
    saved.load(path);
    EXPECT_EQ(saved.getString("propertySettings.phoneModel"), L"NX709S");
    EXPECT_EQ(saved.getString("propertySettings.phoneManufacturer"), L"maker");
    EXPECT_EQ(saved.getString("propertySettings.phoneIMEI"), L"867632021234567");
    EXPECT_EQ(saved.getInt("basicSettings.fps", 0), 30);
    EXPECT_EQ(saved.memberCount(), 4u);
}

TEST(PlayerConfig, CompleteFileIsNotRewrittenAndIndexMinusOneWritesNothing) {
    TempDir dir;
    const auto path = dir / "vms" / "config" / "vantor2.config";
    const std::string text = R"({"propertySettings.phoneIMEI": "1", "propertySettings.phoneModel": "m",
        "propertySettings.phoneManufacturer": "x"})";
    testing_support::writeFile(path, text);
    PlayerConfig config;
    config.load(dir.path(), 2);
    EXPECT_EQ(testing_support::readFile(path), text);
    config.load(dir.path(), -1);
    EXPECT_EQ(config.document().getString("propertySettings.phoneModel"), L"NX709S");
    EXPECT_FALSE(std::filesystem::exists(dir / "vms" / "config" / "vantor-1.config"));
}
