#include "toolkit/win32/Clipboard_win.h"

#include <algorithm>
#include <cstring>

#include "platform/win32/system/Win32Check_win.h"

namespace ui::win32 {

std::wstring Win32Clipboard::text() const {
    if (!IsClipboardFormatAvailable(CF_UNICODETEXT) || !KV_WIN32_CHECK(OpenClipboard(m_owner))) return {};
    std::wstring out;
    HANDLE data = GetClipboardData(CF_UNICODETEXT);
    if (const auto* chars = data ? static_cast<const wchar_t*>(GlobalLock(data)) : nullptr) {
        // Up to the terminator, but never past the block: another program wrote it.
        const std::size_t capacity = GlobalSize(data) / sizeof(wchar_t);
        out.assign(chars, std::find(chars, chars + capacity, L'\0'));
        GlobalUnlock(data);
    }
    CloseClipboard();
    return out;
}

void Win32Clipboard::setText(std::wstring_view text) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
    if (!KV_WIN32_CHECK(block)) return;
    auto* chars = static_cast<wchar_t*>(GlobalLock(block));
    if (!KV_WIN32_CHECK(chars)) {
        GlobalFree(block);
        return;
    }
    std::memcpy(chars, text.data(), text.size() * sizeof(wchar_t));
    chars[text.size()] = L'\0';
    GlobalUnlock(block);
    if (!KV_WIN32_CHECK(OpenClipboard(m_owner))) {
        GlobalFree(block);
        return;
    }
    // Once set, the block belongs to the system.
    if (!KV_WIN32_CHECK(EmptyClipboard() && SetClipboardData(CF_UNICODETEXT, block))) GlobalFree(block);
    CloseClipboard();
}

} // namespace ui::win32
