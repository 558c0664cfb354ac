#pragma once

#include "link/ByteLink.h"
#include "link/CommandFrames.h"

#include <cstdint>
#include <span>
#include <vector>

// Exchanges built from the byte primitives: every read, block write and
// single-byte write of the system goes through these, with the instrument's
// fixed pauses named here.

namespace orvane {

// Pauses before an answer is read.
constexpr double kProbePause = 0.1;           // quick probe, presence probe, resync
constexpr double kShortReadPause = 0.1;       // versions, identity, 1 EEPROM byte, 64-byte blocks
constexpr double kNvmByteReadPause = 0.2;     // one internal NVM byte
constexpr double kConnectNvmReadPause = 0.25; // 1 or 2 internal NVM bytes while connecting
constexpr double kLongReadPause = 1.0;        // 256 internal NVM bytes, factory dumps
// Pauses after writes.
constexpr double kNvmImageWritePause = 0.1;     // after the 256-byte internal NVM write
constexpr double kEepromRecordWritePause = 0.5; // after each 128-byte EEPROM record
constexpr double kNoPause = 0.0;                // 64-byte backup and restore blocks
constexpr double kExchangeMarkPause = 0.1;      // after the mark's frame and after its byte
constexpr double kFlashCopyPause = 1.0;

// Echoes missed in a row after which a block write gives the instrument up
// as gone, rather than waiting out every remaining byte.
constexpr int kMissedEchoLimit = 4;

// The five frame bytes, each with SendByte.
void sendFrame(ByteLink &link, const Frame &frame);

// Clear, send the frame, wait `pause`, take RxSlot(1)..RxSlot(count).
// The answer is not checked; slots nobody filled read as what they held.
std::vector<uint8_t> issueRead(ByteLink &link, const Frame &frame, int count, double pause);
std::vector<uint8_t>
readMemory(ByteLink &link, CommandCode code, int count, int address, double pause);

struct BlockWriteResult
{
    int missedEchoes = 0;   // data bytes whose echo did not come in time
    bool completed = false; // every data byte went out and the link held
};

// Clear, send the frame, send each data byte with SendByteCheckEcho in
// address order, then pause. Stops when the link is lost (including after
// kMissedEchoLimit echoes missed in a row).
BlockWriteResult issueBlockWrite(ByteLink &link,
                                 CommandCode code,
                                 int address,
                                 std::span<const uint8_t> data,
                                 double trailingPause);

// Writes one internal NVM byte and keeps the checksum at address 0 right:
// reads the old value and the old checksum, writes the value, then
// value ^ old ^ checksum. False when the link was lost on the way.
bool writeInternalNvmByte(ByteLink &link, int address, uint8_t value);

// The exchange mark: frame, pause, the mark byte, pause.
void sendExchangeMark(ByteLink &link, uint8_t mark);

// Sends the soft reset (251) or the disconnect (255) frame that ends an
// exchange. The caller marks the link as not connected (Connection does both).
void sendEndOfExchange(ByteLink &link, CommandCode code);

} // namespace orvane
