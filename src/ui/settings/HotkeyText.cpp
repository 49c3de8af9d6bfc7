#include "ui/settings/HotkeyText.h"

#include <utility>
#include <vector>

#include "core/lang/LanguageStrings.h"

namespace settingsui {

namespace {

// Built once, on first use: the space key's name is a language text.
const std::vector<std::pair<std::uint16_t, std::wstring>>& keyNames() {
    static const auto table = [] {
        std::vector<std::pair<std::uint16_t, std::wstring>> t = {
            {9, L"Tab"},
            {13, L"Enter"},
            {27, L"Esc"},
            {20, L"Caps"},
            {32, common::lang::lookUpWithFallback(L"space_key_name")},
            {33, L"PageUp"},
            {34, L"PageDown"},
            {35, L"End"},
            {36, L"Home"},
            {37, L"\u2190"},
            {38, L"\u2191"},
            {39, L"\u2192"},
            {40, L"\u2193"},
            {45, L"Insert"},
            {46, L"Delete"},
        };
        for (std::uint16_t i = 0; i < 10; ++i) t.emplace_back(96 + i, L"Num" + std::to_wstring(i));
        t.insert(t.end(), {{106, L"*"}, {107, L"+"}, {109, L"-"}, {110, L"."}, {111, L"/"}});
        for (std::uint16_t i = 0; i < 12; ++i) t.emplace_back(112 + i, L"F" + std::to_wstring(i + 1));
        t.insert(t.end(), {{16, L"Shift"},
                           {17, L"Ctrl"},
                           {18, L"Alt"},
                           {186, L";"},
                           {187, L"+"},
                           {188, L","},
                           {189, L"-"},
                           {190, L"."},
                           {191, L"/"},
                           {192, L"~"},
                           {219, L"["},
                           {220, L"\\"},
                           {221, L"]"},
                           {222, L"'"}});
        return t;
    }();
    return table;
}

bool aloneAllowed(std::uint16_t key) {
    return key == 27 || key == 33 || key == 34 || (key >= 112 && key <= 123);
}

bool isModifierKey(std::uint16_t key) {
    // Shift, Ctrl, Alt, their left and right twins, and the Windows keys.
    return (key >= 16 && key <= 18) || (key >= 0xA0 && key <= 0xA5) || key == 0x5B || key == 0x5C;
}

} // namespace

std::optional<common::CombineKey> captureHotkey(std::uint16_t virtualKey, int modifiers) {
    modifiers &= kModAlt | kModCtrl | kModShift;
    if (virtualKey == 0 || isModifierKey(virtualKey)) return std::nullopt;
    if (modifiers == 0 && virtualKey == 9) return std::nullopt;
    if (modifiers == 0 && (virtualKey == 8 || virtualKey == 46)) return common::CombineKey{};
    return common::CombineKey{modifiers, virtualKey};
}

std::wstring keyName(std::uint16_t virtualKey) {
    if ((virtualKey >= '0' && virtualKey <= '9') || (virtualKey >= 'A' && virtualKey <= 'Z'))
        return std::wstring(1, static_cast<wchar_t>(virtualKey));
    for (const auto& [code, name] : keyNames())
        if (code == virtualKey) return name;
    return {};
}

std::wstring hotkeyText(common::CombineKey combination) {
    std::wstring text;
    if (combination.modifiers & kModCtrl) text += L"Ctrl + ";
    if (combination.modifiers & kModShift) text += L"Shift + ";
    if (combination.modifiers & kModAlt) text += L"Alt + ";
    return text + keyName(combination.key);
}

bool hotkeyValid(std::wstring_view editName, common::CombineKey combination) {
    const bool withModifier = combination.modifiers != 0 && combination.key != 0;
    if (editName == L"bosskey") return withModifier;
    return withModifier || aloneAllowed(combination.key);
}

std::wstring hotkeyDisplayText(std::wstring_view editName, common::CombineKey combination) {
    std::wstring text = hotkeyText(combination);
    if (!hotkeyValid(editName, combination) || keyName(combination.key).empty())
        text += common::lang::lookUpWithFallback(L"invalid_postfix");
    return text;
}

} // namespace settingsui
