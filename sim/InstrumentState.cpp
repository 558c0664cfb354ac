#include "sim/Instrument.h"

#include "sim/StateFile.h"

#include <algorithm>

// The instrument's memories in a state file.

namespace orvane::sim {

namespace {

template<size_t N>
StateSection section(const char *tag, const std::array<uint8_t, N> &memory)
{
    return {tag, std::vector<uint8_t>(memory.begin(), memory.end())};
}

constexpr size_t kRegistersSize = 4; // exchange mark, clock set, hours, minutes

} // namespace

bool Instrument::saveState(const std::string &path, std::string *error) const
{
    const std::vector<StateSection> sections = {
        section("INVM", m_internalNvm),
        section("EEPR", m_eeprom),
        section("IRAM", m_iram),
        section("XRAM", m_xram),
        section("FLSH", m_flash),
        {"REGS",
         {m_exchangeMark,
          static_cast<uint8_t>(m_clock.set ? 1 : 0),
          m_clock.hours,
          m_clock.minutes}},
    };
    return writeFileBytes(path, encodeState(sections), error);
}

bool Instrument::loadState(const std::string &path, std::string *error)
{
    const auto file = readFileBytes(path, kStateFileLimit, error);
    if (!file)
        return false;
    const auto sections = decodeState(*file, error);
    if (!sections)
        return false;
    // Every section is checked before anything is taken, so a refused file
    // leaves the instrument as it was.
    const StateSection *nvm = findSection(*sections, "INVM", m_internalNvm.size(), error);
    const StateSection *eeprom
        = nvm ? findSection(*sections, "EEPR", m_eeprom.size(), error) : nullptr;
    const StateSection *iram
        = eeprom ? findSection(*sections, "IRAM", m_iram.size(), error) : nullptr;
    const StateSection *xram
        = iram ? findSection(*sections, "XRAM", m_xram.size(), error) : nullptr;
    const StateSection *flash
        = xram ? findSection(*sections, "FLSH", m_flash.size(), error) : nullptr;
    const StateSection *registers
        = flash ? findSection(*sections, "REGS", kRegistersSize, error) : nullptr;
    if (!registers)
        return false;
    std::copy(nvm->bytes.begin(), nvm->bytes.end(), m_internalNvm.begin());
    std::copy(eeprom->bytes.begin(), eeprom->bytes.end(), m_eeprom.begin());
    std::copy(iram->bytes.begin(), iram->bytes.end(), m_iram.begin());
    std::copy(xram->bytes.begin(), xram->bytes.end(), m_xram.begin());
    std::copy(flash->bytes.begin(), flash->bytes.end(), m_flash.begin());
    m_exchangeMark = registers->bytes[0];
    m_clock = {registers->bytes[1] != 0, registers->bytes[2], registers->bytes[3]};
    restartLink();
    log("state loaded from " + path + ": link idle");
    return true;
}

} // namespace orvane::sim
