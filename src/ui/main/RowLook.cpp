#include "ui/main/RowLook.h"

#include <cmath>
#include <cstdio>

namespace mainui {

namespace {

constexpr ui::Argb kGrey = 0xFFBFBFC3;
constexpr ui::Argb kGreen = 0xFF2EE5A8;
constexpr ui::Argb kYellow = 0xFFFFDD00;
constexpr ui::Argb kRed = 0xFFFF8686;

StatusLook stopped(bool running) {
    StatusLook look{running ? L"multis_player_running" : L"multis_player_not_running", running ? kGreen : kGrey};
    look.info = look.startBtn = look.moreBtn = true;
    look.running = running;
    return look;
}

StatusLook busy(std::wstring_view key, std::optional<ui::Argb> color, RowEnabled enabled) {
    StatusLook look{key, color, enabled};
    return look;
}

} // namespace

StatusLook statusLook(int status) {
    StatusLook look;
    switch (status) {
    case 1:
    case 2:
        return stopped(true);
    case 3:
        look = busy(L"multis_player_copying", kYellow, RowEnabled::NameOnly);
        look.progress = look.clearSelection = true;
        return look;
    case 4:
        look = busy(L"multis_player_creating", kYellow, RowEnabled::NameOnly);
        look.progress = true;
        return look;
    case 5:
    case 6:
        look = busy(status == 5 ? L"multiplay_backuping" : L"multiplay_restoring", std::nullopt, RowEnabled::Both);
        look.info = true;
        return look;
    case kRowDownloading:
        look = busy(L"multis_player_downloading", kYellow, RowEnabled::None);
        look.progress = look.stopDownloadBtn = true;
        return look;
    case kRowInstalling:
        look = busy(L"multis_player_installing", kYellow, RowEnabled::None);
        look.progress = true;
        return look;
    case kRowWaitingForInstall:
        look = busy(L"multis_player_waiting_for_install", std::nullopt, RowEnabled::None);
        look.installBtn = true;
        return look;
    case kRowDownloadFailed:
        look = busy(L"multis_player_download_failed", kRed, RowEnabled::None);
        look.installBtn = true;
        return look;
    case 11:
        look = busy(L"multis_player_being_copyied", std::nullopt, RowEnabled::NameOnly);
        look.info = look.clearSelection = true;
        look.spaceAndStartLayout = false;
        look.statusWidth = 126;
        return look;
    case kRowCopyFailed:
        look = busy(L"multis_player_copy_failed", kRed, RowEnabled::None);
        look.stopDownloadBtn = look.clearSelection = true;
        look.spaceAndStartLayout = false;
        look.statusWidth = 126;
        return look;
    default:
        return stopped(false);
    }
}

std::wstring diskSizeText(std::uint64_t bytes) {
    constexpr std::uint64_t kGiB = 1ull << 30;
    wchar_t text[64];
    if (bytes < kGiB) {
        const auto mb = static_cast<unsigned long long>(std::llround(static_cast<double>(bytes) / (1 << 20)));
        std::swprintf(text, std::size(text), L"%lluMB", mb);
    } else {
        std::swprintf(text, std::size(text), L"%.1fGB", static_cast<double>(bytes) / static_cast<double>(kGiB));
    }
    return text;
}

std::wstring highlightedName(std::wstring_view name, std::wstring_view search) {
    const std::size_t at = search.empty() ? std::wstring_view::npos : name.find(search);
    if (at == std::wstring_view::npos) return std::wstring(name);
    std::wstring out(name.substr(0, at));
    out += L"<c ffdd00>";
    out += search;
    out += L"</c>";
    out += name.substr(at + search.size());
    return out;
}

std::wstring_view versionLabel(std::uint8_t productByte) {
    switch (productByte) {
    case 0:
        return L"7";
    case 1:
        return L"7.1(64)";
    case 3:
        return L"5.1(32)";
    case 5:
        return L"9";
    default:
        return L"14";
    }
}

} // namespace mainui
