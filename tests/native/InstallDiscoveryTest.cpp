#include "core/model/InstallDiscovery.h"

#include <gtest/gtest.h>

#include "core/model/KVMultiModel.h"
#include "core/model/VersionChecks.h"
#include "core/text/Utf.h"
#include "support/FakeInstallSources.h"
#include "support/FakeInstanceDesktop.h"
#include "support/FakeWindowSystem.h"
#include "support/LogCapture.h"

using model::InstallFolders;
using testing_support::FakeInstallSources;

TEST(VersionChecks, OnlyTheLeadingCharactersOfTheVersionCount) {
    FakeInstallSources s;
    s.install(L"C:\\kv14", L"14.0.1.2");
    s.install(L"C:\\bare", L"");
    s.install(L"C:\\kv9", L"9.0.62.0");
    s.install(L"C:\\kv7", L"5.0.12.0");
    EXPECT_TRUE(model::isPlayer14PathIsRight(s, L"C:\\kv14"));
    EXPECT_FALSE(model::isPlayer9PathIsRight(s, L"C:\\kv14"));
    EXPECT_TRUE(model::isPlayerPathIsRightFor4_5(s, L"C:\\kv14")) << "only the first character 1 is compared with 9";
    EXPECT_FALSE(model::isPlayerPathIsRightFor4_5(s, L"C:\\bare"));
    EXPECT_FALSE(model::isPlayer14PathIsRight(s, L"C:\\bare"));
    EXPECT_TRUE(model::isPlayer9PathIsRight(s, L"C:\\bare")) << "no version passes both 9 conditions";
    EXPECT_TRUE(model::isPlayer9PathIsRight(s, L"C:\\kv9"));
    EXPECT_FALSE(model::isPlayer9PathIsRight(s, L"C:\\kv7"));
    EXPECT_FALSE(model::isPlayerPathIsRightFor4_5(s, L"C:\\kv9"));
    EXPECT_FALSE(model::isPlayerPathIsRightFor4_5(s, L"C:\\missing"));
    EXPECT_FALSE(model::isPlayer14PathIsRight(s, L""));
}

TEST(InstallDiscovery, ConfigFileThenRegistryThenShortcutsEachCheckedByVersion) {
    FakeInstallSources s;
    s.install(L"C:\\a9", L"9.0.50.0");
    s.install(L"C:\\a14", L"14.0.0.1");
    s.install(L"C:\\r64", L"5.0.9.0");
    s.install(L"C:\\s3", L"3.200.0.0");
    s.install(L"C:\\wrong", L"9.1.0.0");
    s.config[L"player9"] = L"C:\\a9";
    s.config[L"player5"] = L"C:\\wrong"; // fails the 7.1 check: the line keeps looking
    s.registry[L"Software\\Norvane\\KVPlayer64"] = L"C:\\r64";
    s.registry[L"Software\\Norvane\\KVPlayer14"] = L"C:\\a14";
    s.shortcut(L"\\KVPlayer.lnk", L"C:\\s3");

    testing_support::LogCapture log;
    InstallFolders folders;
    model::discoverInstallFolders(s, folders);

    EXPECT_EQ(folders, (InstallFolders{L"", L"C:\\r64", L"C:\\a9", L"C:\\s3", L"C:\\a14"}));
    EXPECT_EQ(s.registryReads,
              (std::vector<std::wstring>{L"Software\\Norvane\\KVPlayer", L"Software\\Norvane\\KVPlayer64",
                                         L"Software\\Pellorn\\KVPlayer", L"Software\\Norvane\\KVPlayer14"}))
        << "a valid config entry for line 2 prevents its registry look-up";
    EXPECT_EQ(s.shortcutReads, (std::vector<std::wstring>{L"C:\\Users\\me\\Desktop\\KVPlayer5.lnk",
                                                          L"C:\\Users\\me\\Desktop\\KVPlayer4.lnk",
                                                          L"C:\\Users\\me\\Desktop\\KVPlayer.lnk"}));
    for (const wchar_t* line :
         {L"read path from pathconfig.ini", L"configpath player32: player64: player9 C:\\a9 player3  player14 ",
          L"64 player path C:\\r64", L"read player3 path from shortcut C:\\s3"})
        EXPECT_TRUE(log.contains("KVMultiModel::getPlayerPath", line)) << common::text::toUtf8(line);
}

