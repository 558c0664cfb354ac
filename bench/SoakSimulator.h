#pragma once

#include <QProcess>
#include <QString>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace orvane::bench {

// The instrument's memories as orvane-sim saved them in its state file.
struct Memories
{
    std::vector<uint8_t> internalNvm; // 512 bytes
    std::vector<uint8_t> eeprom;      // 64 KiB

    bool operator==(const Memories &) const = default;
};

std::optional<Memories> readMemories(const QString &stateFile, std::string *error);
// Replaces the memories in a state file, keeping the rest of it.
bool writeMemories(const QString &stateFile, const Memories &memories, std::string *error);

// orvane-sim on a pseudo-terminal linked as `linkPath`, keeping its memories
// in `stateFile` (loaded at start, saved when it is stopped) and taking
// control lines from a FIFO. It can be killed and started again in the
// middle of an exchange, as a user pulls a cable or switches the instrument
// off and on.
class SoakSimulator
{
public:
    SoakSimulator(QString linkPath, QString stateFile, QString controlPath);
    ~SoakSimulator();

    // Starts it and waits until the link is in place.
    bool start(std::string *error);
    // Starts it without waiting: for a restart in the middle of an exchange,
    // which must not stall the editor's waits.
    void startDetached();
    // Ends it; it saves its memories first.
    void stop();
    bool running() const;
    // Sends one control line; false when the simulator does not listen.
    bool control(const std::string &line);

private:
    QStringList arguments() const;

    QString m_linkPath;
    QString m_stateFile;
    QString m_controlPath;
    std::unique_ptr<QProcess> m_process;
};

} // namespace orvane::bench
