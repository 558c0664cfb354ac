#pragma once

#include "config/SettingsImage.h"
#include "platform/Check.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <type_traits>

namespace orvane {

// The parts of the tables that files and transfers carry.
inline constexpr int kConfigurations = 16; // configurations 1..16
inline constexpr int kConfigBytes = 128;   // bytes 0..127 of each
inline constexpr int kIntNvmBytes = 256;   // IntNvm bytes 0..255
inline constexpr int kCurves = 32;         // curves 1..32
inline constexpr int kCurvePoints = 32;    // points 1..32 of each

// An index outside a table is a programming error: the check reports it and
// the access falls back to a cell no file or transfer carries (configuration
// 0, IntNvm byte 256, curve 0), so nothing the user keeps is touched.

// Display configuration table: 17 configuration columns (0..16) by 129 byte
// rows (0..128), element (c, n) at flat index c + 17 * n so that byte n of all
// configurations lies together, as the instrument's own tables do.
class CdcTable
{
public:
    static constexpr int kColumns = 17;
    static constexpr int kRows = 129;
    static constexpr int kSize = kColumns * kRows;

    static constexpr int flatIndex(int c, int n)
    {
        ORVANE_CHECK(c >= 0 && c < kColumns && n >= 0 && n < kRows, return 0);
        return c + kColumns * n;
    }

    uint8_t &operator()(int c, int n) { return m_bytes[size_t(flatIndex(c, n))]; }
    uint8_t operator()(int c, int n) const { return m_bytes[size_t(flatIndex(c, n))]; }

    uint8_t &flat(int index) { return m_bytes[checkedFlat(index)]; }
    uint8_t flat(int index) const { return m_bytes[checkedFlat(index)]; }

    // 16-bit values are stored high byte first.
    uint16_t word(int c, int n) const { return uint16_t((*this)(c, n) << 8 | (*this)(c, n + 1)); }
    void setWord(int c, int n, uint16_t v)
    {
        (*this)(c, n) = uint8_t(v >> 8);
        (*this)(c, n + 1) = uint8_t(v & 0xFF);
    }

    // Exclusive-or of bytes 1..127 of configuration c: its check byte.
    uint8_t checkByte(int c) const
    {
        uint8_t x = 0;
        for (int n = 1; n <= 127; ++n)
            x ^= (*this)(c, n);
        return x;
    }

    bool operator==(const CdcTable &) const = default;

private:
    static size_t checkedFlat(int index)
    {
        ORVANE_CHECK(index >= 0 && index < kSize, return 0);
        return size_t(index);
    }
    std::array<uint8_t, kSize> m_bytes{};
};

// Image of the instrument's internal settings memory, indices 0..256 of which
// 0..255 mirror the instrument.
class IntNvmTable
{
public:
    static constexpr int kSize = 257;

    uint8_t &operator[](int i) { return m_bytes[checked(i)]; }
    uint8_t operator[](int i) const { return m_bytes[checked(i)]; }

    uint16_t word(int i) const { return uint16_t((*this)[i] << 8 | (*this)[i + 1]); }
    void setWord(int i, uint16_t v)
    {
        (*this)[i] = uint8_t(v >> 8);
        (*this)[i + 1] = uint8_t(v & 0xFF);
    }

    // Exclusive-or of bytes 1..255: the check byte kept in byte 0.
    uint8_t checkByte() const
    {
        return settingsCheckByte(
            std::span<const uint8_t, kSettingsSize>(m_bytes.data(), kSettingsSize));
    }

    bool operator==(const IntNvmTable &) const = default;

private:
    static constexpr size_t kUnusedIndex = 256;
    static size_t checked(int i)
    {
        ORVANE_CHECK(i >= 0 && i < kSize, return kUnusedIndex);
        return size_t(i);
    }
    std::array<uint8_t, kSize> m_bytes{};
};

// Sender calibration curves: curve 0..32 (the sender type code) by point
// 0..32 by column 0..2; column 1 is ohms, column 2 the reading times ten.
class CalCurveTable
{
public:
    static constexpr int kCurves = 33;
    static constexpr int kPoints = 33;
    static constexpr int kColumns = 3;

    float &operator()(int curve, int point, int column)
    {
        return m_values[index(curve, point, column)];
    }
    float operator()(int curve, int point, int column) const
    {
        return m_values[index(curve, point, column)];
    }

    bool operator==(const CalCurveTable &) const = default;

private:
    static size_t index(int curve, int point, int column)
    {
        ORVANE_CHECK(curve >= 0 && curve < kCurves && point >= 0 && point < kPoints && column >= 0
                         && column < kColumns,
                     return 0);
        return size_t((curve * kPoints + point) * kColumns + column);
    }
    std::array<float, kCurves * kPoints * kColumns> m_values{};
};

// Everything the instrument stores, as the editor holds it.
struct ConfigImage
{
    CdcTable CDC;
    IntNvmTable IntNvm;
    CalCurveTable CalCurve;

    bool operator==(const ConfigImage &) const = default;
};

// Bit for bit, so that a curve point that is not a number equals itself.
// Table by table: the padding between them holds no value.
template<class Table>
bool sameTableBits(const Table &a, const Table &b)
{
    static_assert(std::is_trivially_copyable_v<Table>);
    return std::memcmp(&a, &b, sizeof(Table)) == 0;
}

inline bool sameBits(const ConfigImage &a, const ConfigImage &b)
{
    return sameTableBits(a.CDC, b.CDC) && sameTableBits(a.IntNvm, b.IntNvm)
           && sameTableBits(a.CalCurve, b.CalCurve);
}

} // namespace orvane
