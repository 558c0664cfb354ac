#include "sim/Instrument.h"

#include "sim/FactoryImage.h"

#include <algorithm>

// What the instrument does with each complete frame.

namespace orvane::sim {

namespace {
constexpr int kSectorSize = 64;
constexpr uint8_t kProbeAnswer = 4;
} // namespace

Answer Instrument::execute(const Frame &frame)
{
    if (readTarget(frame.code))
        return serveRead(frame);
    if (writeTarget(frame.code))
        return startWrite(frame);
    switch (frame.code) {
    case command::kQuickProbe:
        log("quick probe");
        return {{kProbeAnswer}};
    case command::kIdentity:
        return identity();
    case command::kVersions:
        return versions();
    case command::kSetClock:
        m_clock = {true, frame.addressHigh, frame.addressLow};
        log("set clock " + std::to_string(frame.addressHigh) + ":"
            + (frame.addressLow < 10 ? "0" : "") + std::to_string(frame.addressLow));
        return {};
    case command::kExchangeMark:
        m_markAddress = frame.address();
        m_markRemaining = frame.count();
        m_mode = LinkMode::MarkData;
        return {};
    case command::kCopyToFlash:
        copyToFlash(frame);
        return {};
    case command::kSoftReset:
        m_mode = LinkMode::Idle;
        log("soft reset: idle");
        return {};
    case command::kDisconnect:
        clearRam();
        m_mode = LinkMode::Idle;
        log("clear RAM and disconnect: IRAM and XRAM zeroed, idle");
        return {};
    case command::kIspFromEeprom:
    case command::kIspMakerLoader:
        m_mode = LinkMode::Isp;
        log(std::string("ISP mode (")
            + (frame.code == command::kIspFromEeprom ? "24C512 loader" : "maker's loader")
            + "): silent until power cycle");
        return {};
    default:
        log("unknown command " + std::to_string(frame.code) + " (count "
            + std::to_string(frame.countByte) + " @" + std::to_string(frame.address())
            + ") ignored");
        return {};
    }
}

namespace {

// Takes one occasion of a fault that spoils a number of them (or every one).
bool takeOccasion(int &left)
{
    if (left == 0)
        return false;
    if (left != kEveryTime)
        --left;
    return true;
}

std::string beyondNote(const MemorySpace &memory, MemoryId id)
{
    const std::string size = std::to_string(memory.size());
    if (memory.decoding() == Decoding::Aliased)
        return std::string(" (beyond the ") + size + " bytes of " + memoryName(id)
               + ": address taken modulo " + size + ")";
    return std::string(" (beyond the ") + size + " bytes of " + memoryName(id) + ": reads "
           + std::to_string(MemorySpace::kUnmapped) + ")";
}

} // namespace

Answer Instrument::serveRead(const Frame &frame)
{
    const MemoryId memory = *readTarget(frame.code);
    const MemorySpace source = space(memory);
    std::string line = transferLogLine("read", memory, frame);
    if (source.leavesMemory(frame.address(), frame.count()))
        line += beyondNote(source, memory);
    Answer answer{source.read(frame.address(), frame.count())};
    line += spoilRead(frame, memory, answer);
    log(line);
    return answer;
}

std::string Instrument::spoilRead(const Frame &frame, MemoryId memory, Answer &answer)
{
    std::string notes;
    const bool wholeSettingsImage = memory == MemoryId::InternalNvm && frame.address() == 0
                                    && frame.count() == factory::kSettingsSize;
    if (wholeSettingsImage) {
        const bool firstRead = m_faults.corruptFirstNvmRead && !m_firstNvmReadServed;
        m_firstNvmReadServed = true;
        // Both knobs are looked at, so a "next n" count is not spent on a
        // read that the first-read fault spoils anyway.
        const bool counted = !firstRead && takeOccasion(m_faults.badCheckByteReads);
        if (firstRead || counted) {
            answer.bytes[0] ^= 0xFF;
            notes += firstRead ? "; check byte corrupted (corrupt-first-nvm-read fault)"
                               : "; check byte corrupted (bad-check-byte fault)";
        }
    }
    // Only a read that it can cut uses up an occasion of the short-read fault.
    const auto keep = m_faults.shortReadBytes;
    if (keep && *keep >= 0 && frame.count() > *keep && takeOccasion(m_faults.shortReads)) {
        answer.bytes.resize(static_cast<size_t>(*keep));
        notes += "; answered " + std::to_string(*keep) + " of " + std::to_string(frame.count())
                 + " bytes (short-reads fault)";
        if (m_faults.shortReads == 0)
            m_faults.shortReadBytes.reset();
    }
    return notes;
}

Answer Instrument::startWrite(const Frame &frame)
{
    m_writeTarget = *writeTarget(frame.code);
    m_writeAddress = frame.address();
    m_writeRemaining = frame.count();
    m_mode = LinkMode::WriteData;
    m_echoesWithheldLogged = false;
    std::string line = transferLogLine("write", m_writeTarget, frame);
    if (m_faults.echoDelaySeconds > 0)
        line += "; echoes "
                + std::to_string(static_cast<int>(m_faults.echoDelaySeconds * 1000 + 0.5))
                + " ms late (echo-delay-ms fault)";
    log(line);
    return {};
}

Answer Instrument::identity()
{
    log("identity");
    Answer answer;
    for (int i = 0; i < 4; ++i)
        answer.bytes.push_back(m_faults.blankIdentity ? factory::kErased
                                                      : m_internalNvm[kSerialNumberAddress + i]);
    answer.bytes.push_back(m_internalNvm[kFirmwareVersionAddress]);
    answer.bytes.push_back(hardwareVersions().hardware);
    return answer;
}

Answer Instrument::versions()
{
    log("versions");
    const HardwareVersions hardware = hardwareVersions();
    Answer answer{{m_internalNvm[kFirmwareVersionAddress], hardware.hardware}};
    answer.bytes.insert(answer.bytes.end(), hardware.modules.begin(), hardware.modules.end());
    return answer;
}

void Instrument::copyToFlash(const Frame &frame)
{
    // The code window ends at 8191: more sectors would overwrite the firmware
    // beyond it, so the copy stops there.
    const int sectors = std::min(frame.count(), kCodeWindowSectors);
    const std::vector<uint8_t> code
        = MemorySpace(m_eeprom).read(frame.address(), sectors * kSectorSize);
    std::copy(code.begin(), code.end(), m_flash.begin() + kCodeWindowAddress);
    log("copy " + std::to_string(sectors) + " sectors EEPROM @" + std::to_string(frame.address())
        + " to flash @" + std::to_string(kCodeWindowAddress)
        + (sectors < frame.count() ? " (" + std::to_string(frame.count()) + " asked)" : ""));
}

} // namespace orvane::sim
