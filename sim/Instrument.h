#pragma once

#include "sim/Frame.h"
#include "sim/NmeaFeed.h"

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

// A fault that spoils every occasion it applies to, not a number of them.
constexpr int kEveryTime = -1;

// Named failure modes, one knob each.
struct FaultSettings
{
    bool noAnswer = false;                // never answers anything
    bool blankIdentity = false;           // identity reads as 255 255 255 255
    bool corruptFirstNvmRead = false;     // first 256-byte internal NVM read has a wrong check byte
    std::optional<int> echoesStopAfter{}; // echo this many data bytes, then no more echoes
    double echoDelaySeconds = 0;          // each echo leaves this late
    // Memory reads of more than this many bytes answer only their first
    // shortReadBytes bytes, as when the line loses the rest of an answer.
    std::optional<int> shortReadBytes{};
    int shortReads = kEveryTime; // how many reads are cut; the knob clears when they are done
    // Reads of the whole 256-byte settings image answer a wrong check byte:
    // this many of them, or kEveryTime.
    int badCheckByteReads = 0;

    bool operator==(const FaultSettings &) const = default;
};

struct Answer
{
    std::vector<uint8_t> bytes;
    double delaySeconds = 0; // extra delay before the first byte leaves
};

// What the instrument reports about its hardware. The firmware version is not
// here: it is internal NVM byte 94, written at provisioning.
struct HardwareVersions
{
    uint8_t hardware = 0;
    std::array<uint8_t, 4> modules{}; // U101, U201, U301, U401
};

class Instrument
{
public:
    static constexpr int kInternalNvmSize = 512;
    static constexpr int kEepromSize = 65536;
    static constexpr int kIramSize = 256;
    static constexpr int kXramSize = 32768;
    static constexpr int kFlashSize = 32768;

    // Where the instrument keeps what it is asked about.
    static constexpr int kSerialNumberAddress = 12;    // internal NVM 12..15
    static constexpr int kFirmwareVersionAddress = 94; // internal NVM
    static constexpr int kProductCodeAddress = 7232;   // EEPROM
    static constexpr int kVersionBlockAddress = 32752; // flash: hardware, U101..U401
    static constexpr int kExchangeMarkAddress = 58629; // written by command 13
    static constexpr int kCodeWindowAddress = 7168;    // flash target of command 252
    static constexpr int kCodeWindowSectors = 16;      // 64-byte sectors up to 8191
    static constexpr int kResyncLength = 8;            // consecutive "#" that resynchronise

    // How the link stands. A fresh instrument, a soft reset (251) and a
    // disconnect (255) leave it Idle; only a power cycle ends Isp.
    enum class LinkMode {
        Idle,        // answers a lone "=" with "=", waits for eight "#"
        Command,     // waits for "=" (a frame) or "?" (live NMEA)
        FrameHeader, // collecting code, count, address high, address low
        WriteData,   // storing the data bytes of a write, echoing each
        MarkData,    // taking the data byte of an exchange mark, no echo
        Nmea,        // answering channel numbers with live NMEA characters
        Isp,         // in-system programming: silent until a power cycle
    };

    struct ClockSetting
    {
        bool set = false;
        uint8_t hours = 0;
        uint8_t minutes = 0;
    };

    // Starts with a plausible factory image: valid settings with their check
    // byte, product code 1, display configurations and sender curves.
    Instrument();

    Answer feed(uint8_t byte);

    FaultSettings &faults() { return m_faults; }

    std::array<uint8_t, kInternalNvmSize> &internalNvm() { return m_internalNvm; }
    std::array<uint8_t, kEepromSize> &eeprom() { return m_eeprom; }
    std::array<uint8_t, kIramSize> &iram() { return m_iram; }
    std::array<uint8_t, kXramSize> &xram() { return m_xram; }
    std::array<uint8_t, kFlashSize> &flash() { return m_flash; }

