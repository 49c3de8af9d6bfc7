#pragma once
// Bounds-checked little-endian reads over bytes held in memory, for the parsers of file formats.
//
// Every read names an offset and says whether the bytes were there: a parser never indexes raw memory with
// an offset or length it found in a file. Sums of offsets and sizes are checked for overflow.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace common::formats {

class ByteView {
public:
    ByteView() = default;
    explicit ByteView(std::string_view bytes) : m_bytes(bytes) {}

    std::size_t size() const { return m_bytes.size(); }
    std::string_view bytes() const { return m_bytes; }

    // Whether [offset, offset + count) lies inside the bytes.
    bool has(std::uint64_t offset, std::uint64_t count) const {
        return offset <= m_bytes.size() && count <= m_bytes.size() - offset;
    }
    // The bytes [offset, offset + count), or nothing when they are not all there.
    std::optional<std::string_view> slice(std::uint64_t offset, std::uint64_t count) const {
        if (!has(offset, count)) return std::nullopt;
        return m_bytes.substr(static_cast<std::size_t>(offset), static_cast<std::size_t>(count));
    }
    ByteView sub(std::uint64_t offset, std::uint64_t count) const {
        const auto s = slice(offset, count);
        return s ? ByteView(*s) : ByteView();
    }

    // Everything from `offset` on (empty past the end).
    ByteView tail(std::uint64_t offset) const {
        return offset <= m_bytes.size() ? ByteView(m_bytes.substr(static_cast<std::size_t>(offset))) : ByteView();
    }

    std::optional<std::uint8_t> u8(std::uint64_t offset) const { return read<std::uint8_t>(offset); }
    std::optional<std::uint16_t> u16(std::uint64_t offset) const { return read<std::uint16_t>(offset); }
    std::optional<std::uint32_t> u32(std::uint64_t offset) const { return read<std::uint32_t>(offset); }
    std::optional<std::uint64_t> u64(std::uint64_t offset) const { return read<std::uint64_t>(offset); }

private:
    template <class T>
    std::optional<T> read(std::uint64_t offset) const {
        if (!has(offset, sizeof(T))) return std::nullopt;
        T value = 0;
        for (std::size_t i = 0; i < sizeof(T); ++i) {
            value |= static_cast<T>(static_cast<T>(static_cast<unsigned char>(m_bytes[offset + i])) << (8 * i));
        }
        return value;
    }

    std::string_view m_bytes;
};

} // namespace common::formats
