#include "core/arrange/Arrangement.h"

namespace arrange {

Layout ArrangeSettings::layout() const {
    if (alignType == 1) return Layout::Cascade;
    return autoSize ? Layout::AutoSize : Layout::FixedGrid;
}

ArrangeSettings readArrangeSettings(const common::GlobalSettings& settings) {
    namespace key = common::settings;
    ArrangeSettings s;
    s.alignType = settings.get(key::windowsAlignType);
    s.autoSize = settings.get(key::windowsAutoSize);
    s.rowCount = settings.get(key::windowsRowCount);
    s.origin = settings.get(key::windowsOrigin);
    s.offset = settings.get(key::windowsOffset);
    s.fitHeight = settings.get(key::sortwndnotoutscreen);
    s.sameMonitor = settings.get(key::moreScreenSortInSame);
    return s;
}

std::vector<platform::WindowHandle> windowsFound(const std::vector<ArrangeTarget>& targets) {
    std::vector<platform::WindowHandle> windows;
    for (const ArrangeTarget& t : targets)
        if (t.window != 0) windows.push_back(t.window);
    return windows;
}

} // namespace arrange
