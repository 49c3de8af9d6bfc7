#include "app/GroupControlRegistry.h"

#include "core/product/ProductLine.h"

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

GroupControlFrame* GroupControlRegistry::showFrame(int productType, const std::wstring& groupName,
                                                   const std::vector<groupcontrol::PlayerRecord>& records) {
    if (GroupControlFrame* open = find(productType, groupName)) {
        open->bringToFront();
        return open;
    }
    std::unique_ptr<GroupControlFrame> made = m_factory ? m_factory(productType, groupName) : nullptr;
    if (!made) return nullptr;
    GroupControlFrame& frame = add(productType, groupName, std::move(made));
    frame.dock().setPlayers(groupName, records);
    changed(frame);
    return &frame;
}

void GroupControlRegistry::closeFrame(int productType, std::wstring_view groupName, bool keepInstances) {
    GroupControlFrame* frame = find(productType, groupName);
    if (!frame) return;
    if (!keepInstances) frame->releaseAll();
    frame->close();
}

GroupControlFrame* GroupControlRegistry::find(int productType, std::wstring_view groupName) const {
    const auto it = m_frames.find(frameKey(productType, groupName));
    return it == m_frames.end() ? nullptr : it->second.get();
}

bool GroupControlRegistry::frameHasRunningPlayer(int productType, std::wstring_view groupName) const {
    const GroupControlFrame* frame = find(productType, groupName);
    return frame && frame->dock().hasRunningPlayer();
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

void GroupControlRegistry::rename(int productType, std::wstring_view oldName, const std::wstring& newName) {
    auto node = m_frames.extract(frameKey(productType, oldName));
    if (node.empty()) return;
    node.mapped()->dock().setGroupName(newName);
    node.key() = frameKey(productType, newName);
    GroupControlFrame& frame = *node.mapped();
    m_frames.insert(std::move(node));
    changed(frame);
}

void GroupControlRegistry::onPlayerStateChanged(std::int32_t uniqueIndex, std::wstring_view groupName, bool running,
                                                platform::WindowHandle window) {
    GroupControlFrame* frame = find(productTypeOfUniqueIndex(uniqueIndex), groupName);
    if (!frame) return;
    frame->dock().onPlayerStateChanged(product::indexOfId(uniqueIndex), running, window);
    changed(*frame);
}

void GroupControlRegistry::addGroupPlayer(std::int32_t uniqueIndex, std::wstring_view groupName,
                                          const groupcontrol::PlayerRecord& record) {
    GroupControlFrame* frame = find(productTypeOfUniqueIndex(uniqueIndex), groupName);
    if (!frame || frame->dock().holdsIndex(record.index)) return;
    frame->dock().addGroupPlayer(record);
    changed(*frame);
}

void GroupControlRegistry::removePlayer(std::int32_t uniqueIndex, std::wstring_view groupName) {
    GroupControlFrame* frame = find(productTypeOfUniqueIndex(uniqueIndex), groupName);
    if (!frame) return;
    frame->dock().removePlayer(product::indexOfId(uniqueIndex), true);
    changed(*frame);
}

void GroupControlRegistry::movePlayer(std::int32_t uniqueIndex, std::wstring_view groupName,
                                      const groupcontrol::PlayerRecord& record) {
    const int type = productTypeOfUniqueIndex(uniqueIndex);
    for (const auto& [key, frame] : m_frames) {
        groupcontrol::GroupDock& dock = frame->dock();
        if (dock.productType() != type || dock.groupName() == groupName || !dock.holdsIndex(record.index)) continue;
        dock.removePlayer(record.index, true);
        changed(*frame);
    }
    addGroupPlayer(uniqueIndex, groupName, record);
}

void GroupControlRegistry::removePlayerEverywhere(std::int32_t uniqueIndex) {
    const int type = productTypeOfUniqueIndex(uniqueIndex), index = product::indexOfId(uniqueIndex);
    for (const auto& [key, frame] : m_frames) {
        if (frame->dock().productType() != type || !frame->dock().holdsIndex(index)) continue;
        frame->dock().removePlayer(index, false);
        changed(*frame);
        return;
    }
}

GroupControlFrame* GroupControlRegistry::findFrameByPlayerWindow(platform::WindowHandle window) const {
    for (const auto& [key, frame] : m_frames)
        if (frame->hasPlayerWindow(window)) return frame.get();
    return nullptr;
}

bool GroupControlRegistry::withFrameOf(platform::WindowHandle window,
                                       const std::function<void(groupcontrol::GroupDock&)>& action) {
    GroupControlFrame* frame = findFrameByPlayerWindow(window);
    if (!frame) return false;
    action(frame->dock());
    changed(*frame);
    return true;
}

void GroupControlRegistry::reLoadAll() {
    for (const auto& [key, frame] : m_frames) {
        frame->dock().reLoadPlayers();
        changed(*frame);
    }
}

void GroupControlRegistry::showAll(bool shown) {
    for (const auto& [key, frame] : m_frames) {
        frame->setShown(shown);
        frame->dock().reLoadPlayers();
        changed(*frame);
    }
}

void GroupControlRegistry::releaseAllFrames() {
    for (const auto& [key, frame] : m_frames) frame->releaseForGood();
}

} // namespace app
