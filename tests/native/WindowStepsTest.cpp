#include <gtest/gtest.h>

#include "core/arrange/WindowSteps.h"
#include "support/FakeWindowSystem.h"

using testing_support::FakeWindowSystem;

TEST(MonitorScale, IsPrimaryDpiOverTheMainWindowsMonitorDpiOnlyOffThePrimaryWithDifferentDpi) {
    FakeWindowSystem ws;
    ws.addMonitor({0, 0, 1920, 1080}, {0, 0, 1920, 1040}, 144);
    const auto onPrimary = ws.addWindow({10, 10, 800, 600});
    EXPECT_EQ(arrange::monitorScale(ws, onPrimary), 1.0f); // one monitor

    ws.addMonitor({1920, 0, 3200, 1024}, {1920, 0, 3200, 984}, 96);
    const auto onSecond = ws.addWindow({2000, 10, 2800, 600});
    EXPECT_EQ(arrange::monitorScale(ws, onPrimary), 1.0f);
    EXPECT_EQ(arrange::monitorScale(ws, onSecond), 1.5f);

    FakeWindowSystem sameDpi;
    sameDpi.addMonitor({0, 0, 1920, 1080}, {0, 0, 1920, 1040}, 120);
    sameDpi.addMonitor({1920, 0, 3200, 1024}, {1920, 0, 3200, 984}, 120);
    EXPECT_EQ(arrange::monitorScale(sameDpi, sameDpi.addWindow({2000, 10, 2800, 600})), 1.0f);

    FakeWindowSystem noDpiQuery;
    noDpiQuery.addMonitor({0, 0, 1920, 1080}, {0, 0, 1920, 1040}, 0);
    noDpiQuery.addMonitor({1920, 0, 3200, 1024}, {1920, 0, 3200, 984}, 0);
    EXPECT_EQ(arrange::monitorScale(noDpiQuery, noDpiQuery.addWindow({2000, 10, 2800, 600})), 1.0f);
}

TEST(MonitorScale, AMainWindowOnASecondaryPrimaryMonitorCountsAsOnThePrimary) {
    FakeWindowSystem ws;
    ws.addMonitor({-1280, 0, 0, 1024}, {-1280, 0, 0, 984}, 96);
    ws.addMonitor({0, 0, 1920, 1080}, {0, 0, 1920, 1040}, 192, true);
    EXPECT_EQ(arrange::monitorScale(ws, ws.addWindow({100, 100, 900, 700})), 1.0f);
    EXPECT_EQ(arrange::monitorScale(ws, ws.addWindow({-1000, 100, -200, 700})), 2.0f);
}
