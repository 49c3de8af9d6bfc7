#pragma once
// The system clipboard as the controls see it: one text in, one text out. The Win32 host gives its window the
// real one (Clipboard_win); headless windows share an in-memory clipboard.
//
// Reading an empty or unavailable clipboard gives an empty text; a failed write is logged by the host's
// implementation and otherwise ignored, as a user would see it: nothing was copied.

#include <string>
#include <string_view>

namespace ui {

class Clipboard {
public:
    virtual ~Clipboard() = default;
    virtual std::wstring text() const = 0;
    virtual void setText(std::wstring_view text) = 0;
};

class MemoryClipboard final : public Clipboard {
public:
    std::wstring text() const override { return m_text; }
    void setText(std::wstring_view text) override { m_text = text; }

private:
    std::wstring m_text;
};

} // namespace ui
