#pragma once
#include <string>
#include <vector>

// Command-line arguments of the test program that GoogleTest did not consume.
const std::vector<std::string>& testArguments();
