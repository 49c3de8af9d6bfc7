#include "core/app/StartupRules.h"

namespace app {

bool keepPerMonitorAwareness(int dpiX, int dpiY) {
    if (dpiX == 96 && dpiY == 96) return false;
    return dpiX <= 192 && dpiY <= 192;
}

double displayScaleFactor(int monitorHeight, int dpiX) {
    if (monitorHeight < 1081) return 1.0;
    const double ratio = static_cast<double>(dpiX) / 96.0;
    if (ratio >= 2.0) return monitorHeight < 1440 ? 1.5 : 2.0;
    if (ratio >= 1.5) return 1.5;
    return 1.0;
}

PrivateFont privateFontFor(std::wstring_view faceName) {
    if (faceName == L"Noto Sans") return {L"NotoSans-Regular.otf", L"load Noto Sans fonts ret:%d  error:%d"};
    if (faceName == L"NanumGothicOTFLight")
        return {L"NanumGothicLight.otf", L"load NanumGothic.otf fonts ret:%d  error:%d"};
    return {L"Roboto-Regular.otf", L"load Roboto fonts ret: %d  error:%d"};
}

int nextDebugLanguagePosition(int position) {
    const int next = position + 1;
    if (next < 0 || next >= static_cast<int>(kDebugLanguages.size())) return 0;
    return next;
}

} // namespace app
