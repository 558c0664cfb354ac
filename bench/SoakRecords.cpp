#include "SoakRecords.h"

#include <algorithm>
#include <span>

namespace orvane::bench {

namespace {

constexpr size_t kSettingsBytes = 256;
constexpr size_t kEepromRecordBytes = 128;
// Every connection writes the exchange mark; it is the link's bookkeeping,
// not a record an exchange promises to write whole.
constexpr size_t kExchangeMarkAddress = 58629;

struct Span
{
    const std::vector<uint8_t> Memories::*memory;
    size_t start;
    size_t size;
};

std::vector<Span> records(const Memories &m)
{
    std::vector<Span> spans;
    for (size_t start = 0; start < m.internalNvm.size(); start += kSettingsBytes)
        spans.push_back({&Memories::internalNvm, start, kSettingsBytes});
    for (size_t start = 0; start < m.eeprom.size(); start += kEepromRecordBytes)
        spans.push_back({&Memories::eeprom, start, kEepromRecordBytes});
    return spans;
}

Memories withoutMark(Memories m)
{
    if (m.eeprom.size() > kExchangeMarkAddress)
        m.eeprom[kExchangeMarkAddress] = 0;
    return m;
}

std::span<const uint8_t> bytes(const Memories &m, const Span &s)
{
    const std::vector<uint8_t> &memory = m.*(s.memory);
    return std::span<const uint8_t>(memory).subspan(s.start, s.size);
}

bool same(std::span<const uint8_t> a, std::span<const uint8_t> b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end());
}

} // namespace

RecordCount &RecordCount::operator+=(const RecordCount &other)
{
    fresh += other.fresh;
    old += other.old;
    torn += other.torn;
    stray += other.stray;
    return *this;
}

RecordCount countRecords(const Memories &beforeWithMark,
                         const Memories &intendedWithMark,
                         const Memories &afterWithMark)
{
    const Memories before = withoutMark(beforeWithMark);
    const Memories intended = withoutMark(intendedWithMark);
    const Memories after = withoutMark(afterWithMark);
    RecordCount count;
    for (const Span &s : records(before)) {
        const auto was = bytes(before, s);
        const auto meant = bytes(intended, s);
        const auto is = bytes(after, s);
        if (same(was, meant)) {
            count.stray += same(is, was) ? 0 : 1;
            continue;
        }
        if (same(is, meant))
            ++count.fresh;
        else if (same(is, was))
            ++count.old;
        else
            ++count.torn;
    }
    return count;
}

} // namespace orvane::bench
