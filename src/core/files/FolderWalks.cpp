#include "core/files/FolderWalks.h"

#include <system_error>

#include "core/log/Log.h"

namespace common::files {

FolderWalks::FolderWalks(std::vector<std::filesystem::path> folders, std::filesystem::path name)
    : m_folders(std::move(folders)), m_name(std::move(name)), m_facts(m_folders.size()) {
    try {
        m_thread = std::thread([this] { walkLeft(); });
    } catch (const std::system_error& e) {
        KVLOG(L"folder walks stay on one thread: %S", e.what());
    }
}

FolderWalks::~FolderWalks() {
    if (m_thread.joinable()) m_thread.join();
}

void FolderWalks::walkLeft() {
    for (std::size_t i = m_next++; i < m_folders.size(); i = m_next++)
        m_facts[i] = treeBytesAndEntry(m_folders[i], m_name);
}

std::vector<TreeFacts> FolderWalks::results() {
    walkLeft();
    if (m_thread.joinable()) m_thread.join();
    return std::move(m_facts);
}

} // namespace common::files
