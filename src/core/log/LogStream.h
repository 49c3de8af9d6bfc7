#pragma once
// One log line being assembled: header, message, line end, over a fixed buffer of 10240 bytes.
//
// The line end always fits: text that would crowd it out is cut, at a character boundary.

#include <cstddef>
#include <string_view>

#include "core/platform/Os.h"

namespace common {

class LogStream {
public:
    static constexpr std::size_t kCapacity = 10240;

    // "%02d-%02d\t%02d:%02d:%02d.%03d\t%04d\t%s\t(%d):" of the local time, thread, function and line.
    void writeHeader(const platform::LocalTime& time, std::uint32_t threadId, std::string_view function, int line);
    void writeUtf8(std::wstring_view message);
    // Appends the carriage return and line feed; the stream is then complete and takes no more text.
    void finish();

    std::string_view text() const { return {m_buf, m_len}; }
    bool empty() const { return m_len == 0; }

private:
    static constexpr std::size_t kLineEnd = 2;
    std::size_t room() const { return m_finished ? 0 : kCapacity - kLineEnd - m_len; }
    void putDigits(std::uint32_t value, int minDigits);
    void put(char c);
    void put(std::string_view s);

    char m_buf[kCapacity];
    std::size_t m_len = 0;
    bool m_finished = false;
};

} // namespace common
