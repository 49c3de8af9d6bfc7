#include "core/storage/LaunchText.h"

namespace common {

std::wstring playerParameterText(int index, std::wstring_view extraParameters) {
    std::wstring text = L"index=" + std::to_wstring(index) + L"|";
    text += extraParameters;
    return text;
}

std::wstring processCommandLine(const std::filesystem::path& executable, std::wstring_view parameters) {
    std::wstring line = L"\"";
    line += executable.wstring();
    line += L"\"";
    if (!parameters.empty()) {
        line += L" ";
        line += parameters;
    }
    return line;
}

} // namespace common
