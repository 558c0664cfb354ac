#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The protocol core of the virtual Orvane: it is fed the bytes the editor
// writes and returns the bytes it answers. Timing belongs to whoever carries
// the bytes (the in-process test transport or the pseudo-terminal of
// orvane-sim); an answer only says how long the instrument itself dawdles.

namespace orvane::sim {

// Named failure modes, one knob each.
struct FaultSettings
{
    bool noAnswer = false;              // never answers anything
    bool blankIdentity = false;         // identity reads as 255 255 255 255
    bool corruptFirstNvmRead = false;   // first 256-byte internal NVM read has a wrong check byte
    std::optional<int> echoesStopAfter; // echo this many data bytes, then fall silent
    double echoDelaySeconds = 0;        // each echo leaves this late
};

struct Answer
{
    std::vector<uint8_t> bytes;
    double delaySeconds = 0; // extra delay before the first byte leaves
};

class Instrument
{
public:
    static constexpr int kInternalNvmSize = 512;
    static constexpr int kEepromSize = 65536;
    static constexpr int kIramSize = 256;
    static constexpr int kXramSize = 32768;
    static constexpr int kFlashSize = 32768;

    Instrument();

    Answer feed(uint8_t byte);

    FaultSettings &faults() { return m_faults; }

    std::array<uint8_t, kInternalNvmSize> &internalNvm() { return m_internalNvm; }
    std::array<uint8_t, kEepromSize> &eeprom() { return m_eeprom; }
    std::array<uint8_t, kIramSize> &iram() { return m_iram; }
    std::array<uint8_t, kXramSize> &xram() { return m_xram; }
    std::array<uint8_t, kFlashSize> &flash() { return m_flash; }

    void setProductCode(uint8_t code);
    // Serial number bytes: year, month, day, unit of the day.
    void setSerial(uint8_t year, uint8_t month, uint8_t day, uint8_t unit);

    bool inCommandMode() const;
    // One line per frame served, oldest first.
    const std::vector<std::string> &frameLog() const { return m_frameLog; }

    // Saves and loads every memory; false with a reason on failure.
    bool saveState(const std::string &path, std::string *error) const;
    bool loadState(const std::string &path, std::string *error);

private:
    // Implementation detail; the .cpp file owns the link state machine.
    FaultSettings m_faults;
    std::array<uint8_t, kInternalNvmSize> m_internalNvm{};
    std::array<uint8_t, kEepromSize> m_eeprom{};
    std::array<uint8_t, kIramSize> m_iram{};
    std::array<uint8_t, kXramSize> m_xram{};
    std::array<uint8_t, kFlashSize> m_flash{};
    std::vector<std::string> m_frameLog;
};

} // namespace orvane::sim
