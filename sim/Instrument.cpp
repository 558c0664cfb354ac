#include "sim/Instrument.h"

// Placeholder until the protocol core lands: answers nothing.
namespace orvane::sim {
Instrument::Instrument() = default;
Answer Instrument::feed(uint8_t) { return {}; }
void Instrument::setProductCode(uint8_t code) { m_eeprom[7232] = code; }
void Instrument::setSerial(uint8_t y, uint8_t m, uint8_t d, uint8_t u)
{
    m_internalNvm[12] = y; m_internalNvm[13] = m; m_internalNvm[14] = d; m_internalNvm[15] = u;
}
bool Instrument::inCommandMode() const { return false; }
bool Instrument::saveState(const std::string &, std::string *) const { return false; }
bool Instrument::loadState(const std::string &, std::string *) { return false; }
} // namespace orvane::sim
