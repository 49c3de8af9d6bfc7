#pragma once
// The leftover cases both download clients pass: a file left by an earlier attempt that is too small for
// either client to keep is fetched again from zero, a large one holding the start of the body is resumed from
// its end, a 404 answer leaves it as it was, a server that ignores the range (200) gets the file written
// from zero, and a 206 whose range starts elsewhere fails and leaves the leftover as it was. Each client's test runs
// them with the Range header it sends when it starts from zero (libcurl "bytes=0-", WinINet none) and checks its own
// progress and log lines.

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <ostream>
#include <string>

#include "support/TempDir.h"
#include "support/TestHttpServer.h"

namespace testing_support {

struct LeftoverCase {
    const char* name;
    std::size_t leftoverBytes;
    bool served;             // else the server answers 404
    std::size_t resumedFrom; // 0: fetched again from zero; else the leftover is the body's start
    Ranges ranges = Ranges::Honour;
    bool refused() const { return !served || ranges == Ranges::Misplace; }
};

inline constexpr std::size_t kLeftoverMiB = 1048576;
inline constexpr LeftoverCase kLeftoverCases[] = {
    {"BelowOneMiBIsFetchedAgainFromZero", kLeftoverMiB - 1, true, 0},
    {"OfFiveMiBIsResumedFromItsEnd", 5 * kLeftoverMiB, true, 5 * kLeftoverMiB},
    {"IsLeftAloneByANotFoundAnswer", 5 * kLeftoverMiB, false, 0},
    {"IsReplacedWhenTheServerIgnoresTheRange", 5 * kLeftoverMiB, true, 5 * kLeftoverMiB, Ranges::Ignore},
    {"IsLeftAloneByARangeStartingElsewhere", 5 * kLeftoverMiB, true, 5 * kLeftoverMiB, Ranges::Misplace},
};

inline void PrintTo(const LeftoverCase& c, std::ostream* out) {
    *out << c.name;
}
inline std::string leftoverCaseName(const ::testing::TestParamInfo<LeftoverCase>& info) {
    return info.param.name;
}

// Lays the leftover at `file`, serves a 6 MiB body at "/setup.exe" and runs `download` for that path.
inline void runLeftoverCase(const LeftoverCase& c, TestHttpServer& server, const std::filesystem::path& file,
                            const std::function<bool(const std::string& path)>& download,
                            const std::string& rangeFromZero) {
    const std::string body = patternBody(6 * kLeftoverMiB);
    const std::string leftover = c.resumedFrom ? body.substr(0, c.leftoverBytes) : std::string(c.leftoverBytes, 'x');
    writeFile(file, leftover);
    if (c.served) server.serve("/setup.exe", Resource{body, 200, Behaviour::Answer, 0, c.ranges});
    if (c.refused()) {
        EXPECT_FALSE(download("/setup.exe"));
        EXPECT_TRUE(readFile(file) == leftover);
        return;
    }
    ASSERT_TRUE(download("/setup.exe"));
    EXPECT_TRUE(readFile(file) == body);
    EXPECT_EQ(server.requests().at(0).header("Range"),
              c.resumedFrom ? "bytes=" + std::to_string(c.resumedFrom) + "-" : rangeFromZero);
}

} // namespace testing_support
