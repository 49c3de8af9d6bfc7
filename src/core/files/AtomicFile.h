#pragma once
// Replacing a file so that neither a crash nor a power cut leaves half a file: the bytes go to a temporary
// file beside the target, are flushed to the disk, and the temporary file then replaces the target in one
// rename. Every writer that replaces a file's whole content goes through replaceFileAtomically.

#include <filesystem>
#include <functional>
#include <string_view>

namespace common::files {

// Writes the temporary file; false when it could not be written completely.
using FillTemporary = std::function<bool(const std::filesystem::path& temporary)>;

// `fill` writes a temporary sibling of `target` whose name carries `tag` ("tmp", "part"); its bytes are
// flushed to the disk and it then replaces `target`. False (target untouched, temporary removed) when any
// step fails.
[[nodiscard]] bool replaceFileAtomically(const std::filesystem::path& target, const char* tag,
                                         const FillTemporary& fill);

// The whole content of `target` becomes `bytes`.
[[nodiscard]] bool writeFileAtomically(const std::filesystem::path& target, std::string_view bytes);

// A temporary name beside `target` that no other caller in this process gets: "<name>.<tag><thread>-<n>".
std::filesystem::path temporarySibling(const std::filesystem::path& target, const char* tag);

// The flush that the rename waits for; tests put in one that fails. Returns the one it replaces.
using FlushToDisk = bool (*)(const std::filesystem::path&);
FlushToDisk replaceFlushForTesting(FlushToDisk flush);

} // namespace common::files