    void setProductCode(uint8_t code);
    // Serial number bytes: year, month, day, unit of the day. Keeps the
    // settings check byte right, as the instrument's own writers do.
    void setSerial(uint8_t year, uint8_t month, uint8_t day, uint8_t unit);
    void setFirmwareVersion(uint8_t version);
    void setHardwareVersions(const HardwareVersions &versions);
    HardwareVersions hardwareVersions() const;

    bool inCommandMode() const;
    LinkMode linkMode() const { return m_mode; }
    // The last byte written by the exchange mark command (0 at power-up).
    uint8_t exchangeMark() const { return m_exchangeMark; }
    ClockSetting clock() const { return m_clock; }

    // What switching the instrument off and on does: the link becomes idle
    // (ISP mode ends, a half-received frame is dropped), the live NMEA
    // stream stops, the one-shot faults are armed again and the firmware's
    // start-up fills IRAM and XRAM afresh. The non-volatile memories stay.
    // The cause, if given, goes into the frame log.
    void powerCycle(const std::string &cause = {});

    // Fault bookkeeping for knobs changed while running: the echo count of
    // echoesStopAfter starts again from zero; the first whole settings read
    // is corrupted again.
    void restartEchoCount() { m_echoesSent = 0; }
    void rearmFirstNvmRead() { m_firstNvmReadServed = false; }

    // One line per frame served, oldest first.
    const std::vector<std::string> &frameLog() const { return m_frameLog; }
    // Hands over the lines logged so far and forgets them (for a long run).
    std::vector<std::string> takeFrameLog();

    // Saves and loads every memory; false with a reason on failure. A file
    // that is refused leaves the instrument as it was. Loading leaves the
    // link idle and re-arms the faults as a power cycle does, but keeps the
    // RAM as it was saved, so a session resumes where it stopped.
    bool saveState(const std::string &path, std::string *error) const;
    bool loadState(const std::string &path, std::string *error);

private:
    Answer feedIdle(uint8_t byte);
    Answer feedCommand(uint8_t byte);
    Answer feedNmea(uint8_t byte);
    Answer feedHeader(uint8_t byte);
    Answer feedWriteData(uint8_t byte);
    Answer feedMarkData(uint8_t byte);
    // Counts a run of "#"; answers "@" and enters command mode at the eighth.
    Answer countResync(uint8_t byte);

    Answer execute(const Frame &frame);
    Answer serveRead(const Frame &frame);
    Answer startWrite(const Frame &frame);
    Answer identity();
    Answer versions();
    void copyToFlash(const Frame &frame);
    MemorySpace space(MemoryId id);
    // Applies the read faults to an answer; the notes for the frame log.
    std::string spoilRead(const Frame &frame, MemoryId memory, Answer &answer);
    void clearRam();
    void startRam();
    void restartLink();
    void refreshNvmCheckByte();
    void log(std::string line);

    FaultSettings m_faults;
    std::array<uint8_t, kInternalNvmSize> m_internalNvm{};
    std::array<uint8_t, kEepromSize> m_eeprom{};
    std::array<uint8_t, kIramSize> m_iram{};
    std::array<uint8_t, kXramSize> m_xram{};
    std::array<uint8_t, kFlashSize> m_flash{};
    std::vector<std::string> m_frameLog;

    LinkMode m_mode = LinkMode::Idle;
    int m_resyncCount = 0;
    FrameAssembler m_header;
    // The write in progress: where the next data byte goes, how many remain.
    MemoryId m_writeTarget = MemoryId::InternalNvm;
    uint16_t m_writeAddress = 0;
    int m_writeRemaining = 0;
    uint16_t m_markAddress = 0;
    int m_markRemaining = 0;
    uint8_t m_exchangeMark = 0;
    ClockSetting m_clock;
    NmeaFeed m_nmea;
    // One-shot fault bookkeeping, re-armed by a power cycle.
    bool m_firstNvmReadServed = false;
    int m_echoesSent = 0;
    bool m_echoesWithheldLogged = false; // once per write frame
};

} // namespace orvane::sim
