#pragma once
// What an instance row shows for its data, kept apart from the controls so every rule can be checked alone:
// the look of each status, the disk size text, the highlighted name and the version label.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "toolkit/Color.h"

namespace mainui {

// Row-only states above the model's own (0 to 6 and 11).
enum RowStatus : std::int32_t {
    kRowDownloading = 7,
    kRowInstalling = 8,
    kRowWaitingForInstall = 9,
    kRowDownloadFailed = 10,
    kRowCopyFailed = 12,
};

// Which of the row's controls may be used in a status.
enum class RowEnabled { Both, NameOnly, None };

struct StatusLook {
    std::wstring_view textKey;
    std::optional<ui::Argb> color; // none: the skin's colour
    RowEnabled enabled = RowEnabled::Both;
    bool info = false; // infoLayout and the version
    bool startBtn = false;
    bool moreBtn = false;
    bool progress = false;
    bool installBtn = false;
    bool stopDownloadBtn = false;
    bool spaceAndStartLayout = true; // spaceAfterStatus and startBtnLayout
    bool running = false;            // the start button shows "shut down"
    bool clearSelection = false;
    int statusWidth = 70;
};

// Any status the table does not know looks stopped.
StatusLook statusLook(int status);

// Below 1 GiB in whole megabytes ("1024MB"), from 1 GiB on in gigabytes with one decimal ("1.0GB").
std::wstring diskSizeText(std::uint64_t bytes);

// The first occurrence of `search` in `name` wrapped in the toolkit's colour markup; the plain name when the
// search is empty or absent from the name (case-sensitive).
std::wstring highlightedName(std::wstring_view name, std::wstring_view search);

// The version label of a row by the high byte of its instance id.
std::wstring_view versionLabel(std::uint8_t productByte);

} // namespace mainui
