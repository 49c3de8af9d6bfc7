#pragma once
// Replacing several files as one: either every target holds its new file afterwards, or every target is as
// it was. The new files are staged beforehand on the same volume as their targets, so the swap itself is
// only renames: each existing target is moved aside, each staged file moved in, and on the first failure
// everything moved so far goes back. The old files are deleted only once every new one is in place.
//
// A crash in the middle leaves the old files beside their targets under a ".old" name; nothing is lost. The
// leftover clean-up (Leftovers.h) at the next start of the operation puts each back whose target is missing
// and removes each whose target holds its new file.

#include <filesystem>
#include <functional>
#include <vector>

namespace common::files {

// How a swap moves one file (a rename that never replaces: its target is free). Tests install one that
// fails the n-th move; empty restores the plain rename.
using FileMover = std::function<bool(const std::filesystem::path& from, const std::filesystem::path& to)>;
void setFileMover(FileMover mover);

class FileSwap {
public:
    // `staged` replaces `target`; an empty `staged` means the target is to be gone afterwards.
    void replace(std::filesystem::path target, std::filesystem::path staged);
    // True when every target now holds its staged file; false (logged) when every target is as before.
    [[nodiscard]] bool commit();

private:
    struct Item {
        std::filesystem::path target;
        std::filesystem::path staged;
        std::filesystem::path aside; // where the old target waits; empty when there was none
        bool movedIn = false;
    };
    void rollBack(const FileMover& move);

    std::vector<Item> m_items;
};

} // namespace common::files
