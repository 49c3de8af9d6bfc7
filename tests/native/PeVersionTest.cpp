#include "core/formats/PeVersion.h"

#include <gtest/gtest.h>

#include "support/LogCapture.h"
#include "support/TempDir.h"

using namespace common::formats;
using testing_support::LogCapture;
using testing_support::readFile;

namespace {
// Built by the test build with the mingw-w64 tools from tests/data/sample-pe.
const std::filesystem::path kVersioned = KV_SAMPLE_PE_DIR "/versioned.exe";
const std::filesystem::path kPlain = KV_SAMPLE_PE_DIR "/plain.exe";
const FileVersion kSampleVersion{14, 0, 1, 2};
} // namespace

TEST(PeVersion, ReadsTheFileVersionOfAProgramBuiltWithAVersionResource) {
    EXPECT_EQ(readFileVersionOfFile(kVersioned), kSampleVersion);
    EXPECT_EQ(fileVersionText(kVersioned), L"14.0.1.2");
    EXPECT_EQ(readFileVersion(readFile(kVersioned)), kSampleVersion);
    EXPECT_EQ((FileVersion{65535, 0, 300, 7}).text(), L"65535.0.300.7");
}

TEST(PeVersion, AProgramWithoutVersionResourceOrAMissingFileGivesAnEmptyTextAndALogLine) {
    LogCapture log;
    EXPECT_EQ(readFileVersionOfFile(kPlain), std::nullopt);
    EXPECT_EQ(fileVersionText(kPlain), L"");
    EXPECT_TRUE(log.containsPart(L"no resources"));
    EXPECT_EQ(fileVersionText(kPlain.parent_path() / "absent.exe"), L"");
    EXPECT_TRUE(log.containsPart(L"absent.exe is not a file"));
    EXPECT_EQ(readFileVersion(std::string_view("MZ")), std::nullopt);
    EXPECT_EQ(readFileVersion(std::string_view("#!/bin/sh\n")), std::nullopt);
}

TEST(PeVersion, EveryTruncationGivesNothingOrTheRightVersion) {
    const std::string image = readFile(kVersioned);
    LogCapture log; // keeps thousands of lines out of the output
    for (std::size_t n = 0; n < image.size(); ++n) {
        const auto version = readFileVersion(std::string_view(image).substr(0, n));
        if (version) {
            EXPECT_EQ(*version, kSampleVersion) << n;
        }
    }
    EXPECT_EQ(readFileVersion(std::string_view(image).substr(0, 64)), std::nullopt);
}

// Overwrites every aligned field with values that point anywhere: offsets past the end, overflowing sums,
// huge counts. The sanitizers of the native build catch any read outside the bytes.
TEST(PeVersion, FieldsThatLieNeverMakeTheReaderLeaveTheFile) {
    const std::string image = readFile(kVersioned);
    LogCapture log;
    int found = 0;
    for (std::size_t at = 0; at + 4 <= image.size(); at += 2) {
        for (const std::uint32_t lie : {0xFFFFFFFFu, 0x80000000u, 0x7FFFFFF0u, 0x00001000u, 0u}) {
            std::string damaged = image;
            for (int i = 0; i < 4; ++i) damaged[at + i] = static_cast<char>(lie >> (8 * i));
            found += readFileVersion(damaged).has_value();
        }
    }
    EXPECT_GT(found, 0); // fields the reader does not use leave the version readable
}
