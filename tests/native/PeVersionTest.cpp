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
    EXPECT_EQ(readFileVersion(std::string_view("#!/bin/sh\n")), std::nullopt);
    EXPECT_TRUE(log.containsPart(L"no MZ header"));
    EXPECT_EQ(readFileVersion(std::string_view(readFile(kVersioned)).substr(0, 64)), std::nullopt);
    EXPECT_TRUE(log.containsPart(L"no PE signature"));
}
