#pragma once
// The folder walks of a list, shared between two threads: a thread of their own starts on them at once, and
// the caller, once its own work is done, takes the folders still left before it waits for the rest. Each
// walk is folderBytesAndEntry of one folder; the results come in the order of the folders.
//
// Walks never write: the two threads only read the file system. When no thread can be started, the caller
// walks every folder itself.

#include <atomic>
#include <filesystem>
#include <thread>
#include <vector>

#include "core/files/FileTree.h"

namespace common::files {

class FolderWalks {
public:
    FolderWalks(std::vector<std::filesystem::path> folders, std::filesystem::path name);
    ~FolderWalks();
    FolderWalks(const FolderWalks&) = delete;
    FolderWalks& operator=(const FolderWalks&) = delete;

    // Walks what is left on the calling thread, waits for the other and hands over every result.
    std::vector<TreeFacts> results();

private:
    void walkLeft();

    const std::vector<std::filesystem::path> m_folders;
    const std::filesystem::path m_name;
    std::vector<TreeFacts> m_facts; // each written by the thread that claimed its folder
    std::atomic<std::size_t> m_next{0};
    std::thread m_thread;
};

} // namespace common::files
