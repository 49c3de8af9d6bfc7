#pragma once
// Which instances of a line are being copied, created, backed up or restored right now. The model polls it
// to show those states and to refuse other operations on a busy instance.
//
// Each collection has its own lock and no call takes two of them, so no lock order can arise. Marks are
// normally set and cleared through BusyMark, so an operation that ends early never leaves one behind.
//
// Once named (`setSharedLockNames`), a marked index also holds the instance's shared lock, so that another
// process (the console beside the manager, or the manager beside the console) sees it busy too; the source
// of a copy is only read and takes none, so two copies of one instance may run at once. `heldElsewhere`
// asks whether another holder has the lock of an index that this registry does not hold.

#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "core/platform/SharedLock.h"

namespace common {

class BusyRegistry {
public:
    enum class Kind { Backup, Restore, Creation };

    void addCopy(int source, int target);
    void removeCopy(int source, int target); // the first equal pair
    bool isCopySource(int index) const;
    bool isCopyTarget(int index) const;

    void add(Kind kind, int index);
    // Adds the index unless the collection holds it already; false then.
    [[nodiscard]] bool tryAdd(Kind kind, int index);
    void remove(Kind kind, int index);
    bool contains(Kind kind, int index) const;
    // Whether any other collection holds the index (as source or target of a copy, for copies).
    bool busyBesides(Kind kind, int index) const;

    // The name of an index's shared lock; empty names (and no namer) take none.
    void setSharedLockNames(std::function<std::wstring(int index)> namer);
    std::wstring sharedLockName(int index) const;
    // The index's shared lock for the caller to hold, or null when another holder has it; a lock this
    // registry holds for a mark counts as held by another.
    std::unique_ptr<platform::SharedLock> tryTakeShared(int index) const;
    bool heldElsewhere(int index) const;
    // Whether this registry holds the index's shared lock for a mark.
    bool holdsShared(int index) const;

private:
    struct HeldShared {
        int marks = 0;
        std::unique_ptr<platform::SharedLock> lock; // null when another holder had it at the first mark
    };
    void holdShared(int index);
    void releaseShared(int index);

    struct IndexList {
        mutable std::mutex lock;
        std::multiset<int> indices;
    };
    IndexList& list(Kind kind);
    const IndexList& list(Kind kind) const;

    mutable std::mutex m_copiesLock;
    std::vector<std::pair<int, int>> m_copies;
    IndexList m_creations;
    IndexList m_backups;
    IndexList m_restores;
    std::function<std::wstring(int)> m_lockNamer; // set before any mark
    mutable std::mutex m_sharedLock;
    std::map<int, HeldShared> m_shared;
};

// Marks an index for its lifetime.
class BusyMark {
public:
    BusyMark(BusyRegistry& registry, BusyRegistry::Kind kind, int index)
        : m_registry(registry), m_kind(kind), m_index(index) {
        m_registry.add(kind, index);
    }
    ~BusyMark() { m_registry.remove(m_kind, m_index); }
    BusyMark(const BusyMark&) = delete;
    BusyMark& operator=(const BusyMark&) = delete;

private:
    BusyRegistry& m_registry;
    BusyRegistry::Kind m_kind;
    int m_index;
};

// Marks an index for its lifetime only when no mark of the same kind holds it yet; taken() says whether.
class ExclusiveBusyMark {
public:
    ExclusiveBusyMark(BusyRegistry& registry, BusyRegistry::Kind kind, int index)
        : m_registry(registry), m_kind(kind), m_index(index), m_taken(registry.tryAdd(kind, index)) {}
    ~ExclusiveBusyMark() {
        if (m_taken) m_registry.remove(m_kind, m_index);
    }
    ExclusiveBusyMark(const ExclusiveBusyMark&) = delete;
    ExclusiveBusyMark& operator=(const ExclusiveBusyMark&) = delete;
    bool taken() const { return m_taken; }

private:
    BusyRegistry& m_registry;
    BusyRegistry::Kind m_kind;
    int m_index;
    bool m_taken;
};

class CopyMark {
public:
    CopyMark(BusyRegistry& registry, int source, int target)
        : m_registry(registry), m_source(source), m_target(target) {
        m_registry.addCopy(source, target);
    }
    ~CopyMark() { m_registry.removeCopy(m_source, m_target); }
    CopyMark(const CopyMark&) = delete;
    CopyMark& operator=(const CopyMark&) = delete;

private:
    BusyRegistry& m_registry;
    int m_source;
    int m_target;
};

} // namespace common
