#include "factory/Provisioning.h"

#include "config/Defaults.h"
#include "config/NumberText.h"
#include "config/SettingsFields.h"
#include "factory/CalibrationCurvesFile.h"
#include "factory/CodeImages.h"
#include "factory/CodeModules.h"
#include "factory/DecimalPointsFile.h"
#include "factory/FactoryAnswers.h"
#include "factory/NewUnitSerial.h"
#include "factory/NewUnitVerification.h"
#include "factory/NmeaTablesFile.h"
#include "factory/ProvisioningHashes.h"
#include "factory/ProvisioningImages.h"
#include "factory/SerialNumber.h"
#include "factory/UnitRecordKeeping.h"
#include "platform/ProductionDatabase.h"
#include "transfer/UnitCopies.h"

#include <optional>
#include <string>
#include <vector>

namespace orvane {

namespace {

constexpr int kSerialProgressSteps = 2;
constexpr int kNmeaProgressSteps = 16;
constexpr int kNmeaTableBlocks = 6;

constexpr Prompt kSerialPrompt
    = {"Get new Orvane Serial Number", "Enter Orvane Serial Number YMMDDnnn"};
constexpr Prompt kNewSerialPrompt
    = {"Get new Tessaro Serial Number", "Enter Tessaro Serial Number YYMMDDnnn"};
constexpr Prompt kProductCodePrompt
    = {"Get new Tessaro Product Code",
       "Enter Tessaro product code (1=Orvane, 2=Brenlow, 3=Quillet)"};
constexpr Prompt kFirmwarePrompt = {"Get new Tessaro Firmware # (Sw_Ver)", "Enter Tessaro Sw_Ver"};

// --- files ----------------------------------------------------------------------

// `kept`, when given, keeps each file's bytes as read, for the unit's record.
template<typename Read>
auto loadWorkingFile(FactoryExchange &exchange,
                     std::string_view name,
                     Read read,
                     FileBytesByName *kept = nullptr)
    -> std::optional<std::decay_t<decltype(*read(std::string_view(), name))>>
{
    const auto text = exchange.readWorkingFile(name);
    if (!text)
        return std::nullopt;
    if (kept)
        (*kept)[std::string(name)] = *text;
    auto parsed = read(*text, name);
    if (!parsed)
        return exchange.refuse(parsed.error(), "File Error");
    return std::move(*parsed);
}

std::optional<std::vector<EepromBlock>> loadCalibrationCurves(FactoryExchange &exchange,
                                                              FileBytesByName *kept = nullptr)
{
    return loadWorkingFile(exchange, kCalibrationCurvesFileName, readCalibrationCurves, kept);
}

std::optional<std::vector<EepromBlock>> loadNmeaBlocks(FactoryExchange &exchange,
                                                       FileBytesByName *kept = nullptr)
{
    const auto tables = loadWorkingFile(exchange, kNmeaTablesFileName, readNmeaTables, kept);
    if (!tables)
        return std::nullopt;
    const auto points = loadWorkingFile(exchange, kDecimalPointsFileName, readDecimalPoints, kept);
    if (!points)
        return std::nullopt;
    return nmeaUploadBlocks(*tables, *points);
}

std::optional<std::vector<LoadedCodeModule>> loadCodeModules(FactoryExchange &exchange,
                                                             FileBytesByName &kept)
{
    FileSystem &files = exchange.services().platform.files;
    auto modules = loadNewUnitCodeModules([&](const std::string &name) {
        Result<std::string> bytes = files.readFile(exchange.workingPath(name));
        if (bytes)
            kept[name] = *bytes;
        return bytes;
    });
    if (!modules)
        return exchange.refuse(
            modules.error() + " (working folder: " + exchange.services().files.WorkingFolder + ")",
            "File Error");
    return std::move(*modules);
}

// --- what is sent -----------------------------------------------------------------

bool sendSerialNumber(FactoryExchange &exchange,
                      const SerialNumberBytes &serial,
                      std::optional<uint8_t> firmware)
{
    FactoryView &view = exchange.view();
    view.setProgress(0, kSerialProgressSteps);
    view.setProgressText("Writing the serial number");
    view.showProgress();
    exchange.step("reading the internal NVM for the serial number");
    std::optional<SettingsImage> settings = exchange.readSettings(Exchange::kSettingsReadLeadPause);
    if (!settings)
        return false;
    writeNewSerialNumber(*settings,
                         serial,
                         firmware.value_or(uint8_t(fieldValue(kFirmwareVersion, *settings))));
    view.setProgress(1, kSerialProgressSteps);
    exchange.step("writing the serial number into the internal NVM");
    if (!exchange.writeSettings(*settings))
        return false;
    view.hideProgress();
    return true;
}

bool sendZeroLogs(FactoryExchange &exchange, uint16_t maintenanceInterval, uint8_t productCode)
{
    exchange.view().setProgressText("Clearing the logs and the date of first use");
    const std::vector<EepromBlock> logs = logAreaBlocks(maintenanceInterval);
    exchange.step("clearing the log record at 24C512 address 0");
    if (!exchange.writeBlock(CommandCode::WriteEeprom, logs[0].address, logs[0].bytes, 0))
        return false;
    exchange.delay(kLogSpareLeadPause);
    exchange.step("clearing the log area at 24C512 address 128");
    if (!exchange.writeBlock(CommandCode::WriteEeprom,
                             logs[1].address,
                             logs[1].bytes,
                             kLogSpareWritePause))
        return false;

    exchange.step("reading the internal NVM to reset it");
    std::optional<SettingsImage> settings = exchange.readSettings(0);
    if (!settings)
        return false;
    zeroLogsAndDate(*settings, productCode);
    exchange.step("writing a fresh unit's internal NVM values");
    if (!exchange.writeSettings(*settings))
        return false;
    exchange.beep();
    return true;
}

bool sendCalibrationCurves(FactoryExchange &exchange, const std::vector<EepromBlock> &curves)
{
    FactoryView &view = exchange.view();
    const int count = int(curves.size());
    view.setProgress(0, count);
    view.setProgressText("Writing the calibration curves");
    view.showProgress();
    for (int c = 1; c <= count; ++c) {
        const EepromBlock &curve = curves[size_t(c - 1)];
        exchange.step("writing calibration curve " + std::to_string(c) + " of "
                      + std::to_string(count) + " to 24C512 address "
                      + std::to_string(curve.address));
        if (!exchange.writeBlock(CommandCode::WriteEeprom,
                                 curve.address,
                                 curve.bytes,
                                 kDataBlockPause))
            return false;
        view.setProgress(c, count);
    }
    view.hideProgress();
    return true;
}

bool sendNmeaBlocks(FactoryExchange &exchange, const std::vector<EepromBlock> &blocks)
{
    FactoryView &view = exchange.view();
    view.setProgress(0, kNmeaProgressSteps);
    view.setProgressText("Writing the NMEA and decimal-point tables");
    view.showProgress();
    for (size_t g = 0; g < blocks.size(); ++g) {
        const EepromBlock &block = blocks[g];
        const bool table = g < kNmeaTableBlocks;
        exchange.step(std::string(table ? "writing the NMEA tables" : "writing the decimal points")
                      + " at 24C512 address " + std::to_string(block.address));
        if (!exchange.writeBlock(CommandCode::WriteEeprom,
                                 block.address,
                                 block.bytes,
                                 table ? kDataBlockPause : 0))
            return false;
        if (table)
            view.setProgress(kNmeaProgressSteps * int(g + 1) / kNmeaTableBlocks,
                             kNmeaProgressSteps);
    }
    view.hideProgress();
    return true;
}

uint16_t maintenanceInterval(const ConfigImage &image)
{
    return uint16_t(fieldValue(kMaintenanceAlarm, image.IntNvm));
}

// "Make NEW Tessaro" drives the other tools without their questions, and a
// new unit's curves are all reset, only while it runs. The serial number
// waits for the next upload only once a unit was connected and made; however
// else the tool ends, the next upload writes what it would have before.
class ProvisioningFlags
{
public:
    explicit ProvisioningFlags(TransferState &transfer)
        : m_transfer(transfer)
        , m_showUploadWarning(transfer.ShowUploadWarning)
        , m_newUnitPending(transfer.NewUnitPending)
        , m_newSerialPending(transfer.NewSerialPending)
        , m_newSerialBytes(transfer.NewSerialBytes)
    {
        m_transfer.ShowUploadWarning = false;
        m_transfer.NewUnitPending = true;
    }
    ~ProvisioningFlags()
    {
        m_transfer.ShowUploadWarning = m_showUploadWarning;
        m_transfer.NewUnitPending = m_newUnitPending;
        if (m_made)
            return;
        m_transfer.NewSerialPending = m_newSerialPending;
        m_transfer.NewSerialBytes = m_newSerialBytes;
    }
    ProvisioningFlags(const ProvisioningFlags &) = delete;
    ProvisioningFlags &operator=(const ProvisioningFlags &) = delete;

