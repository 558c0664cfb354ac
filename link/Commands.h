#pragma once

#include "link/ByteLink.h"
#include "link/CommandFrames.h"

#include <cstdint>
#include <span>
#include <vector>

// Exchanges built from the byte primitives: every read, block write and
// single-byte write of the system goes through these. The pauses of the
// command sequences are named next to the sequences; the ones here belong to
// the exchanges below.

namespace orvane {

constexpr double kNvmByteReadPause = 0.2;  // before one internal NVM byte is read
constexpr double kExchangeMarkPause = 0.1; // after the mark's frame and after its byte

// The five frame bytes, each with SendByte.
void sendFrame(ByteLink &link, const Frame &frame);

// Clear, send the frame, wait `pause`, take RxSlot(1)..RxSlot(count).
// The answer is not checked; slots nobody filled read as what they held.
std::vector<uint8_t> issueRead(ByteLink &link, const Frame &frame, int count, double pause);
std::vector<uint8_t>
readMemory(ByteLink &link, CommandCode code, int count, int address, double pause);

// Clear, send the frame, then wait only until `count` answer bytes are in
// (at most `timeout`), take RxSlot(1)..RxSlot(count). For reads of the
// editor's own whose answer is acted on the moment it is complete; RxCount
// tells whether it was.
std::vector<uint8_t>
issueReadUntilComplete(ByteLink &link, const Frame &frame, int count, double timeout);

enum class BlockWriteEnd {
    Completed, // every data byte was echoed, then the trailing pause passed
    NoEcho,    // a data byte's echo did not come in time; the link is given up
    LinkLost,  // the port failed on the way
};

// Clear, send the frame, wait `framePause`, send each data byte with
// SendByteCheckEcho in address order, then wait `trailingPause`. The first
// echo that does not come in time ends the write and marks the link as lost:
// the instrument may still be waiting for data bytes, and whatever went out
// next would be stored as data.
BlockWriteEnd writeBlock(ByteLink &link,
                         CommandCode code,
                         int address,
                         std::span<const uint8_t> data,
                         double trailingPause,
                         double framePause = 0);

// Writes one internal NVM byte and keeps the checksum at address 0 right:
// reads the old value and the old checksum, writes the value, then
// value ^ old ^ checksum. False when the link was lost on the way.
bool writeInternalNvmByte(ByteLink &link, int address, uint8_t value);

// The exchange mark: frame, pause, the mark byte, pause.
void sendExchangeMark(ByteLink &link, uint8_t mark);

// Sends the soft reset (251) or the disconnect (255) frame that ends an
// exchange. The caller marks the link as not connected (Connection does both).
// Any other code is a programming error and sends the disconnect.
void sendEndOfExchange(ByteLink &link, CommandCode code);

} // namespace orvane
