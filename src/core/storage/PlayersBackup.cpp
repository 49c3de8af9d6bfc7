// Backup into a ".kvbk" archive and restore from one (or from a bare ".vdi" disk image).
//
// What is guaranteed about the user's data:
// - a backup only reads the instance; it packs into a temporary archive beside the target and replaces an
//   existing archive only when the archiver reported success, so a failed run never costs an older backup;
// - a restore never touches an instance that runs or that another operation has marked busy;
// - a restore is all or nothing: the archive is unpacked into a temporary folder inside the instance folder
//   and its configuration copied beside the configuration file; only when the archiver succeeded and the
//   archive holds a data disk and a configuration are the data disk, the sdcard disk and the configuration
//   swapped in together (FileSwap). A missing archiver, a corrupt or foreign archive, a full disk or a file
//   that cannot be replaced leave the instance wholly as it was; otherwise it is wholly the restored one,
//   without an sdcard when the archive had none. Entry names are matched as Windows matches file names,
//   without regard to case; entries that are no part of an instance are left out;
// - a restore from ".vdi" copies to a temporary file beside the data disk and renames it over the disk.
// The extension must be exactly ".kvbk" or ".vdi" (case matters); anything else does nothing.

#include <system_error>

#include "core/files/Archiver.h"
#include "core/files/AtomicFile.h"
#include "core/files/Directories.h"
#include "core/files/FileRoutines.h"
#include "core/files/FileSwap.h"
#include "core/files/FileTree.h"
#include "core/files/Files.h"
#include "core/files/Leftovers.h"
#include "core/log/Log.h"
#include "core/storage/Players.h"
#include "core/text/Utf.h"

