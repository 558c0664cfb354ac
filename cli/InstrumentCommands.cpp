#include "cli/Commands.h"

#include "cli/JsonOutput.h"
#include "cli/Session.h"
#include "link/Commands.h"
#include "link/Exchange.h"
#include "transfer/Identification.h"

#include <QJsonArray>

#include <array>
#include <cstdio>
#include <optional>

// The commands that look at the line and the instrument without moving a
// configuration: ports, identify, dump.

namespace orvane::cli {

namespace {

constexpr double kDumpTimeout = 1.0; // the most a memory read waits for its answer

struct Memory
{
    const char *name;
    CommandCode code;
    int top; // highest address
};

constexpr std::array<Memory, 5> kMemories = {{
    {"iram", CommandCode::ReadIram, 32767},
    {"xram", CommandCode::ReadXram, 32767},
    {"nvm", CommandCode::ReadInternalNvm, 32767},
    {"eeprom", CommandCode::ReadEeprom, 65535},
    {"flash", CommandCode::ReadFlash, 32767},
}};

std::string trimmed(const std::string &text)
{
    const size_t first = text.find_first_not_of(' ');
    const size_t last = text.find_last_not_of(' ');
    return first == std::string::npos ? std::string() : text.substr(first, last - first + 1);
}

// Decimal, or hexadecimal after 0x; none for anything else or past `top`.
std::optional<int> parseNumber(const std::string &text, int top)
{
    const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    const std::string digits = hex ? text.substr(2) : text;
    if (digits.empty() || digits.size() > 8)
        return std::nullopt;
    long value = 0;
    for (const char c : digits) {
        int digit = -1;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (hex && c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (hex && c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        if (digit < 0)
            return std::nullopt;
        value = value * (hex ? 16 : 10) + digit;
    }
    if (value > top)
        return std::nullopt;
    return int(value);
}

} // namespace

Fault runPorts(Session &session)
{
    SerialPort &port = session.platform.port;
    QJsonArray portsJson;
    std::string text;
    for (int n = 1; n <= Connection::kHighestPortNumber; ++n) {
        const std::string device = port.deviceForPort(n);
        QJsonArray warningsJson;
        text += "COM" + std::to_string(n) + (n < 10 ? "   " : "  ") + device + "\n";
        for (const std::string &w : port.adviceForPort(n)) {
            text += "        " + w + "\n";
            warningsJson.append(jsonText(w));
        }
        portsJson.append(
            QJsonObject{{"port", n}, {"device", jsonText(device)}, {"warnings", warningsJson}});
    }
    QJsonArray devicesJson;
    text += "\nSerial devices on this system:\n";
    const std::vector<SerialDeviceInfo> devices = port.availableDevices();
    if (devices.empty())
        text += "    none\n";
    for (const SerialDeviceInfo &d : devices) {
        const auto id = [](const std::optional<uint16_t> &v) {
            return v ? QJsonValue(int(*v)) : QJsonValue(QJsonValue::Null);
        };
        text += "    " + d.systemLocation;
        if (!d.description.empty())
            text += "  " + d.description;
        if (!d.manufacturer.empty())
            text += " (" + d.manufacturer + ")";
        text += "\n";
        devicesJson.append(QJsonObject{{"device", jsonText(d.systemLocation)},
                                       {"description", jsonText(d.description)},
                                       {"manufacturer", jsonText(d.manufacturer)},
                                       {"vendorId", id(d.vendorId)},
                                       {"productId", id(d.productId)}});
    }
    if (session.invocation.json)
        text = jsonLine(QJsonObject{{"ports", portsJson}, {"devices", devicesJson}});
    std::fputs(text.c_str(), stdout);
    return Fault::None;
}

Fault runIdentify(Session &session)
{
    const Result<int> port = session.port();
    if (!port) {
        session.say(port.error());
        return Fault::Refused;
    }
    const ConnectOutcome outcome
        = connectToInstrument(session.connection, session.state.document.image);
    if (!outcome.connected)
        return session.connectFailure(*port);
    session.connection.endExchange(CommandCode::SoftReset);
    session.progress.endLine();

    const LinkState &link = session.link.linkState();
    const Identity identity = outcome.identity.value_or(Identity{});
    const int uploads = identity.uploadCounter[0] * 256 + identity.uploadCounter[1];
    std::array<std::string, 4> chips;
    for (size_t i = 0; i < chips.size(); ++i)
        chips[i] = trimmed(identity.chipVersions[i]);
    if (session.invocation.json) {
        QJsonArray chipsJson;
        for (const std::string &c : chips)
            chipsJson.append(jsonText(c));
        std::fputs(
            jsonLine(QJsonObject{{"port", *port},
                                 {"device", jsonText(session.platform.port.deviceForPort(*port))},
                                 {"serialNumber", jsonText(trimmed(link.SerialNumberText))},
                                 {"softwareVersion", jsonText(trimmed(link.SoftwareVersionText))},
                                 {"hardwareVersion", jsonText(trimmed(link.HardwareVersionText))},
                                 {"chipVersions", chipsJson},
                                 {"productCode", int(link.ProductCode)},
                                 {"uploadCount", uploads}})
                .c_str(),
            stdout);
        return Fault::None;
    }
    std::printf("Port:              %s\n", session.portText(*port).c_str());
    std::printf("Serial number:     %s\n", trimmed(link.SerialNumberText).c_str());
    std::printf("Software version:  %s\n", trimmed(link.SoftwareVersionText).c_str());
    std::printf("Hardware version:  %s\n", trimmed(link.HardwareVersionText).c_str());
    std::printf("Chip versions:     %s, %s, %s, %s\n",
                chips[0].c_str(),
                chips[1].c_str(),
                chips[2].c_str(),
                chips[3].c_str());
    std::printf("Product code:      %d\n", int(link.ProductCode));
    std::printf("Uploads:           %d\n", uploads);
    return Fault::None;
}

Fault runDump(Session &session)
{
    const Invocation &invocation = session.invocation;
    if (!invocation.factory) {
        session.say("dump reads the instrument's raw memory, which is for the factory; add "
                    "--factory to run it.");
        return Fault::Refused;
    }
    const Result<int> port = session.port();
    if (!port) {
        session.say(port.error());
        return Fault::Refused;
    }
    const std::string &name = invocation.operands[0];
    const Memory *memory = nullptr;
    for (const Memory &m : kMemories)
        if (name == m.name)
            memory = &m;
    if (!memory) {
        session.say("\"" + name + "\" is not a memory: iram, xram, nvm, eeprom or flash.");
        return Fault::Refused;
    }
    const auto address = parseNumber(invocation.operands[1], memory->top);
    if (!address) {
        session.say("The address \"" + invocation.operands[1] + "\" is not a number 0.."
                    + std::to_string(memory->top) + " of " + memory->name + ".");
        return Fault::Refused;
    }
    const auto count = parseNumber(invocation.operands[2], kMaxFrameCount);
    if (!count || *count < 1 || *address + *count - 1 > memory->top) {
        session.say("The count \"" + invocation.operands[2] + "\" is not 1.."
                    + std::to_string(kMaxFrameCount) + " bytes within " + memory->name + " (top "
                    + std::to_string(memory->top) + ").");
        return Fault::Refused;
    }

    const ConnectOutcome outcome
        = connectToInstrument(session.connection, session.state.document.image);
    if (!outcome.connected)
        return session.connectFailure(*port);
    const std::string step = "reading " + std::string(memory->name);
    session.progress.setText(step);
    Exchange exchange(session.link);
    exchange.step(step);
    const std::vector<uint8_t> bytes
        = exchange.readUntilComplete(memoryFrame(memory->code, *count, *address),
                                     *count,
                                     kDumpTimeout);
    if (!session.link.lost())
        session.connection.endExchange(CommandCode::SoftReset);
    if (int(bytes.size()) < *count) {
        session.say(exchange.failureMessage());
        return Fault::FailedHalfWay;
    }
    session.progress.endLine();
    for (int line = 0; line < *count; line += 16) {
        std::string hex, text;
        for (int i = line; i < std::min(*count, line + 16); ++i) {
            char cell[4];
            std::snprintf(cell, sizeof cell, " %02X", bytes[size_t(i)]);
            hex += cell;
            text += bytes[size_t(i)] >= 0x20 && bytes[size_t(i)] < 0x7F ? char(bytes[size_t(i)])
                                                                        : '.';
        }
        std::printf("%05X:%-48s  %s\n", *address + line, hex.c_str(), text.c_str());
    }
    return Fault::None;
}

} // namespace orvane::cli