    // The unit on the line is the one the serial number is for.
    void awaitSerial(const SerialNumberBytes &serial)
    {
        m_transfer.NewSerialBytes = serial;
        m_transfer.NewSerialPending = true;
    }
    // The unit was made: its serial number waits for its upload.
    void made() { m_made = true; }

private:
    TransferState &m_transfer;
    bool m_showUploadWarning;
    bool m_newUnitPending;
    bool m_newSerialPending;
    SerialNumberBytes m_newSerialBytes;
    bool m_made = false;
};

// A refurbished unit's settings are kept as an upload keeps them, before
// anything is written; a unit without a serial number has none worth
// keeping. Nothing when the tool may go on; otherwise how it stopped.
std::optional<FactoryResult> keepUnitCopy(FactoryExchange &exchange,
                                          const SerialNumberBytes &newSerial)
{
    FactoryView &view = exchange.view();
    view.setProgress(0, 1);
    view.setProgressText("Keeping a copy of the unit's settings");
    view.showProgress();
    exchange.step("reading the Orvane's settings for its copy");
    const std::optional<SettingsImage> settings
        = exchange.readSettings(Exchange::kSettingsReadLeadPause);
    if (!settings)
        return exchange.fail();
    InstrumentSnapshot held;
    held.settings = *settings;
    if (carriesSerialNumber(held)) {
        if (!exchange.readUnitRecords(held))
            return exchange.fail();
        exchange.step("saving the copy of the Orvane's settings");
        FactoryServices &services = exchange.services();
        const Result<UnitCopy> copy
            = saveUnitCopy(services.platform.files,
                           held,
                           "Made new as unit "
                               + std::to_string(serialNumberFromBytes(
                                   {newSerial[0], newSerial[1], newSerial[2], newSerial[3]})),
                           services.platform.clock.localDateTime(),
                           services.link.linkState().ComPortNumber);
        if (!copy) {
            view.hideProgress();
            exchange.refuse(copyNotKeptMessage(copy.error()), kCopyNotSavedTitle);
            return exchange.stopped();
        }
    }
    view.hideProgress();
    return std::nullopt;
}

// What a unit is made with, and how it reads when made: the hashes of its
// files and the areas written, for its record and its verification.
UnitDetails
newUnitDetails(const NewUnitOrder &order, const LinkState &link, std::vector<FileHash> files)
{
    UnitDetails details;
    details.productCode = order.productCode;
    details.firmware = order.firmware;
    details.hardwareVersion = link.HardwareVersionText;
    details.moduleVersions = link.SoftwareVersionText;
    for (const std::string &chip : link.ChipVersionText)
        if (!chip.empty())
            details.moduleVersions += " " + chip;
    details.files = std::move(files);
    return details;
}

std::vector<WrittenArea> newUnitAreas(const std::vector<EepromBlock> &curves,
                                      const std::vector<EepromBlock> &nmea,
                                      const std::vector<LoadedCodeModule> &modules,
                                      uint8_t productCode)
{
    std::vector<WrittenArea> areas;
    for (size_t c = 0; c < curves.size(); ++c)
        areas.push_back({"calibration curve " + std::to_string(c + 1), curves[c]});
    for (size_t g = 0; g < nmea.size(); ++g)
        areas.push_back({g < kNmeaTableBlocks ? "the NMEA tables" : "the decimal points", nmea[g]});
    areas.push_back({"the product code", {kProductCodeAddress, {productCode}}});
    for (const LoadedCodeModule &module : modules)
        areas.push_back(
            {std::string(module.module.fileName), {module.module.address, module.code.bytes}});
    return areas;
}

// Make NEW once the unit's number is taken: every file checked and the
// record told what the unit is made with before the first byte goes out,
// then everything written, then read back.
FactoryResult
makeUnit(FactoryExchange &exchange, const NewUnitOrder &order, UnitRecordKeeping &keeping)
{
    FactoryServices &services = exchange.services();
    const Result<SerialNumberBytes> serial = serialNumberBytes(keeping.serial());
    if (!serial) {
        exchange.refuse(serial.error(), kRegisterTitle);
        return exchange.stopped();
    }
    // Every file is read and checked before the first byte goes out, so a
    // missing or bad one never leaves a half-provisioned unit.
    FileBytesByName read;
    const auto curves = loadCalibrationCurves(exchange, &read);
    if (!curves)
        return exchange.stopped();
    const auto nmea = loadNmeaBlocks(exchange, &read);
    if (!nmea)
        return exchange.stopped();
    const auto modules = loadCodeModules(exchange, read);
    if (!modules)
        return exchange.stopped();
    const Result<std::vector<FileHash>> hashes = provisioningFileHashes(read);
    if (!hashes) {
        exchange.refuse(hashes.error(), "File Error");
        return exchange.stopped();
    }
    // The versions come once this unit is connected; the link may still
    // hold an earlier unit's.
    if (const Result<> described = keeping.describe(newUnitDetails(order, LinkState{}, *hashes));
        !described) {
        exchange.refuse(described.error(), kRegisterTitle);
        return exchange.stopped();
    }

    TransferState &transfer = services.transfer;
    ProvisioningFlags flags(transfer);
    // Clearing the logs beeps as it begins, as it does on its own.
    exchange.beep();
    if (!exchange.connect())
        return exchange.stopped();
    // With the versions the unit gave, still before anything is written.
    if (const Result<> described
        = keeping.describe(newUnitDetails(order, services.link.linkState(), *hashes));
        !described) {
        exchange.refuse(described.error(), kRegisterTitle);
        return exchange.stopped();
    }
    flags.awaitSerial(*serial);
    // After connecting, which reads the code the unit held before.
    services.link.setProductCode(order.productCode);
    exchange.view().showProductCode(displayNumber(static_cast<long long>(order.productCode)));
    if (const std::optional<FactoryResult> stopped = keepUnitCopy(exchange, *serial))
        return *stopped;
    keeping.writingStarts();
    if (!sendZeroLogs(exchange, maintenanceInterval(services.document.image), order.productCode))
        return exchange.fail();
    exchange.beep();
    if (!curves->empty() && !sendCalibrationCurves(exchange, *curves))
        return exchange.fail();
    exchange.beep();
    if (!sendNmeaBlocks(exchange, *nmea))
        return exchange.fail();
    for (const LoadedCodeModule &module : *modules) {
        if (!storeCode(exchange, module.code, module.module.address, module.module.fileName))
            return exchange.fail();
    }
    WriteDefaultsToRam(services.document, transfer.NewUnitPending);
    exchange.view().imageChanged();
    if (!sendSerialNumber(exchange, *serial, order.firmware))
        return exchange.fail();
    if (const Result<> recorded = keeping.serialWritten(); !recorded) {
        exchange.refuse(recorded.error(), kRegisterTitle);
        return exchange.stopped();
    }
    exchange.step("writing the product code at 24C512 address "
                  + std::to_string(kProductCodeAddress));
    if (!exchange.writeByte(memoryFrame(CommandCode::WriteEeprom, 1, kProductCodeAddress),
                            order.productCode,
                            kProductCodeWritePause))
        return exchange.fail();
    flags.made();
    return verifyNewUnit(
        exchange,
        {*serial, order.firmware, newUnitAreas(*curves, *nmea, *modules, order.productCode)});
}

// Closes the unit's record as the making ended. A record that cannot be
// closed is said, and the tool fails with it.
FactoryResult
endRecord(FactoryExchange &exchange, UnitRecordKeeping &keeping, const FactoryResult &made)
{
    const Result<> ended = keeping.end(made);
    if (ended)
        return made;
    exchange.refuse(ended.error(), kRegisterTitle);
    return made ? exchange.stopped() : failure(made.error() + " " + ended.error());
}

} // namespace

FactoryResult writeSerialNumber(FactoryServices &services)
{
    FactoryExchange exchange(services, ExchangeKind::Writes);
    if (exchange.busy())
        return exchange.refuseBusy();
    exchange.beep();
    if (!exchange.confirm("Upload new Serial Number to Orvane",
                          "This will overwrite the Serial Number in the Orvane !"))
        return exchange.stopped();
    const auto serial = exchange.ask(kSerialPrompt, parseSerialNumber);
    if (!serial)
        return exchange.stopped();
    services.transfer.NewSerialBytes = *serial;
    if (!exchange.connect())
        return exchange.stopped();
    // A unit on the bench keeps the firmware number it holds.
    if (!sendSerialNumber(exchange, *serial, std::nullopt))
        return exchange.fail();
    return FactoryOutcome::Completed;
}

FactoryResult zeroLogs(FactoryServices &services)
{
    FactoryExchange exchange(services, ExchangeKind::Writes);
    if (exchange.busy())
        return exchange.refuseBusy();
    exchange.beep();
    if (!exchange.confirm("Clear Orvane Logs, etc.",
                          "This will overwrite the Distance, Fuel Logs and Date-Of-First-Use in "
                          "the Orvane 24C512!"))
        return exchange.stopped();
    if (!exchange.connect())
        return exchange.stopped();
    if (!sendZeroLogs(exchange,
                      maintenanceInterval(services.document.image),
                      services.link.linkState().ProductCode))
        return exchange.fail();
    return FactoryOutcome::Completed;
}

FactoryResult uploadCalibrationCurves(FactoryServices &services)
{
    FactoryExchange exchange(services, ExchangeKind::Writes);
    if (exchange.busy())
        return exchange.refuseBusy();
    const auto curves = loadCalibrationCurves(exchange);
    if (!curves)
        return exchange.stopped();
    exchange.beep();
    if (!exchange.confirm("Upload Calibration Curves from PC to Orvane",
                          "This will overwrite all the Calibration Curves in the Orvane !"))
        return exchange.stopped();
    if (curves->empty())
        return FactoryOutcome::Completed;
    if (!exchange.connect())
        return exchange.stopped();
    if (!sendCalibrationCurves(exchange, *curves))
        return exchange.fail();
    return FactoryOutcome::Completed;
}

FactoryResult uploadNmeaTables(FactoryServices &services)
{
    FactoryExchange exchange(services, ExchangeKind::Writes);
    if (exchange.busy())
        return exchange.refuseBusy();
    const auto blocks = loadNmeaBlocks(exchange);
    if (!blocks)
        return exchange.stopped();
    exchange.beep();
    if (!exchange.confirm("Upload display configurations from PC to Orvane",
                          "This will overwrite all the display configurations in the Orvane !"))
        return exchange.stopped();
    if (!exchange.connect())
        return exchange.stopped();
    if (!sendNmeaBlocks(exchange, *blocks))
        return exchange.fail();
    return FactoryOutcome::Completed;
}

FactoryResult makeNewUnit(FactoryServices &services)
{
    FactoryExchange exchange(services, ExchangeKind::Writes);
    if (exchange.busy())
        return exchange.refuseBusy();
    exchange.beep();
    if (!exchange.confirm("Upload new data to new Orvane",
                          "This will overwrite everything in the Orvane !"))
        return exchange.stopped();
    // The register is reached before the first question, so that a database
    // that does not answer stops the tool before anything is sent.
    ProductionDatabase &database = services.platform.production;
    auto productionRegister = database.open(database.choose({}), RegisterUse::Record);
    if (!productionRegister) {
        exchange.refuse(registerStopsSentence(productionRegister.error()), kRegisterTitle);
        return exchange.stopped();
    }
    const std::optional<UnitRecord> record
        = chooseNewUnitSerial(exchange,
                              **productionRegister,
                              kNewSerialPrompt,
                              productionDayToday(services.platform.clock),
                              services.link.linkState().ComPortNumber);
    if (!record)
        return exchange.stopped();
    UnitRecordKeeping keeping(**productionRegister, *record);

    const auto made = [&]() -> FactoryResult {
        const auto productCode = exchange.ask(kProductCodePrompt, parseProductCode);
        if (!productCode)
            return exchange.stopped();
        const auto firmware = exchange.ask(kFirmwarePrompt, parseFirmwareNumber);
        if (!firmware)
            return exchange.stopped();
        return makeUnit(exchange, {*productCode, *firmware}, keeping);
    }();
    if (const FactoryResult ended = endRecord(exchange, keeping, made);
        !ended || *ended != FactoryOutcome::Completed)
        return ended;
    services.platform.dialogs.messageBox(kNewUnitDoneText,
                                         "Make NEW Tessaro",
                                         MessageIcon::None,
                                         MessageButtons::Ok);
    exchange.view().hideWindow();
    return FactoryOutcome::Completed;
}

ProvisionedUnit provisionNewUnit(FactoryServices &services,
                                 ProductionRegister &productionRegister,
                                 const NewUnitOrder &order)
{
    FactoryExchange exchange(services, ExchangeKind::Writes);
    if (exchange.busy())
        return {0, exchange.refuseBusy()};
    const Result<UnitRecord> issued
        = productionRegister.issueNext(productionDayToday(services.platform.clock),
                                       services.link.linkState().ComPortNumber);
    if (!issued) {
        exchange.refuse(registerStopsSentence(issued.error()), kRegisterTitle);
        return {0, exchange.stopped()};
    }
    UnitRecordKeeping keeping(productionRegister, *issued);
    const FactoryResult made = makeUnit(exchange, order, keeping);
    return {keeping.serial(), endRecord(exchange, keeping, made)};
}

} // namespace orvane