TEST(InstallDiscovery, LineZeroTriesItsSecondShortcutOnlyWhenTheFirstFoundNothing) {
    FakeInstallSources s;
    s.install(L"C:\\k5", L"5.0.1.0");
    s.shortcut(L"\\KVPlayer5.lnk", L"C:\\k5");
    InstallFolders folders;
    model::discoverInstallFolders(s, folders);
    EXPECT_EQ(folders[0], L"C:\\k5");
    EXPECT_EQ(std::count(s.shortcutReads.begin(), s.shortcutReads.end(), L"C:\\Users\\me\\Desktop\\KVPlayer4.lnk"), 0);

    FakeInstallSources noDesktop;
    noDesktop.desktop.clear();
    InstallFolders none;
    model::discoverInstallFolders(noDesktop, none);
    EXPECT_TRUE(noDesktop.shortcutReads.empty());
}

TEST(KVMultiModelLines, LastRunReadsLinesMapsOthersToFourAndIsCached) {
    common::PlayerSet players;
    FakeInstallSources s;
    testing_support::FakeInstanceDesktop desktop;
    testing_support::FakeWindowSystem windows;
    {
        KVMultiModel model(players, s, desktop, windows);
        int line = 4;
        model.readLastRun(line);
        EXPECT_EQ(line, 4) << "nothing stored: the caller's value stays";
        s.config[L"lastRun"] = L"7";
        model.readLastRun(line);
        EXPECT_EQ(line, 4);
        s.config[L"lastRun"] = L"2";
        model.readLastRun(line);
        EXPECT_EQ(line, 4) << "the first value read is kept";
    }
    KVMultiModel fresh(players, s, desktop, windows);
    int line = -1;
    fresh.readLastRun(line);
    EXPECT_EQ(line, 2);
    fresh.writeLastRun(KV_PRODUCT_51);
    EXPECT_EQ(s.config[L"lastRun"], L"3");
}

TEST(KVMultiModelLines, DefaultLinePrefersTheInstalledLastRunLine) {
    common::PlayerSet players;
    FakeInstallSources s;
    testing_support::FakeInstanceDesktop desktop;
    testing_support::FakeWindowSystem windows;
    s.install(L"C:\\k9", L"9.0.62.0");
    s.install(L"C:\\k7", L"5.0.10.0");
    s.config[L"player9"] = L"C:\\k9";
    s.config[L"player64"] = L"C:\\k7";
    {
        KVMultiModel model(players, s, desktop, windows);
        EXPECT_EQ(model.defaultProductLine(), -1);
        EXPECT_EQ(&model.defaultProductPlayers(), &players.line(KV_PRODUCT_14));
        std::wstring a, b, c, d, e;
        model.getPlayerPath(a, b, c, d, e);
        EXPECT_EQ(b, L"C:\\k7");
        EXPECT_EQ(c, L"C:\\k9");
        EXPECT_EQ(model.defaultProductLine(), KV_PRODUCT_9);
        EXPECT_FALSE(model.isPlayerVersionSupported(product::encodeInstanceId(KV_PRODUCT_71_64, 1)))
            << "5.0.10.0 sorts before 5.0.9.0 as text";
        EXPECT_TRUE(model.isPlayerVersionSupported(product::encodeInstanceId(KV_PRODUCT_9, 1)));
        EXPECT_TRUE(model.isPlayerVersionSupported(product::encodeInstanceId(KV_PRODUCT_14, 1)));
    }
    s.config[L"lastRun"] = L"1";
    KVMultiModel model(players, s, desktop, windows);
    std::wstring a, b, c, d, e;
    model.getPlayerPath(a, b, c, d, e);
    EXPECT_EQ(model.defaultProductLine(), KV_PRODUCT_71_64);
}
