// Backup into a ".kvbk" archive and restore from one (or from a bare ".vdi" disk image).
//
// What is guaranteed about the user's data:
// - a backup only reads the instance; it packs into a temporary archive beside the target and replaces an
//   existing archive only when the archiver reported success, so a failed run never costs an older backup;
// - a restore from ".kvbk" unpacks into a temporary folder inside the instance folder; only when the
//   archiver succeeded are the instance's files replaced, each by one rename. A missing archiver, a corrupt
//   archive or a full disk therefore leave the data disk, the sdcard disk and the configuration as they were;
// - a restore from ".vdi" copies to a temporary file beside the data disk and renames it over the disk.
// The extension must be exactly ".kvbk" or ".vdi" (case matters); anything else only marks the instance
// busy and does nothing.

#include <system_error>

#include "core/files/Archiver.h"
#include "core/files/Directories.h"
#include "core/files/FileTree.h"
#include "core/files/FileUtils.h"
#include "core/files/Leftovers.h"
#include "core/log/Log.h"
#include "core/storage/Players.h"

namespace common {
namespace {

bool hasExtension(const std::filesystem::path& path, const char* extension) {
    return path.extension().native() == std::filesystem::path(extension).native();
}

void removeLogged(const std::filesystem::path& file, std::string_view function) {
    if (const auto ec = files::removeEntryOnly(file)) KVLOG_AS(function, L"fs::remove failed: %S", ec.message());
}

} // namespace

void Players::backup(int index, bool compress, const std::filesystem::path& archive) {
    BusyMark mark(m_busy, BusyRegistry::Kind::Backup, index);
    if (!hasExtension(archive, ".kvbk")) return;
    files::removeLeftoversOf(archive); // partial archives of a backup that was killed
    const bool vdi = usesVdi();
    const auto configCopy = instanceFolder(index) / "vantor.config";
    files::copy_overwrite(configPath(index), configCopy);
    std::vector<std::filesystem::path> list{dataDiskPath(index, vdi), configCopy};
    std::error_code ec;
    if (std::filesystem::exists(sdcardDiskPath(index, vdi), ec))
        list = {dataDiskPath(index, vdi), sdcardDiskPath(index, vdi), configCopy};
    else if (ec)
        KVLOG(L"fs::exists failed: %S", ec.message());

    const auto partial = files::temporarySibling(archive, "part");
    int exitCode = -1;
    const bool ran = files::archiveFiles(compress, list, partial, {}, &exitCode);
    if (ran && exitCode == 0) {
        std::filesystem::rename(partial, archive, ec);
        if (ec) KVLOG(L"replace %s failed: %S", archive, ec.message());
    } else {
        KVLOG(L"backup of player %d into %s failed (exit code %d): an existing archive is kept", index, archive,
              exitCode);
    }
    if (const auto error = files::removeEntryOnly(partial)) KVLOG(L"fs::remove failed: %S", error.message());
    removeLogged(configCopy, "common::Players::backup");
}

void Players::restore(int index, const std::filesystem::path& archive) {
    BusyMark mark(m_busy, BusyRegistry::Kind::Restore, index);
    // What a killed restore left: its unpack folder and partial copies.
    files::removeLeftoversIn(instanceFolder(index));
    files::removeLeftoversOf(configPath(index));
    if (hasExtension(archive, ".vdi")) {
        const auto disk = dataDiskPath(index, usesVdi()); // a ".vdi" image overwrites "data.vmdk" on other lines
        common::create_directories(disk.parent_path());
        if (!files::copyReplacing(archive, disk))
            KVLOG(L"Copy File Failed from = %s, to = %s, the data disk is unchanged", archive, disk);
    } else if (hasExtension(archive, ".kvbk")) {
        restoreFromArchive(index, archive);
    }
}

bool Players::restoreFromArchive(int index, const std::filesystem::path& archive) {
    const auto unpacked = files::temporarySibling(instanceFolder(index) / "restore", "unpack");
    if (!common::create_directories(unpacked)) return false;
    int exitCode = -1;
    const bool ran = files::extractFiles(archive, unpacked, {}, &exitCode);
    bool replaced = false;
    if (ran && exitCode == 0)
        replaced = replaceFromFolder(index, unpacked);
    else
        KVLOG(L"restore of player %d from %s failed (exit code %d): its files are unchanged", index, archive, exitCode);
    if (const auto ec = files::removeTree(unpacked)) KVLOG(L"fs::remove_all failed: %S", ec.message());
    return replaced;
}

// Moves every unpacked file into the instance folder, the configuration copy to the configuration path; an
// archive without an sdcard disk leaves the instance without one, as before the backup.
bool Players::replaceFromFolder(int index, const std::filesystem::path& unpacked) {
    const bool vdi = usesVdi();
    std::vector<std::filesystem::path> found;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(unpacked, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code typeError;
        if (it->is_regular_file(typeError)) found.push_back(it->path());
    }
    if (ec || found.empty()) {
        KVLOG(L"restore of player %d: the archive held no files, nothing replaced", index);
        return false;
    }
    bool hadSdcard = false;
    for (const auto& file : found) {
        if (file.filename() == "vantor.config") {
            if (!files::copyReplacing(file, configPath(index))) KVLOG(L"restore of the configuration failed");
            continue;
        }
        const auto target = instanceFolder(index) / file.filename();
        hadSdcard = hadSdcard || target == sdcardDiskPath(index, vdi);
        std::filesystem::rename(file, target, ec);
        if (ec) KVLOG(L"replace %s failed: %S", target, ec.message());
    }
    if (!hadSdcard && files::fileExists(sdcardDiskPath(index, vdi)))
        removeLogged(sdcardDiskPath(index, vdi), "common::Players::restore");
    return true;
}

} // namespace common
