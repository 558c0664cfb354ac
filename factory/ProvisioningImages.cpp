#include "factory/ProvisioningImages.h"

#include "config/SettingsFields.h"

#include <algorithm>

namespace orvane {

namespace {

constexpr size_t kLogRecordBytes = 128;
constexpr size_t kLogCopyOffset = 32; // the record is kept twice
constexpr size_t kLogUsedBytes = 64;
constexpr size_t kNmeaBlockBytes = 128;

struct FieldValue
{
    SettingsField field;
    unsigned value;
};

// Internal NVM values of a unit leaving the factory; every other byte keeps
// what the instrument holds.
constexpr FieldValue kFreshUnitNvm[] = {
    {kUnnamed5, 1},          {kCurrentConfiguration, 1},
    {kTachoPulleyRatio, 5},  {kCodeSelector, 0},
    {kUnnamed9, 0},          {kUploadCounter, 0},
    {kUnnamed16, 0},         {kFirstUploadDate, kNoDate},
    {kUnnamed20, 0},         {kFuelTankSize, 1000},
    {kSecondTankSize, 1000}, {kUnnamed25, 10},
    {kUnnamed32, 0},         {kFineCalibrationByte, 50},
    {kUnnamed62, 0},         {kRaceTimer, 5},
    {kUnnamed67, 10},        {kUnnamed92, 500},
    {kNmea2BDamping, 0},     {kEngineRpmDamping, 3},
    {kNmea2ADamping, 0},     {kBoatSpeedDamping, 3},
    {kTank1Damping, 100},    {kTank2Damping, 3},
    {kNmea3ADamping, 0},     {kNmea3BDamping, 0},
    {kTrimDamping, 3},       {kMaintenanceAlarm, 1200},
};

constexpr int kBrenlowProductCode = 2;

template<size_t N>
void appendBlocks(std::vector<EepromBlock> &blocks,
                  uint16_t address,
                  const std::array<uint8_t, N> &table)
{
    for (size_t first = 0; first < N; first += kNmeaBlockBytes) {
        const auto begin = table.begin() + first;
        blocks.push_back(
            {uint16_t(address + first), std::vector<uint8_t>(begin, begin + kNmeaBlockBytes)});
    }
}

} // namespace

std::array<uint8_t, 128> logRecord(uint16_t maintenanceInterval)
{
    std::array<uint8_t, kLogRecordBytes> record{};
    std::fill(record.begin() + kLogUsedBytes, record.end(), uint8_t(255));
    for (size_t copy : {size_t(0), kLogCopyOffset}) {
        record[copy + 1] = 1;
        record[copy + 6] = uint8_t(maintenanceInterval >> 8);
        record[copy + 7] = uint8_t(maintenanceInterval & 0xFF);
    }
    uint8_t check = 0;
    for (size_t i = 1; i < kLogCopyOffset; ++i)
        check ^= record[i];
    record[0] = check;
    record[kLogCopyOffset] = check;
    return record;
}

std::vector<EepromBlock> logAreaBlocks(uint16_t maintenanceInterval)
{
    const auto record = logRecord(maintenanceInterval);
    return {
        {kLogRecordAddress, std::vector<uint8_t>(record.begin(), record.end())},
        {kLogSpareAddress, std::vector<uint8_t>(kLogRecordBytes, 255)},
    };
}

void zeroLogsAndDate(SettingsImage &nvm, uint8_t productCode)
{
    setFieldValue(nvm, kFirmwareUpdate, productCode == kBrenlowProductCode ? 1 : 0);
    for (const auto &[field, value] : kFreshUnitNvm)
        setFieldValue(nvm, field, value);
    nvm[kSettingsCheckByte.address] = settingsCheckByte(nvm);
}

void writeNewSerialNumber(SettingsImage &nvm, const SerialNumberBytes &serial, uint8_t firmware)
{
    std::copy(serial.begin(), serial.end(), nvm.begin() + kSerialNumber.address);
    setFieldValue(nvm, kFirmwareVersion, firmware);
    setFieldValue(nvm, kUnnamed255, 255);
    nvm[kSettingsCheckByte.address] = settingsCheckByte(nvm);
}

std::vector<EepromBlock> nmeaUploadBlocks(const NmeaTables &tables,
                                          const DecimalPointTable &decimalPoints)
{
    std::vector<EepromBlock> blocks;
    appendBlocks(blocks, kNmeaTablesAddress, tables.twoCharacter);
    appendBlocks(blocks,
                 uint16_t(kNmeaTablesAddress + tables.twoCharacter.size()),
                 tables.threeCharacter);
    blocks.push_back(
        {kDecimalPointsAddress, std::vector<uint8_t>(decimalPoints.begin(), decimalPoints.end())});
    return blocks;
}

EepromBlock productCodeBlock(uint8_t productCode)
{
    return {kProductCodeAddress, {productCode}};
}

} // namespace orvane
