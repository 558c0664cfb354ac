#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

// A pseudo-terminal for the virtual instrument: the program keeps the master
// side, the editor opens the slave device as its serial port. The program
// also holds the slave open itself, so that the editor may close and reopen
// the port without the master seeing a hang-up.

namespace orvane {

class PseudoTerminal
{
public:
    enum class Status { Ok, Failed };

    PseudoTerminal() = default;
    ~PseudoTerminal();
    PseudoTerminal(const PseudoTerminal &) = delete;
    PseudoTerminal &operator=(const PseudoTerminal &) = delete;

    // Opens the pair, puts the line in raw 8N1 mode at 115200 baud and
    // makes the master non-blocking.
    bool open(std::string *error);
    void close();

    int masterDescriptor() const { return m_master; }
    const std::string &slavePath() const { return m_slavePath; }

    // Appends every byte waiting on the master; Ok also when none is waiting.
    Status readAvailable(std::vector<uint8_t> &bytes, std::string *error);
    // Writes what the terminal takes now; the number of bytes taken, or -1.
    long writeSome(std::span<const uint8_t> bytes, std::string *error);

private:
    int m_master = -1;
    int m_slave = -1;
    std::string m_slavePath;
};

} // namespace orvane