namespace common {
namespace {

bool hasExtension(const std::filesystem::path& path, const char* extension) {
    return path.extension().native() == std::filesystem::path(extension).native();
}

// File names as Windows compares them; the names looked for are ASCII.
bool sameFileName(const std::filesystem::path& entry, std::wstring_view wanted) {
#ifdef _WIN32
    const std::wstring name = entry.filename().native();
#else
    const std::wstring name = text::fromUtf8(entry.filename().native());
#endif
    if (name.size() != wanted.size()) return false;
    for (std::size_t i = 0; i < name.size(); ++i) {
        const auto lower = [](wchar_t c) { return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c; };
        if (lower(name[i]) != lower(wanted[i])) return false;
    }
    return true;
}

void removeLogged(const std::filesystem::path& file, std::string_view function) {
    if (const auto ec = files::removeEntryOnly(file)) KVLOG_AS(function, L"fs::remove failed: %S", ec.message());
}

} // namespace

bool Players::backup(int index, bool compress, const std::filesystem::path& archive,
                     const files::ArchiveProgress& progress) {
    BusyMark mark(m_busy, BusyRegistry::Kind::Backup, index);
    if (m_busy.heldElsewhere(index)) {
        KVLOG(L"backup of player %d refused: another program works on it", index);
        return false;
    }
    if (!hasExtension(archive, ".kvbk")) return false;
    files::removeLeftoversOf(archive); // partial archives of a backup that was killed
    const bool vdi = usesVdi();
    const auto configCopy = instanceFolder(index) / "vantor.config";
    // A failed copy is logged; the archive then lacks its configuration, and a restore refuses such an archive.
    (void)files::copy_overwrite(configPath(index), configCopy);
    std::vector<std::filesystem::path> list{dataDiskPath(index, vdi), configCopy};
    std::error_code ec;
    if (std::filesystem::exists(sdcardDiskPath(index, vdi), ec))
        list = {dataDiskPath(index, vdi), sdcardDiskPath(index, vdi), configCopy};
    else if (ec)
        KVLOG(L"fs::exists failed: %S", ec.message());

    const auto partial = files::temporarySibling(archive, "part");
    int exitCode = -1;
    const bool ran = files::archiveFiles(compress, list, partial, progress, &exitCode);
    bool saved = false;
    if (ran && exitCode == 0) {
        std::filesystem::rename(partial, archive, ec);
        if (ec) KVLOG(L"replace %s failed: %S", archive, ec.message());
        saved = !ec;
    } else {
        KVLOG(L"backup of player %d into %s failed (exit code %d): an existing archive is kept", index, archive,
              exitCode);
    }
    if (const auto error = files::removeEntryOnly(partial)) KVLOG(L"fs::remove failed: %S", error.message());
    removeLogged(configCopy, "common::Players::backup");
    return saved;
}

bool Players::restore(int index, const std::filesystem::path& archive, const files::ArchiveProgress& progress) {
    ExclusiveBusyMark mark(m_busy, BusyRegistry::Kind::Restore, index);
    if (!mark.taken() || m_busy.busyBesides(BusyRegistry::Kind::Restore, index) || m_busy.heldElsewhere(index) ||
        isPlayerRunning(index)) {
        KVLOG(L"restore of player %d refused: it runs or is busy", index);
        return false;
    }
    // What a killed restore left: a swap half done (undone or finished first, while its staged files still
    // exist), its unpack folder and partial copies.
    files::recoverSwap(swapJournal(index));
    files::removeLeftoversIn(instanceFolder(index));
    files::removeLeftoversOf(configPath(index));
    if (hasExtension(archive, ".vdi")) {
        const auto disk = dataDiskPath(index, usesVdi()); // a ".vdi" image overwrites "data.vmdk" on other lines
        common::create_directories(disk.parent_path());
        if (files::copyReplacing(archive, disk)) return true;
        KVLOG(L"Copy File Failed from = %s, to = %s, the data disk is unchanged", archive, disk);
        return false;
    }
    return hasExtension(archive, ".kvbk") && restoreFromArchive(index, archive, progress);
}

bool Players::restoreFromArchive(int index, const std::filesystem::path& archive,
                                 const files::ArchiveProgress& progress) {
    const auto unpacked = files::temporarySibling(instanceFolder(index) / "restore", "unpack");
    if (!common::create_directories(unpacked)) return false;
    int exitCode = -1;
    const bool ran = files::extractFiles(archive, unpacked, progress, &exitCode);
    bool replaced = false;
    if (ran && exitCode == 0)
        replaced = replaceFromFolder(index, unpacked);
    else
        KVLOG(L"restore of player %d from %s failed (exit code %d): its files are unchanged", index, archive, exitCode);
    if (const auto ec = files::removeTree(unpacked)) KVLOG(L"fs::remove_all failed: %S", ec.message());
    return replaced;
}

// Swaps the unpacked data disk, sdcard disk (or none) and configuration in for the instance's own, together.
bool Players::replaceFromFolder(int index, const std::filesystem::path& unpacked) {
    const bool vdi = usesVdi();
    const std::wstring dataName = dataDiskPath(index, vdi).filename().wstring();
    const std::wstring sdcardName = sdcardDiskPath(index, vdi).filename().wstring();
    std::filesystem::path data, sdcard, config;
    bool ambiguous = false;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(unpacked, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code typeError;
        if (!it->is_regular_file(typeError)) continue;
        const auto& file = it->path();
        std::filesystem::path* slot = sameFileName(file, dataName)           ? &data
                                      : sameFileName(file, sdcardName)       ? &sdcard
                                      : sameFileName(file, L"vantor.config") ? &config
                                                                             : nullptr;
        if (!slot) {
            KVLOG(L"restore of player %d: the entry %s is no part of an instance, left out", index, file.filename());
            continue;
        }
        ambiguous = ambiguous || !slot->empty(); // two entries that differ only in case
        *slot = file;
    }
    if (ec || ambiguous || data.empty() || config.empty()) {
        KVLOG(L"restore of player %d: the archive is not a backup of one instance, its files are unchanged", index);
        return false;
    }
    // Staged beside the configuration file, so that the swap is renames only.
    const auto stagedConfig = files::temporarySibling(configPath(index), "restore");
    bool swapped = false;
    if (utility::ufile::copyFileByStream(config, stagedConfig)) {
        files::FileSwap swap(swapJournal(index));
        swap.replace(dataDiskPath(index, vdi), data);
        swap.replace(sdcardDiskPath(index, vdi), sdcard); // none in the archive: none afterwards
        swap.replace(configPath(index), stagedConfig);
        swapped = swap.commit();
    }
    if (!swapped) {
        KVLOG(L"restore of player %d: its files could not be replaced and are unchanged", index);
        removeLogged(stagedConfig, "common::Players::restore");
    }
    return swapped;
}

} // namespace common
