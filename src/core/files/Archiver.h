#pragma once
// Packing files into a 7z archive and unpacking one, through the archiver "7za.exe" beside the program
// (natively, any 7-Zip with the same command line). The archiver runs hidden; its progress comes back on a
// pipe as " 37%" chunks.
//
// The archiver reads the null device as its input and is stopped after kArchiverIdleTimeout without output,
// so it never waits for good: an encrypted archive (7-Zip asks for a password) fails with a log line.
//
// Paths go into the archiver's command line in double quotes. A path that cannot be passed safely (a double
// quote, a control character, a wildcard, a relative path, a trailing separator) is refused with a log line
// and the archiver is not started: nothing the user names can split or add arguments.

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace common::files {

using ArchiveProgress = std::function<void(double fraction)>;

// The archiver to run: "7za.exe" in the program's folder unless set (tests and benchmarks set 7zz).
void setArchiverProgram(std::filesystem::path program);
std::filesystem::path archiverProgram();

// Progress comes every few seconds even on the largest disks; this long without a line means it hangs.
inline constexpr std::chrono::milliseconds kArchiverIdleTimeout = std::chrono::minutes(10);
void setArchiverIdleTimeout(std::chrono::milliseconds timeout); // tests shorten it

bool safeForCommandLine(const std::filesystem::path& path);

// `DIR\7za.exe a -mx=1 -t7z -bsp2 "ARCHIVE"  -i!"FILE" ...` (-mx=0 without compression) and
// `DIR\7za.exe e -bsp2 -y "ARCHIVE" -o"FOLDER"`; nothing when a path is refused.
std::optional<std::wstring> packCommandLine(const std::filesystem::path& archiver, bool compress,
                                            const std::vector<std::filesystem::path>& files,
                                            const std::filesystem::path& archive);
std::optional<std::wstring> unpackCommandLine(const std::filesystem::path& archiver,
                                              const std::filesystem::path& archive,
                                              const std::filesystem::path& folder);

// A chunk that starts (after blanks) with a number and "%": that number / 100.
std::optional<double> scanProgress(std::string_view chunk);

// True when the archiver ran and its output pipe closed normally, and it neither asked for a password nor
// was stopped for silence; its exit code goes to `exitCode` when given (-1 when it never ran). Callers that
// must know the archiver succeeded check the exit code too.
[[nodiscard]] bool archiveFiles(bool compress, const std::vector<std::filesystem::path>& files, const std::filesystem::path& archive,
                  const ArchiveProgress& progress, int* exitCode = nullptr);
[[nodiscard]] bool extractFiles(const std::filesystem::path& archive, const std::filesystem::path& folder,
                  const ArchiveProgress& progress, int* exitCode = nullptr);

} // namespace common::files
