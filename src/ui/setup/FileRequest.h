#pragma once
// What a window asks of the system's file dialogs: the file type to offer, where to start and the name to
// propose. The dialogs themselves belong to the host (the common dialogs on Windows, a script in tests), so
// the windows that ask stay portable.

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

namespace setupui {

struct FileRequest {
    std::wstring filterText;       // what the type list shows, "Instance backup(*.kvbk)"
    std::wstring pattern;          // "*.kvbk", several joined with ';'
    std::wstring defaultExtension; // added to a typed name without one (save only); no dot
    std::filesystem::path folder;  // where the dialog starts; empty: the system's own choice
    std::wstring fileName;         // the proposed name (save only)
};

// The chosen file, or none when the user cancelled.
using FileChooser = std::function<std::optional<std::filesystem::path>(const FileRequest&)>;

} // namespace setupui
