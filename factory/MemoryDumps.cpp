#include "factory/MemoryDumps.h"

#include "config/NumberText.h"
#include "factory/FactoryAnswers.h"
#include "platform/Check.h"

namespace orvane {

namespace {

constexpr const char *kCountText = "Enter number of bytes to get/display (1-256)";

constexpr DumpedMemory kMemories[] = {
    {CommandCode::ReadIram,
     {"Get Data from Internal RAM", "Enter Internal 89LPC9408 RAM Start Address"},
     {"How Many bytes from Internal RAM?", kCountText},
     kProcessorMemoryTop,
     "internal RAM"},
    {CommandCode::ReadXram,
     {"Get Data from Internal XRAM", "Enter Internal 89LPC9408 XRAM Start Address"},
     {"How Many bytes from Internal XRAM?", kCountText},
     kProcessorMemoryTop,
     "internal XRAM"},
    {CommandCode::ReadInternalNvm,
     {"Get Data from Internal NVM", "Enter Internal 89LPC9408 NVM Start Address"},
     {"How Many bytes from Internal NVM?", kCountText},
     kProcessorMemoryTop,
     "internal NVM"},
    {CommandCode::ReadEeprom,
     {"Get Data from 24C512 NVM", "Enter 24C512 Start Address"},
     {"How Many bytes from 24C512 NVM?", kCountText},
     kEepromTop,
     "24C512"},
    {CommandCode::ReadFlash,
     {"Get Data from Flash ROM", "Enter 89LPC9408 Flash ROM Start Address"},
     {"How many bytes of flash ROM?", kCountText},
     kProcessorMemoryTop,
     "flash ROM"},
};

} // namespace

const DumpedMemory &dumpedMemory(FactoryMemory memory)
{
    const auto index = size_t(memory);
    ORVANE_CHECK(index < std::size(kMemories), return kMemories[0]);
    return kMemories[index];
}

Result<int> parseDumpCount(std::string_view typed, int address, const DumpedMemory &memory)
{
    const auto count = parseAnswerInRange(typed, "The number of bytes", 1, kMaxFrameCount);
    if (!count)
        return failure(count.error());
    if (address + *count - 1 > memory.top)
        return failure(std::to_string(*count) + " bytes from address " + std::to_string(address)
                       + " would run past the top of the " + memory.name + ", "
                       + std::to_string(memory.top) + ".");
    return int(*count);
}

std::string dumpReport(int firstAddress, std::span<const uint8_t> bytes)
{
    std::string report;
    for (size_t i = 0; i < bytes.size(); ++i)
        report += displayNumber(static_cast<long long>(firstAddress + i)) + "    "
                  + displayNumber(static_cast<long long>(bytes[i])) + "\r\n";
    return report;
}

FactoryResult dumpMemory(FactoryServices &services, FactoryMemory which)
{
    const DumpedMemory &memory = dumpedMemory(which);
    FactoryExchange exchange(services, ExchangeKind::ReadsOnly);
    if (exchange.busy())
        return exchange.refuseBusy();

    const auto address = exchange.ask(memory.address, [&memory](std::string_view typed) {
        return parseAnswerInRange(typed, "The start address", 0, memory.top);
    });
    if (!address)
        return exchange.stopped();
    const auto count = exchange.ask(memory.count, [&](std::string_view typed) {
        return parseDumpCount(typed, int(*address), memory);
    });
    if (!count)
        return exchange.stopped();
    if (!exchange.connect())
        return exchange.stopped();

    exchange.step("reading " + std::to_string(*count) + " bytes of the " + memory.name
                  + " from address " + std::to_string(*address));
    const std::vector<uint8_t> bytes
        = exchange.read(memoryFrame(memory.code, *count, int(*address)), *count, kDumpPause);
    // Only the bytes that came back are listed: the slots past them hold
    // what earlier exchanges left there.
    exchange.view().setReport(dumpReport(int(*address), bytes));
    if (int(bytes.size()) < *count)
        return exchange.fail();
    return FactoryOutcome::Completed;
}

} // namespace orvane
