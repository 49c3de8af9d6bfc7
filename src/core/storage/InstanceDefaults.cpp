#include "core/storage/InstanceDefaults.h"

#include <algorithm>

namespace common::defaults {

Resolution resolutionFor(int index, int width) {
    if (index != 0) return {1280, 720};
    if (width >= 3200) return {2560, 1440};
    if (width >= 2560) return {1920, 1080};
    if (width >= 1920) return {1600, 900};
    if (width >= 1600) return {1280, 720};
    return {960, 540};
}

int dpiFor(int w, int h) {
    if (w == 2400 && h == 1080) return 320;
    if (w == 3200 && h == 1440) return 400;
    if ((w == 1600 && h == 720) || (w == 1920 && h == 864) || (w == 1760 && h == 792)) return 240;
    const long long area = static_cast<long long>(w) * h;
    if (w <= h) { // portrait or square
        if (area >= 8294400) return 960;
        if (area >= 3686400) return 640;
        if (area >= 2073600) return 480;
        if (area >= 1440000) return 320;
        if (area < 518400) return 160;
        if (area < 921600) return 240;
        return 320;
    }
    if (area >= 8294400) return 540;
    if (area >= 3686400) return 320;
    if (area >= 2073600) return 280;
    if (area >= 921600) return 240;
    return 160;
}

int cpuCount(const platform::ProcessorTopology& t) {
    const int logical = t.logicalProcessors;
    int cores = t.known ? t.cores : logical;
    const int smt = t.known ? (t.smtCores > 0 ? t.smtCores : cores) : logical;
    if (cores < 4) cores = logical;
    if (smt > 4) return std::min(smt, 6);
    if (cores >= 4) return 4;
    if (cores >= 2) return cores;
    return logical < 2 ? 1 : 2;
}

int memoryMb(std::uint64_t mb) {
    if (mb >= 15361) return 6144;
    if (mb >= 8705) return 4096;
    if (mb >= 7169) return 3072;
    if (mb >= 3585) return 2048;
    if (mb < 2561) return 768;
    return 1024;
}

} // namespace common::defaults
