#pragma once
// Fuzz targets log into a sink that drops every line, so the formatting of the readers' log lines (paths,
// numbers, texts taken from the input) is exercised too without flooding the output.

#include "core/log/Log.h"

namespace kvfuzz {

inline int dropLine(std::string_view, int, std::wstring_view) {
    return 0;
}

inline void installDroppingLog() {
    if (!common::logSink()) common::setLogSink(&dropLine);
}

} // namespace kvfuzz
