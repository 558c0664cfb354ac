#include "factory/CodeImages.h"

#include "config/NumberText.h"
#include "config/SettingsFields.h"
#include "factory/CodeFile.h"
#include "factory/CodeModules.h"
#include "factory/FactoryAnswers.h"
#include "factory/IntelHex.h"
#include "factory/MemoryDumps.h"

#include <string>

namespace orvane {

namespace {

constexpr const char *kHexFilter = "Files (*.HEX)| *.HEX";
constexpr const char *kCodeFilter = "Files (*.COD)| *.COD";
// The progress bar counts sixteenths of the sectors.
constexpr int kStoreProgressSteps = 16;

constexpr Prompt kStoreAddressPrompt = {"24C512 ROM location to save ROM data to",
                                        "Enter 24C512 address to save to (16,384 to 32,767)"};
constexpr Prompt kFlashAddressPrompt
    = {"Flash ROM location to read from or 7,168",
       "Enter Flash ROM address to read from or 'OK' to read from NvmLoc. 7,168"};
constexpr Prompt kFlashSectorsPrompt
    = {"Read ROM Sectors from Flash at location 7,168",
       "Enter number of 64 byte Sectors 'N' to read from Flash ROM location 7,168"};
constexpr Prompt kCopyAddressPrompt
    = {"Copy program code from 24C512 NVM to flash ROM at 7,168", "Enter 24C512 Start Address"};
constexpr Prompt kCopySectorsPrompt = {"Copy how many 64 byte Sectors from 24C512 NVM?",
                                       "Enter number of 64 byte Sectors to copy (1-16)"};

} // namespace

bool storeCode(FactoryExchange &exchange,
               const CodeSectors &code,
               uint16_t target,
               std::string_view fileName)
{
    FactoryView &view = exchange.view();
    const int sectors = code.sectorCount();
    view.setProgress(0, kStoreProgressSteps);
    view.setProgressText("Storing " + std::string(fileName) + " in the 24C512");
    view.showProgress();
    for (int b = 1; b <= sectors; ++b) {
        const int address = target + kSectorBytes * (b - 1);
        view.appendReport("Writing Sector " + std::to_string(b) + " to " + std::to_string(address)
                          + "\r\n");
        exchange.step("writing sector " + std::to_string(b) + " of " + std::string(fileName)
                      + " to 24C512 address " + std::to_string(address));
        const std::span<const uint8_t> sector(code.bytes.data() + kSectorBytes * (b - 1),
                                              kSectorBytes);
        if (!exchange.writeBlock(CommandCode::WriteEeprom, address, sector, 0))
            return false;
        view.setProgress(kStoreProgressSteps * b / sectors, kStoreProgressSteps);
    }
    view.appendReport("\r\nDone\r\n");
    view.hideProgress();
    return true;
}

FactoryResult convertHexToCode(FactoryServices &services)
{
    FactoryExchange exchange(services, ExchangeKind::ReadsOnly);
    if (exchange.busy())
        return exchange.refuseBusy();
    exchange.beep();
    exchange.view().setReport({});
    const auto hexPath
        = exchange.openFileName("Read code at location 7182 from HEX file: ", kHexFilter);
    if (!hexPath)
        return exchange.stopped();
    const auto text = exchange.readFile(*hexPath);
    if (!text)
        return exchange.stopped();
    // The whole file is checked before a .COD file is asked for; the image
    // never reaches outside the 1024-byte window.
    const Result<CodeSectors> code = readIntelHex(*text, fileNameOf(*hexPath));
    if (!code) {
        exchange.refuse(code.error(), "Read code from HEX file");
        return exchange.stopped();
    }
    const auto codePath = exchange.saveFileName("Save code to .COD file: ", kCodeFilter);
    if (!codePath)
        return exchange.stopped();
    if (!exchange.writeFile(*codePath,
                            codeFileText(*code, kCodeWindowStart, CodeFileOrigin::HexConversion)))
        return exchange.stopped();
    return FactoryOutcome::Completed;
}

FactoryResult storeCodeFile(FactoryServices &services)
{
    FactoryExchange exchange(services, ExchangeKind::Writes);
    if (exchange.busy())
        return exchange.refuseBusy();
    exchange.beep();
    if (!exchange.confirm("Upload ROM code from File to Orvane 24C512 EEPROM",
                          "This will overwrite the 24C512 EEPROM in the Orvane !"))
        return exchange.stopped();
    exchange.view().setReport({});
    const auto path = exchange.openFileName("Read ROM code from file: ", kCodeFilter);
    if (!path)
        return exchange.stopped();
    const auto text = exchange.readFile(*path);
    if (!text)
        return exchange.stopped();
    const std::string name = fileNameOf(*path);
    const Result<CodeSectors> code = readCodeFile(*text, name);
    if (!code) {
        exchange.refuse(code.error(), "Read ROM code from file");
        return exchange.stopped();
    }

    const std::string typed = exchange.askText(kStoreAddressPrompt);
    if (typed.find_first_not_of(" \t") == std::string::npos)
        return FactoryOutcome::Cancelled;
    const Result<uint16_t> target = parseStoreAddress(typed, code->sectorCount());
    if (!target) {
        exchange.beep();
        services.platform.dialogs.messageBox(target.error(),
                                             kStoreAddressPrompt.title,
                                             MessageIcon::Critical,
                                             MessageButtons::Ok);
        return failure(target.error());
    }
    if (!exchange.connect())
        return exchange.stopped();
    if (!storeCode(exchange, *code, *target, name))
        return exchange.fail();
    return FactoryOutcome::Completed;
}

FactoryResult readFlashToCode(FactoryServices &services)
{
    FactoryExchange exchange(services, ExchangeKind::ReadsOnly);
    if (exchange.busy())
        return exchange.refuseBusy();
    // An empty answer (OK on an empty box) means the code window at 7168.
    const Result<uint16_t> start = parseFlashReadAddress(exchange.askText(kFlashAddressPrompt));
    if (!start) {
        exchange.refuse(start.error(), kFlashAddressPrompt.title);
        return exchange.stopped();
    }
    const auto sectors = exchange.ask(kFlashSectorsPrompt, [&start](std::string_view typed) {
        return parseFlashSectorCount(typed, *start);
    });
    if (!sectors)
        return exchange.stopped();
    const auto path = exchange.saveFileName("Save Settings to File: ", kCodeFilter);
    if (!path)
        return exchange.stopped();
    if (!exchange.connect())
        return exchange.stopped();

    // The file is written only once every sector has come back whole, so no
    // file ever holds bytes the instrument did not send.
    CodeSectors code;
    for (int b = 1; b <= *sectors; ++b) {
        const int address = *start + kSectorBytes * (b - 1);
        exchange.step("reading flash ROM sector " + std::to_string(b) + " at "
                      + std::to_string(address));
        const std::vector<uint8_t> bytes
            = exchange.read(memoryFrame(CommandCode::ReadFlash, kSectorBytes, address),
                            kSectorBytes,
                            kFlashSectorReadPause);
        exchange.beep();
        exchange.view().setReport(dumpReport(0, bytes));
        if (int(bytes.size()) < kSectorBytes)
            return exchange.fail();
        code.bytes.insert(code.bytes.end(), bytes.begin(), bytes.end());
    }
    if (!exchange.writeFile(*path, codeFileText(code, *start, CodeFileOrigin::FlashRead)))
        return exchange.stopped();
    return FactoryOutcome::Completed;
}

FactoryResult copyCodeToFlash(FactoryServices &services)
{
    FactoryExchange exchange(services, ExchangeKind::Writes);
    if (exchange.busy())
        return exchange.refuseBusy();
    const auto start = exchange.ask(kCopyAddressPrompt, [](std::string_view typed) {
        return parseEepromAddress(typed);
    });
    if (!start)
        return exchange.stopped();
    const auto sectors
        = exchange.ask(kCopySectorsPrompt, [&start](std::string_view typed) -> Result<uint8_t> {
              const Result<uint8_t> count = parseCopySectorCount(typed);
              if (!count)
                  return count;
              if (const Result<void> fits = checkCopyFits(*start, *count); !fits)
                  return failure(fits.error());
              return count;
          });
    if (!sectors)
        return exchange.stopped();
    if (!exchange.connect())
        return exchange.stopped();

    exchange.step("asking the Orvane to copy code to flash");
    if (!exchange.send(copyToFlashFrame(*sectors, *start), kCopyToFlashPause))
        return exchange.fail();
    // Only the editor's image records the copy; nothing is sent for it.
    services.document.setField(kCodeSelector, 0);
    exchange.view().imageChanged();
    return FactoryOutcome::Completed;
}

} // namespace orvane
