#pragma once

#include <cstdint>
#include <optional>
#include <vector>

// The decoded transfer: byte values 0 to 255 in the order the watch sent them.
using ByteArray = std::vector<std::uint8_t>;

// Bounds-checked reads from a transfer's byte array. An index outside the
// array reads as "no value", so a short or damaged transfer can never make a
// codec read memory that is not the array's. A view; the array must outlive it.
class ByteReader
{
public:
    explicit ByteReader(const ByteArray &bytes) : m_bytes(bytes) {}

    std::int64_t size() const { return static_cast<std::int64_t>(m_bytes.size()); }
    bool has(std::int64_t index) const { return index >= 0 && index < size(); }

    std::optional<int> byte(std::int64_t index) const
    {
        if (!has(index))
            return std::nullopt;
        return m_bytes[static_cast<std::size_t>(index)];
    }

    // Two decimal digits packed into the halves of a byte: 0x59 is 59. Halves
    // above 9 are not rejected (0x5A gives 60); the callers' range checks decide.
    static int decimalValue(int b) { return (b / 16) * 10 + (b % 16); }

    std::optional<int> decimal(std::int64_t index) const
    {
        const std::optional<int> b = byte(index);
        if (!b)
            return std::nullopt;
        return decimalValue(*b);
    }

    // Least significant byte first; 0 when byte index + 1 does not exist.
    int lsbMsbToInt(std::int64_t index) const
    {
        if (!has(index) || !has(index + 1))
            return 0;
        return m_bytes[static_cast<std::size_t>(index)]
               + 256 * m_bytes[static_cast<std::size_t>(index + 1)];
    }

private:
    const ByteArray &m_bytes;
};
