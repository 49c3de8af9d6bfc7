#include "core/storage/BusyRegistry.h"

#include <algorithm>

namespace common {

void BusyRegistry::addCopy(int source, int target) {
    std::lock_guard guard(m_copiesLock);
    m_copies.emplace_back(source, target);
}

void BusyRegistry::removeCopy(int source, int target) {
    std::lock_guard guard(m_copiesLock);
    const auto it = std::find(m_copies.begin(), m_copies.end(), std::make_pair(source, target));
    if (it != m_copies.end()) m_copies.erase(it);
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
    auto& l = list(kind);
    std::lock_guard guard(l.lock);
    l.indices.insert(index);
}

bool BusyRegistry::tryAdd(Kind kind, int index) {
    auto& l = list(kind);
    std::lock_guard guard(l.lock);
    if (l.indices.count(index) != 0) return false;
    l.indices.insert(index);
    return true;
}

bool BusyRegistry::busyBesides(Kind kind, int index) const {
    if (isCopySource(index) || isCopyTarget(index)) return true;
    for (Kind other : {Kind::Backup, Kind::Restore, Kind::Creation})
        if (other != kind && contains(other, index)) return true;
    return false;
}

void BusyRegistry::remove(Kind kind, int index) {
    auto& l = list(kind);
    std::lock_guard guard(l.lock);
    if (const auto it = l.indices.find(index); it != l.indices.end()) l.indices.erase(it);
}

bool BusyRegistry::contains(Kind kind, int index) const {
    const auto& l = list(kind);
    std::lock_guard guard(l.lock);
    return l.indices.count(index) != 0;
}

} // namespace common
