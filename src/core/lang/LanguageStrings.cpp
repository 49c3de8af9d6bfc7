#include "core/lang/LanguageStrings.h"

#include <mutex>

namespace common::lang {

namespace {

std::mutex g_mutex;
StringMap g_strings;

} // namespace

void setLanguageStrings(StringMap strings) {
    std::lock_guard lock(g_mutex);
    g_strings = std::move(strings);
}

std::optional<std::wstring> lookUp(std::wstring_view key) {
    std::lock_guard lock(g_mutex);
    const auto it = g_strings.find(std::wstring(key));
    if (it == g_strings.end()) return std::nullopt;
    return it->second;
}

std::wstring lookUpWithFallback(std::wstring_view key) {
    std::lock_guard lock(g_mutex);
    return g_strings.try_emplace(std::wstring(key), key).first->second;
}

} // namespace common::lang
