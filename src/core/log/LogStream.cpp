#include "core/log/LogStream.h"

#include <algorithm>

#include "core/text/Utf.h"

namespace common {

void LogStream::put(char c) {
    if (room() > 0) m_buf[m_len++] = c;
}

void LogStream::put(std::string_view s) {
    const std::size_t n = std::min(s.size(), room());
    std::copy_n(s.data(), n, m_buf + m_len);
    m_len += n;
}

void LogStream::putDigits(std::uint32_t value, int minDigits) {
    char digits[10];
    int n = 0;
    do {
        digits[n++] = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value != 0);
    while (n < minDigits) digits[n++] = '0';
    while (n > 0) put(digits[--n]);
}

void LogStream::writeHeader(const platform::LocalTime& t, std::uint32_t threadId, std::string_view function, int line) {
    // Hand-written for speed; equal to the printf format in the header comment.
    putDigits(static_cast<std::uint32_t>(t.month), 2);
    put('-');
    putDigits(static_cast<std::uint32_t>(t.day), 2);
    put('\t');
    putDigits(static_cast<std::uint32_t>(t.hour), 2);
    put(':');
    putDigits(static_cast<std::uint32_t>(t.minute), 2);
    put(':');
    putDigits(static_cast<std::uint32_t>(t.second), 2);
    put('.');
    putDigits(static_cast<std::uint32_t>(t.millisecond), 3);
    put('\t');
    putDigits(threadId, 4);
    put('\t');
    put(function);
    put("\t(");
    if (line < 0) {
        put('-');
        putDigits(0u - static_cast<std::uint32_t>(line), 1);
    } else {
        putDigits(static_cast<std::uint32_t>(line), 1);
    }
    put("):");
}

void LogStream::writeUtf8(std::wstring_view message) {
    m_len += text::appendUtf8(m_buf + m_len, room(), message);
}

void LogStream::finish() {
    if (m_finished) return;
    m_finished = true;
    m_buf[m_len++] = '\r';
    m_buf[m_len++] = '\n';
}

} // namespace common
