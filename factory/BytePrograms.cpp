#include "factory/BytePrograms.h"

#include "config/NumberText.h"
#include "config/SettingsFields.h"
#include "factory/FactoryAnswers.h"
#include "link/Commands.h"

namespace orvane {

namespace {

constexpr Prompt kEepromAddressPrompt
    = {"Get 24C512 NVM ADdress to program", "Enter 24C512 Address to program"};
constexpr Prompt kEepromDataPrompt = {"Get data byte", "Enter data byte to program to 24C512"};
constexpr Prompt kNvmAddressPrompt
    = {"Get internal NVM address to program", "Enter internal NVM address to program (0-511)"};
constexpr Prompt kNvmDataPrompt
    = {"Get data byte", "Enter value of data byte to program to internal NVM (0-255)"};

std::string text(long long number)
{
    return displayNumber(number);
}

Result<uint8_t> parseByte(std::string_view typed)
{
    return parseDataByte(typed);
}

} // namespace

bool nvmChecksumCovers(int address)
{
    return address > kSettingsCheckByte.address && address < kIntNvmBytes;
}

std::string nvmReportLine(const char *label, int address, int value)
{
    return std::string(label) + text(address) + "=  " + text(value) + "\r\n";
}

FactoryResult programEepromByte(FactoryServices &services)
{
    FactoryExchange exchange(services, ExchangeKind::Writes);
    if (exchange.busy())
        return exchange.refuseBusy();
    exchange.beep();
    if (!exchange.confirm("Program a single byte in 24C512 NVM",
                          "This will overwrite a byte in the 24C512 NVM!"))
        return exchange.stopped();
    exchange.view().setReport({});

    const auto address = exchange.ask(kEepromAddressPrompt, [](std::string_view typed) {
        return parseEepromAddress(typed, "The 24C512 address");
    });
    if (!address)
        return exchange.stopped();
    const auto data = exchange.ask(kEepromDataPrompt, parseByte);
    if (!data)
        return exchange.stopped();
    if (!exchange.connect())
        return exchange.stopped();

    exchange.step("marking the exchange");
    sendExchangeMark(exchange.link(), kExchangeBegins);
    exchange.step("writing 24C512 address " + std::to_string(*address));
    if (!exchange.writeByte(memoryFrame(CommandCode::WriteEeprom, 1, *address),
                            *data,
                            kEepromByteWritePause))
        return exchange.fail();
    // The instrument echoes the written byte: a fresh receive table makes the
    // report show what the read brings back, not the echo.
    exchange.step("reading back 24C512 address " + std::to_string(*address));
    const auto readBack = exchange.readByte(memoryFrame(CommandCode::ReadEeprom, 1, *address),
                                            kEepromByteWritePause);
    if (!readBack)
        return exchange.fail();
    exchange.view().setReport(text(*address) + "    " + text(*readBack) + "\r\n");
    return FactoryOutcome::Completed;
}

FactoryResult programInternalNvmByte(FactoryServices &services)
{
    FactoryExchange exchange(services, ExchangeKind::Writes);
    if (exchange.busy())
        return exchange.refuseBusy();
    exchange.beep();
    if (!exchange.confirm("Program a single byte in Internal NVM",
                          "This will overwrite a byte in the Internal NVM!"))
        return exchange.stopped();
    exchange.view().setReport({});

    const auto address = exchange.ask(kNvmAddressPrompt, [](std::string_view typed) {
        return parseAnswerInRange(typed,
                                  "The internal NVM address",
                                  0,
                                  kHighestProgrammedNvmAddress);
    });
    if (!address)
        return exchange.stopped();
    const auto data = exchange.ask(kNvmDataPrompt, parseByte);
    if (!data)
        return exchange.stopped();
    if (!exchange.connect())
        return exchange.stopped();

    const int a = int(*address);
    const std::string where = "internal NVM address " + std::to_string(a);
    exchange.step("reading " + where);
    const auto old
        = exchange.readByte(memoryFrame(CommandCode::ReadInternalNvm, 1, a), kNvmByteStepPause);
    if (!old)
        return exchange.fail();
    exchange.view().setReport(nvmReportLine("Old value at ", a, *old));

    // Byte 0 is the exclusive-or of bytes 1..255: only those bytes change it.
    // Updating it for 0 or 256..511 would make the settings fail their check.
    const bool covered = nvmChecksumCovers(a);
    uint8_t checksum = 0;
    if (covered) {
        exchange.step("reading the internal NVM check byte");
        const auto sum
            = exchange.readByte(memoryFrame(CommandCode::ReadInternalNvm, 1, kNvmChecksumAddress),
                                kNvmByteStepPause);
        if (!sum)
            return exchange.fail();
        checksum = *sum;
        exchange.view().appendReport(nvmReportLine("Old checksum ", a, checksum));
    }

    exchange.step("writing " + where);
    if (!exchange.writeByte(memoryFrame(CommandCode::WriteInternalNvm, 1, a),
                            *data,
                            kNvmByteStepPause))
        return exchange.fail();
    if (covered) {
        exchange.step("writing the internal NVM check byte");
        if (!exchange.writeByte(memoryFrame(CommandCode::WriteInternalNvm, 1, kNvmChecksumAddress),
                                uint8_t(*data ^ *old ^ checksum),
                                kNvmByteStepPause))
            return exchange.fail();
    }

    exchange.step("reading back " + where);
    const auto readBack
        = exchange.readByte(memoryFrame(CommandCode::ReadInternalNvm, 1, a), kNvmByteStepPause);
    if (!readBack)
        return exchange.fail();
    exchange.view().appendReport(nvmReportLine("New data at ", a, *readBack));
    return FactoryOutcome::Completed;
}

} // namespace orvane
