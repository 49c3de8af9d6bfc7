#pragma once
// The system clipboard's Unicode text (CF_UNICODETEXT), opened for the host's window.
//
// The clipboard is shared by every program: opening it can fail while another one holds it, and what it holds
// may have any length. Failures are logged and give an empty text or leave the clipboard as it was.

#include <windows.h>

#include "toolkit/Clipboard.h"

namespace ui::win32 {

class Win32Clipboard final : public Clipboard {
public:
    explicit Win32Clipboard(HWND owner) : m_owner(owner) {}
    std::wstring text() const override;
    void setText(std::wstring_view text) override;

private:
    HWND m_owner;
};

} // namespace ui::win32
