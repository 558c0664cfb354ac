#include "transfer/RawCopy.h"

#include <array>
#include <charconv>
#include <cstdio>
#include <map>
#include <optional>
#include <span>

namespace orvane {

namespace {

constexpr std::string_view kCrLf = "\r\n";
constexpr std::string_view kSerialKey = "Serial number: ";
constexpr std::string_view kTakenKey = "Taken: ";
constexpr std::string_view kChangesKey = "Next upload changed: ";
constexpr std::string_view kNvm = "NVM";
constexpr std::string_view kEeprom = "EEPROM";
constexpr size_t kBytesPerLine = 16;
constexpr int kMaxAddress = 65535;

std::string hex(int value, int digits)
{
    char text[8];
    std::snprintf(text, sizeof text, "%0*X", digits, unsigned(value));
    return text;
}

void addBytes(std::string &out,
              std::string_view memory,
              int address,
              std::span<const uint8_t> bytes)
{
    for (size_t at = 0; at < bytes.size(); at += kBytesPerLine) {
        out += std::string(memory) + " " + hex(address + int(at), 4) + ":";
        for (size_t k = at; k < std::min(at + kBytesPerLine, bytes.size()); ++k)
            out += " " + hex(bytes[k], 2);
        out += kCrLf;
    }
}

std::optional<int> hexValue(std::string_view text)
{
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
    if (error != std::errc() || end != text.data() + text.size() || text.empty())
        return std::nullopt;
    return value;
}

// The bytes the file holds, by memory and address.
struct Memories
{
    std::map<int, uint8_t> nvm;
    std::map<int, uint8_t> eeprom;
};

// "NVM 00F0: 12 34 ..." into the memories; an empty text when it fits,
// otherwise what is wrong with it.
std::string readDataLine(std::string_view line, Memories &memories)
{
    const size_t blank = line.find(' ');
    const size_t colon = line.find(':');
    if (blank == std::string_view::npos || colon == std::string_view::npos || colon < blank)
        return "neither a header nor a data line";
    const std::string_view memory = line.substr(0, blank);
    std::map<int, uint8_t> *target = memory == kNvm      ? &memories.nvm
                                     : memory == kEeprom ? &memories.eeprom
                                                         : nullptr;
    if (!target)
        return "unknown memory \"" + std::string(memory) + "\"";
    const std::optional<int> address = hexValue(line.substr(blank + 1, colon - blank - 1));
    if (!address || *address > kMaxAddress)
        return "not a hexadecimal address";
    int at = *address;
    std::string_view rest = line.substr(colon + 1);
    while (!rest.empty()) {
        const size_t start = rest.find_first_not_of(' ');
        if (start == std::string_view::npos)
            break;
        rest = rest.substr(start);
        const size_t end = std::min(rest.find(' '), rest.size());
        const std::optional<int> value = hexValue(rest.substr(0, end));
        if (!value || *value > 255)
            return "\"" + std::string(rest.substr(0, end)) + "\" is not a hexadecimal byte";
        if (at > kMaxAddress)
            return "bytes run past the end of the memory";
        (*target)[at++] = uint8_t(*value);
        rest = rest.substr(end);
    }
    return {};
}

// The N bytes at `address`, when the file holds every one of them.
template<size_t N>
bool take(const std::map<int, uint8_t> &memory, int address, std::array<uint8_t, N> &bytes)
{
    for (size_t k = 0; k < N; ++k) {
        const auto found = memory.find(address + int(k));
        if (found == memory.end())
            return false;
        bytes[k] = found->second;
    }
    return true;
}

} // namespace

std::string rawCopyText(const RawCopy &copy)
{
    std::string out;
    out += std::string(kRawCopyTitle) + std::string(kCrLf);
    out += std::string(kSerialKey) + copy.serial + std::string(kCrLf);
    out += std::string(kTakenKey) + copy.taken + std::string(kCrLf);
    out += std::string(kChangesKey) + copy.changes + std::string(kCrLf);
    const InstrumentSnapshot &s = copy.snapshot;
    addBytes(out, kNvm, 0, s.settings);
    if (s.hasConfigurations)
        for (int c = 1; c <= kConfigurations; ++c)
            addBytes(out, kEeprom, configRecordAddress(c), s.configurations[size_t(c - 1)]);
    if (s.hasCurves)
        for (int i = 0; i < kUploadedCurveCount; ++i)
            addBytes(out,
                     kEeprom,
                     curveRecordAddress(kUploadedCurves[size_t(i)]),
                     s.curves[size_t(i)]);
    return out;
}

Result<RawCopy> readRawCopyText(std::string_view text)
{
    RawCopy copy;
    Memories memories;
    int lineNumber = 0;
    while (!text.empty()) {
        const size_t end = std::min(text.find('\n'), text.size());
        std::string_view line = text.substr(0, end);
        text = text.substr(std::min(end + 1, text.size()));
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        ++lineNumber;
        if (lineNumber == 1) {
            if (line != kRawCopyTitle)
                return failure("Line 1 is not \"" + std::string(kRawCopyTitle)
                               + "\": this is not a raw copy of a unit.");
            continue;
        }
        if (line.empty())
            continue;
        if (line.starts_with(kSerialKey))
            copy.serial = line.substr(kSerialKey.size());
        else if (line.starts_with(kTakenKey))
            copy.taken = line.substr(kTakenKey.size());
        else if (line.starts_with(kChangesKey))
            copy.changes = line.substr(kChangesKey.size());
        else if (const std::string wrong = readDataLine(line, memories); !wrong.empty())
            return failure("Line " + std::to_string(lineNumber) + ": " + wrong + ".");
    }

    InstrumentSnapshot &s = copy.snapshot;
    if (!take(memories.nvm, 0, s.settings))
        return failure("The raw copy does not hold all 256 settings bytes.");
    s.hasConfigurations = true;
    for (int c = 1; c <= kConfigurations; ++c)
        s.hasConfigurations
            = s.hasConfigurations
              && take(memories.eeprom, configRecordAddress(c), s.configurations[size_t(c - 1)]);
    s.hasCurves = true;
    for (int i = 0; i < kUploadedCurveCount; ++i)
        s.hasCurves = s.hasCurves
                      && take(memories.eeprom,
                              curveRecordAddress(kUploadedCurves[size_t(i)]),
                              s.curves[size_t(i)]);
    if (!s.hasConfigurations)
        s.configurations = {};
    if (!s.hasCurves)
        s.curves = {};
    return copy;
}

} // namespace orvane
