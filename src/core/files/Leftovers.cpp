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
bool isTemporarySuffix(std::wstring_view suffix) {
    static constexpr std::array<std::wstring_view, 3> kTags{L"part", L"tmp", L"unpack"};
    for (const auto tag : kTags) {
        if (!suffix.starts_with(tag)) continue;
        const auto numbers = suffix.substr(tag.size());
        const auto dash = numbers.find(L'-');
        if (dash != std::wstring_view::npos && allDigits(numbers.substr(0, dash)) &&
            allDigits(numbers.substr(dash + 1)))
            return true;
    }
    return false;
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
    for (const auto& path : found) removeLeftover(path);
}

} // namespace

bool isLeftoverName(const std::filesystem::path& name) {
    const std::wstring text = name.wstring();
    const auto dot = text.rfind(L'.');
    return dot != std::wstring::npos && dot > 0 && isTemporarySuffix(std::wstring_view(text).substr(dot + 1));
}

void removeLeftoversIn(const std::filesystem::path& folder) {
    removeMatching(folder, [](const std::wstring& name) { return isLeftoverName(name); });
}

void removeLeftoversOf(const std::filesystem::path& target) {
    const std::wstring prefix = target.filename().wstring() + L".";
    removeMatching(target.parent_path(), [&](const std::wstring& name) {
        return name.size() > prefix.size() && name.starts_with(prefix) && isTemporarySuffix(name.substr(prefix.size()));
    });
}

} // namespace common::files
