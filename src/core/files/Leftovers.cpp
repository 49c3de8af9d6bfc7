#include "core/files/Leftovers.h"

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "core/files/FileTree.h"
#include "core/log/Log.h"
#include "core/platform/FileTree.h"

namespace common::files {
namespace {

bool allDigits(std::wstring_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](wchar_t c) { return c >= L'0' && c <= L'9'; });
}

// "<tag><digits>-<digits>"
bool hasTaggedSuffix(std::wstring_view suffix, std::wstring_view tag) {
    if (!suffix.starts_with(tag)) return false;
    const auto numbers = suffix.substr(tag.size());
    const auto dash = numbers.find(L'-');
    return dash != std::wstring_view::npos && allDigits(numbers.substr(0, dash)) && allDigits(numbers.substr(dash + 1));
}

bool isTemporarySuffix(std::wstring_view suffix) {
    static constexpr std::array<std::wstring_view, 4> kTags{L"part", L"tmp", L"unpack", L"restore"};
    return std::any_of(kTags.begin(), kTags.end(), [&](std::wstring_view tag) { return hasTaggedSuffix(suffix, tag); });
}

// An old file a swap moved aside ("data.vmdk.old123-4").
bool isAsideSuffix(std::wstring_view suffix) {
    return hasTaggedSuffix(suffix, L"old");
}

void removeLeftover(const std::filesystem::path& path) {
    platform::files::EntryKind kind = platform::files::EntryKind::File;
    if (platform::files::entryKind(path, kind)) return; // gone meanwhile
    const auto error = kind == platform::files::EntryKind::Folder ? removeTree(path) : removeEntryOnly(path);
    if (error)
        KVLOG(L"leftover %s could not be removed: %S", path, error.message());
    else
        KVLOG(L"removed leftover %s", path);
}

// A swap that was killed left this old file beside its target. When the target is missing, the swap had not
// yet moved a new file in (or was about to put the old one back): the old file goes back, so nothing the user
// had is lost. When the target is there, the swap had moved its new file in, and the old one is removed.
void recoverAside(const std::filesystem::path& aside) {
    platform::files::EntryKind kind = platform::files::EntryKind::File;
    if (platform::files::entryKind(aside, kind) || kind != platform::files::EntryKind::File) return;
    const std::wstring name = aside.filename().wstring();
    const auto target = aside.parent_path() / name.substr(0, name.rfind(L'.'));
    const auto error = platform::files::entryKind(target, kind);
    if (!error) return removeLeftover(aside);
    if (error != std::errc::no_such_file_or_directory) {
        KVLOG(L"%s is left as it is: %s cannot be read: %S", aside, target, error.message());
        return;
    }
    std::error_code ec;
    std::filesystem::rename(aside, target, ec);
    if (ec)
        KVLOG(L"%s could not be put back as %s: %S", aside, target, ec.message());
    else
        KVLOG(L"put back %s from %s", target, aside);
}

bool isAsideName(std::wstring_view name) {
    const auto dot = name.rfind(L'.');
    return dot != std::wstring_view::npos && dot > 0 && isAsideSuffix(name.substr(dot + 1));
}

void cleanUp(const std::filesystem::path& path) {
    if (isAsideName(path.filename().wstring()))
        recoverAside(path);
    else
        removeLeftover(path);
}

// Names are read without classifying every entry (a settings folder holds hundreds); each match is then
// removed by our walk, which checks what it is. A folder that is itself a link is not looked into.
template <typename Matches>
void removeMatching(const std::filesystem::path& folder, Matches matches) {
    platform::files::EntryKind kind = platform::files::EntryKind::File;
    if (platform::files::entryKind(folder, kind) || kind != platform::files::EntryKind::Folder) return;
    std::vector<std::filesystem::path> found;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
        if (matches(it->path().filename().wstring())) found.push_back(it->path());
    for (const auto& path : found) cleanUp(path);
}

} // namespace

bool isLeftoverName(const std::filesystem::path& name) {
    const std::wstring text = name.wstring();
    const auto dot = text.rfind(L'.');
    return dot != std::wstring::npos && dot > 0 && isTemporarySuffix(std::wstring_view(text).substr(dot + 1));
}

void removeLeftoversIn(const std::filesystem::path& folder) {
    removeMatching(folder, [](const std::wstring& name) { return isLeftoverName(name) || isAsideName(name); });
}

void removeLeftoversOf(const std::filesystem::path& target) {
    const std::wstring prefix = target.filename().wstring() + L".";
    removeMatching(target.parent_path(), [&](const std::wstring& name) {
        if (name.size() <= prefix.size() || !name.starts_with(prefix)) return false;
        const std::wstring_view suffix = std::wstring_view(name).substr(prefix.size());
        return isTemporarySuffix(suffix) || isAsideSuffix(suffix);
    });
}

} // namespace common::files
