#pragma once
// The decisions start-up makes from numbers the system reports: whether to keep per-monitor DPI
// awareness, the display scale factor handed to the toolkit, the private font of a language's face, and
// the debug-language cycle. The Windows start-up (app/) asks the system and follows these answers.

#include <array>
#include <string_view>

namespace app {

// The name of the single-instance guard mutex, which is also the window class of the manager's endpoint.
inline constexpr std::wstring_view kSingleInstanceName = L"{6895BCDE-E04D-408E-A48D-76B379534489}";
inline constexpr std::wstring_view kManagerVersion = L"010502";
inline constexpr int kClientKind = 10;

// Per-monitor awareness stays unless the primary monitor is plain 96 DPI or beyond 192 DPI either way.
bool keepPerMonitorAwareness(int dpiX, int dpiY);
// Without Shcore: screens wider than this get the system-wide DPI awareness.
inline constexpr int kSystemAwareWidth = 2560;

// The toolkit's scale for a monitor of this height (pixels) and effective horizontal DPI (0 when unknown):
// monitors up to 1080 pixels high are never scaled; otherwise 2.0 or 1.5 by DPI, with 1.5 at most below 1440.
double displayScaleFactor(int monitorHeight, int dpiX);

struct PrivateFont {
    std::wstring_view file;      // below "fonts\"
    std::wstring_view logFormat; // the add's result line: ret, error
};
// "Noto Sans" and "NanumGothicOTFLight" have their own files; every other face uses Roboto.
PrivateFont privateFontFor(std::wstring_view faceName);

// The languages F9 cycles through when "debuglang.txt" exists.
inline constexpr std::array<std::wstring_view, 19> kDebugLanguages = {
    L"en_US", L"zh_TW", L"zh_CN", L"ko_KR", L"vi_VN", L"th_TH", L"in_ID", L"ja_JP", L"ru_RU", L"pt_PT",
    L"es_ES", L"ar_IL", L"tr_TR", L"fr_FR", L"de_DE", L"it_IT", L"fa_IR", L"ms_MY", L"uk_UA"};
// The position after `position` (-1 at start-up, so the first press gives 0, "en_US").
int nextDebugLanguagePosition(int position);

} // namespace app
