#include "core/storage/BusyRegistry.h"

#include <algorithm>

namespace common {

void BusyRegistry::addCopy(int source, int target) {
    holdShared(target);
    std::lock_guard guard(m_copiesLock);
    m_copies.emplace_back(source, target);
}

void BusyRegistry::removeCopy(int source, int target) {
    {
        std::lock_guard guard(m_copiesLock);
        const auto it = std::find(m_copies.begin(), m_copies.end(), std::make_pair(source, target));
        if (it == m_copies.end()) return;
        m_copies.erase(it);
    }
    releaseShared(target);
}

bool BusyRegistry::isCopySource(int index) const {
    std::lock_guard guard(m_copiesLock);
    return std::any_of(m_copies.begin(), m_copies.end(), [index](const auto& c) { return c.first == index; });
}

bool BusyRegistry::isCopyTarget(int index) const {
    std::lock_guard guard(m_copiesLock);
    return std::any_of(m_copies.begin(), m_copies.end(), [index](const auto& c) { return c.second == index; });
}

BusyRegistry::IndexList& BusyRegistry::list(Kind kind) {
    return kind == Kind::Backup ? m_backups : kind == Kind::Restore ? m_restores : m_creations;
}

const BusyRegistry::IndexList& BusyRegistry::list(Kind kind) const {
    return kind == Kind::Backup ? m_backups : kind == Kind::Restore ? m_restores : m_creations;
}

void BusyRegistry::add(Kind kind, int index) {
    holdShared(index);
    auto& l = list(kind);
    std::lock_guard guard(l.lock);
    l.indices.insert(index);
}

bool BusyRegistry::tryAdd(Kind kind, int index) {
    {
        auto& l = list(kind);
        std::lock_guard guard(l.lock);
        if (l.indices.count(index) != 0) return false;
        l.indices.insert(index);
    }
    holdShared(index);
    return true;
}

bool BusyRegistry::busyBesides(Kind kind, int index) const {
    if (isCopySource(index) || isCopyTarget(index)) return true;
    for (Kind other : {Kind::Backup, Kind::Restore, Kind::Creation})
        if (other != kind && contains(other, index)) return true;
    return false;
}

void BusyRegistry::remove(Kind kind, int index) {
    {
        auto& l = list(kind);
        std::lock_guard guard(l.lock);
        const auto it = l.indices.find(index);
        if (it == l.indices.end()) return;
        l.indices.erase(it);
    }
    releaseShared(index);
}

bool BusyRegistry::contains(Kind kind, int index) const {
    const auto& l = list(kind);
    std::lock_guard guard(l.lock);
    return l.indices.count(index) != 0;
}

void BusyRegistry::setSharedLockNames(std::function<std::wstring(int)> namer) {
    m_lockNamer = std::move(namer);
}

std::wstring BusyRegistry::sharedLockName(int index) const {
    return m_lockNamer && index >= 0 ? m_lockNamer(index) : std::wstring();
}

std::unique_ptr<platform::SharedLock> BusyRegistry::tryTakeShared(int index) const {
    const std::wstring name = sharedLockName(index);
    if (name.empty()) return std::make_unique<platform::SharedLock>(); // unnamed: nothing to exclude
    return platform::tryTakeSharedLock(name);
}

bool BusyRegistry::heldElsewhere(int index) const {
    if (sharedLockName(index).empty() || holdsShared(index)) return false;
    return tryTakeShared(index) == nullptr;
}

bool BusyRegistry::holdsShared(int index) const {
    std::lock_guard guard(m_sharedLock);
    const auto it = m_shared.find(index);
    return it != m_shared.end() && it->second.lock;
}

// The first mark of an index takes its lock; when another holder has it the mark still counts (this
// process's own rules decided the operation may run), it just cannot tell the other holder.
void BusyRegistry::holdShared(int index) {
    if (sharedLockName(index).empty()) return;
    std::lock_guard guard(m_sharedLock);
    HeldShared& held = m_shared[index];
    if (held.marks++ == 0) held.lock = platform::tryTakeSharedLock(sharedLockName(index));
}

void BusyRegistry::releaseShared(int index) {
    std::lock_guard guard(m_sharedLock);
    const auto it = m_shared.find(index);
    if (it != m_shared.end() && --it->second.marks == 0) m_shared.erase(it);
}

} // namespace common
