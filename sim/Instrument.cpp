#include "sim/Instrument.h"

#include "sim/FactoryImage.h"
#include "sim/StartupRam.h"

namespace orvane::sim {

namespace {
constexpr uint8_t kPresenceByte = 61;  // "="
constexpr uint8_t kResyncByte = 35;    // "#"
constexpr uint8_t kResyncAnswer = 64;  // "@"
constexpr uint8_t kNmeaStartByte = 63; // "?"
} // namespace

Instrument::Instrument()
{
    factory::fillInternalNvm(m_internalNvm);
    factory::fillEeprom(m_eeprom, m_internalNvm);
    factory::fillFlash(m_flash, kVersionBlockAddress);
    startRam();
}

Answer Instrument::feed(uint8_t byte)
{
    // An instrument that never answers is one that is not there at all.
    if (m_faults.noAnswer)
        return {};
    switch (m_mode) {
    case LinkMode::Idle:
        return feedIdle(byte);
    case LinkMode::Command:
        return feedCommand(byte);
    case LinkMode::FrameHeader:
        return feedHeader(byte);
    case LinkMode::WriteData:
        return feedWriteData(byte);
    case LinkMode::MarkData:
        return feedMarkData(byte);
    case LinkMode::Nmea:
        return feedNmea(byte);
    case LinkMode::Isp:
        return {};
    }
    return {};
}

Answer Instrument::countResync(uint8_t byte)
{
    if (byte != kResyncByte) {
        m_resyncCount = 0;
        return {};
    }
    if (++m_resyncCount < kResyncLength)
        return {};
    m_resyncCount = 0;
    m_mode = LinkMode::Command;
    log("resynchronised: command mode");
    return {{kResyncAnswer}};
}

Answer Instrument::feedIdle(uint8_t byte)
{
    if (byte == kPresenceByte) {
        m_resyncCount = 0;
        log("presence probe");
        return {{kPresenceByte}};
    }
    return countResync(byte);
}

Answer Instrument::feedCommand(uint8_t byte)
{
    if (byte == command::kStart) {
        m_resyncCount = 0;
        m_header.clear();
        m_mode = LinkMode::FrameHeader;
        return {};
    }
    if (byte == kNmeaStartByte) {
        m_resyncCount = 0;
        m_mode = LinkMode::Nmea;
        log("live NMEA stream");
        return {};
    }
    return countResync(byte);
}

Answer Instrument::feedNmea(uint8_t byte)
{
    if (byte == command::kStart)
        return feedCommand(byte);
    if (const auto character = m_nmea.next(byte)) {
        m_resyncCount = 0;
        return {{*character}};
    }
    return countResync(byte);
}

Answer Instrument::feedHeader(uint8_t byte)
{
    const std::optional<Frame> frame = m_header.add(byte);
    if (!frame)
        return {};
    m_mode = LinkMode::Command;
    return execute(*frame);
}

Answer Instrument::feedWriteData(uint8_t byte)
{
    if (!space(m_writeTarget).write(m_writeAddress, byte))
        log(std::string("write beyond the end of ") + memoryName(m_writeTarget) + " @"
            + std::to_string(m_writeAddress) + " dropped");
    ++m_writeAddress;
    if (--m_writeRemaining == 0)
        m_mode = LinkMode::Command;
    if (m_faults.echoesStopAfter && m_echoesSent >= *m_faults.echoesStopAfter) {
        if (!m_echoesWithheldLogged)
            log("  echoes withheld from here (echoes-stop-after fault: "
                + std::to_string(*m_faults.echoesStopAfter) + " sent)");
        m_echoesWithheldLogged = true;
        return {};
    }
    ++m_echoesSent;
    return {{byte}, m_faults.echoDelaySeconds};
}

Answer Instrument::feedMarkData(uint8_t byte)
{
    if (m_markAddress == kExchangeMarkAddress)
        m_exchangeMark = byte;
    log("exchange mark " + std::to_string(byte) + " @" + std::to_string(m_markAddress));
    ++m_markAddress;
    if (--m_markRemaining == 0)
        m_mode = LinkMode::Command;
    return {};
}

void Instrument::setProductCode(uint8_t code)
{
    m_eeprom[kProductCodeAddress] = code;
}

void Instrument::setSerial(uint8_t year, uint8_t month, uint8_t day, uint8_t unit)
{
    m_internalNvm[kSerialNumberAddress] = year;
    m_internalNvm[kSerialNumberAddress + 1] = month;
    m_internalNvm[kSerialNumberAddress + 2] = day;
    m_internalNvm[kSerialNumberAddress + 3] = unit;
    refreshNvmCheckByte();
}

void Instrument::setFirmwareVersion(uint8_t version)
{
    m_internalNvm[kFirmwareVersionAddress] = version;
    refreshNvmCheckByte();
}

void Instrument::setHardwareVersions(const HardwareVersions &versions)
{
    m_flash[kVersionBlockAddress] = versions.hardware;
    for (size_t i = 0; i < versions.modules.size(); ++i)
        m_flash[kVersionBlockAddress + 1 + i] = versions.modules[i];
}

HardwareVersions Instrument::hardwareVersions() const
{
    HardwareVersions versions;
    versions.hardware = m_flash[kVersionBlockAddress];
    for (size_t i = 0; i < versions.modules.size(); ++i)
        versions.modules[i] = m_flash[kVersionBlockAddress + 1 + i];
    return versions;
}

void Instrument::refreshNvmCheckByte()
{
    m_internalNvm[0]
        = factory::checkByte(std::span<const uint8_t>(m_internalNvm).first(factory::kSettingsSize));
}

bool Instrument::inCommandMode() const
{
    return m_mode != LinkMode::Idle && m_mode != LinkMode::Isp;
}

void Instrument::restartLink()
{
    m_mode = LinkMode::Idle;
    m_resyncCount = 0;
    m_header.clear();
    m_writeRemaining = 0;
    m_markRemaining = 0;
    m_nmea.restart();
    m_firstNvmReadServed = false;
    m_echoesSent = 0;
}

void Instrument::powerCycle(const std::string &cause)
{
    restartLink();
    startRam();
    log("power cycle" + (cause.empty() ? std::string() : " (" + cause + ")")
        + ": RAM restarted, link idle");
}

void Instrument::startRam()
{
    startup::fillIram(m_iram, m_internalNvm);
    startup::fillXram(m_xram, m_internalNvm, m_eeprom);
}

void Instrument::clearRam()
{
    m_iram.fill(0);
    m_xram.fill(0);
}

void Instrument::log(std::string line)
{
    m_frameLog.push_back(std::move(line));
}

std::vector<std::string> Instrument::takeFrameLog()
{
    std::vector<std::string> lines;
    lines.swap(m_frameLog);
    return lines;
}

MemorySpace Instrument::space(MemoryId id)
{
    switch (id) {
    case MemoryId::InternalNvm:
        return MemorySpace(m_internalNvm);
    case MemoryId::Eeprom:
        return MemorySpace(m_eeprom);
    // The firmware reads IRAM through an 8-bit pointer (@R0), so only the
    // low address byte counts and a long dump wraps from 255 to 0; the XRAM
    // decoder ignores address bit 15.
    case MemoryId::Iram:
        return MemorySpace(m_iram, Decoding::Aliased);
    case MemoryId::Xram:
        return MemorySpace(m_xram, Decoding::Aliased);
    case MemoryId::Flash:
        return MemorySpace(m_flash);
    }
    return MemorySpace(m_internalNvm);
}

} // namespace orvane::sim
