// GoogleTest entry for the Windows tests; arguments left after GoogleTest's own are kept for the tests.

#include <gtest/gtest.h>

#include "WinTestMain.h"

namespace {
std::vector<std::string> g_args;
}

const std::vector<std::string>& testArguments() {
    return g_args;
}

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    for (int i = 1; i < argc; ++i) g_args.emplace_back(argv[i]);
    return RUN_ALL_TESTS();
}
