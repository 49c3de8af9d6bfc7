#include "app/GroupControlRegistry.h"

namespace app {

std::wstring GroupControlRegistry::frameKey(int productType, std::wstring_view groupName) {
    return L"+{" + std::to_wstring(productType) + L"}+" + std::wstring(groupName);
}

int GroupControlRegistry::productTypeOfUniqueIndex(std::int32_t uniqueIndex) {
    switch ((static_cast<std::uint32_t>(uniqueIndex) >> 24) & 0xFF) {
    case 0:
        return 0;
    case 1:
        return 1;
    case 5:
        return 2;
    case 3:
        return 3;
    case 10:
        return 4;
    default:
        return -1;
    }
}

GroupControlFrame* GroupControlRegistry::find(int productType, std::wstring_view groupName) const {
    const auto it = m_frames.find(frameKey(productType, groupName));
    return it == m_frames.end() ? nullptr : it->second.get();
}

GroupControlFrame& GroupControlRegistry::add(int productType, std::wstring_view groupName,
                                             std::unique_ptr<GroupControlFrame> frame) {
    auto& slot = m_frames[frameKey(productType, groupName)];
    slot = std::move(frame);
    return *slot;
}

void GroupControlRegistry::drop(int productType, std::wstring_view groupName) {
    m_frames.erase(frameKey(productType, groupName));
}

GroupControlFrame* GroupControlRegistry::findFrameByPlayerWindow(platform::WindowHandle window) const {
    for (const auto& [key, frame] : m_frames)
        if (frame->hasPlayerWindow(window)) return frame.get();
    return nullptr;
}

void GroupControlRegistry::releaseAllFrames() {
    for (const auto& [key, frame] : m_frames) frame->releaseAll();
}

} // namespace app
