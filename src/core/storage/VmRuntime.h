#pragma once
// The VM runtime that the emulator's instances run in: where its folder is, and the identifier under which
// each instance's virtual machine is registered there. Removing an instance unregisters that machine so the
// runtime does not keep a stale one.

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace common {

// The first existing of "<system drive>Program Files/kvplayer9box" and the program folder's
// "KvBox\win.amd64\" (64-bit processors) or "KvBox\win.x86\"; the first when neither exists.
std::filesystem::path chooseVmRuntimeFolder(const std::filesystem::path& driveRoot,
                                            const std::filesystem::path& programFolder, bool processor64);
// The same for this process and machine, decided once on first use.
const std::filesystem::path& vmRuntimeFolder();

// The JS hash of the folder text (with its trailing separator) after lower-casing, 15 bits of it: the
// identifiers stay the same when only the letter case of the folder changes.
std::uint32_t programFolderHash(std::wstring_view folderWithSeparator);
// "{20160302-bbbb-bbbb-HHHH-0000IIIIIIII}": folder hash and index in lower-case hexadecimal.
std::wstring vmUuidFor(std::wstring_view folderWithSeparator, int index);
// The same for this program's folder.
std::wstring vmUuid(int index);

} // namespace common
