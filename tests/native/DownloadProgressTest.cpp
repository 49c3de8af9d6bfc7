#include "core/net/DownloadProgress.h"

#include <gtest/gtest.h>

#include <limits>
#include <vector>

#include "support/ManualClock.h"

using namespace std::chrono_literals;

namespace {

struct Report {
    int percent;
    std::int64_t downloaded;
    std::int64_t total;
};

struct Recorder {
    std::vector<Report> reports;
    net::ProgressCallback callback() {
        return [this](int percent, std::int64_t downloaded, std::int64_t total) {
            reports.push_back({percent, downloaded, total});
        };
    }
};

} // namespace

TEST(DownloadProgress, ReportsOnceTheTotalIsKnownAndThenAtMostOncePer1001Ms) {
    testing_support::ManualClock clock;
    Recorder recorder;
    net::DownloadProgress progress(0, recorder.callback(), clock.function());

    progress.update(0, 0); // total not known yet
    progress.update(10, 100);
    clock.advance(1000ms);
    progress.update(20, 100);
    clock.advance(1ms);
    progress.update(30, 100);

    ASSERT_EQ(recorder.reports.size(), 2u);
    EXPECT_EQ(recorder.reports[0].percent, 10);
    EXPECT_EQ(recorder.reports[1].percent, 30);
}

TEST(DownloadProgress, CountsTheResumedBytesAsDownloadedAndNeverReportsHundred) {
    testing_support::ManualClock clock;
    Recorder recorder;
    net::DownloadProgress progress(5000, recorder.callback(), clock.function());

    progress.update(2000, 10000); // 7000 of 15000: 46.67 is truncated
    clock.advance(2s);
    progress.update(10000, 10000);

    ASSERT_EQ(recorder.reports.size(), 2u);
    EXPECT_EQ(recorder.reports[0].percent, 46);
    EXPECT_EQ(recorder.reports[0].downloaded, 7000);
    EXPECT_EQ(recorder.reports[0].total, 15000);
    EXPECT_EQ(recorder.reports[1].percent, 99);
    EXPECT_EQ(recorder.reports[1].downloaded, 15000);
}

TEST(DownloadProgress, AHugeAnnouncedLengthNeitherOverflowsNorLeavesTheRange) {
    testing_support::ManualClock clock;
    Recorder recorder;
    constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
    net::DownloadProgress progress(5 * 1048576, recorder.callback(), clock.function());

    progress.update(1000, kMax - 10);
    clock.advance(2s);
    progress.update(kMax, 10); // more received than announced

    ASSERT_EQ(recorder.reports.size(), 2u);
    EXPECT_EQ(recorder.reports[0].percent, 0);
    EXPECT_EQ(recorder.reports[0].total, kMax);
    EXPECT_EQ(recorder.reports[1].percent, 99);
    EXPECT_EQ(recorder.reports[1].downloaded, kMax);
}
