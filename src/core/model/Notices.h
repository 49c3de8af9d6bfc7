#pragma once
// How the model tells the user something: a message box over the main window with one button, whose
// closing does nothing further. The model passes texts already looked up in the language table.
//
// Until the main window shows them, `RecordingNotices` keeps what would have been shown.

#include <string>
#include <vector>

namespace model {

class Notices {
public:
    virtual ~Notices() = default;
    virtual void showMessage(const std::wstring& title, const std::wstring& text) = 0;
};

struct Notice {
    std::wstring title;
    std::wstring text;
    bool operator==(const Notice&) const = default;
};

class RecordingNotices final : public Notices {
public:
    void showMessage(const std::wstring& title, const std::wstring& text) override { m_shown.push_back({title, text}); }
    const std::vector<Notice>& shown() const { return m_shown; }

private:
    std::vector<Notice> m_shown;
};

} // namespace model
