#pragma once
// libcurl's process-wide set-up for a test program, as start-up and shutdown do it for the real one.

#include <gtest/gtest.h>

#include "core/net/KVCurlDownloader.h"

namespace testing_support {

class CurlEnvironment : public ::testing::Environment {
public:
    void SetUp() override { ASSERT_TRUE(KVCurlDownloader::globalInit()); }
    void TearDown() override { KVCurlDownloader::globalCleanup(); }
};

inline ::testing::Environment* const g_curlEnvironment = ::testing::AddGlobalTestEnvironment(new CurlEnvironment);

} // namespace testing_support
