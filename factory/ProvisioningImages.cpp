#include "factory/ProvisioningImages.h"

#include <algorithm>
#include <utility>

namespace orvane {

namespace {

constexpr size_t kLogRecordBytes = 128;
constexpr size_t kLogCopyOffset = 32; // the record is kept twice
constexpr size_t kLogUsedBytes = 64;
constexpr size_t kNmeaBlockBytes = 128;

// Internal NVM values of a unit leaving the factory; every other byte keeps
// what the instrument holds.
constexpr std::pair<int, uint8_t> kFreshUnitNvm[] = {
    {5, 1},    {6, 1},    {7, 5},    {8, 0},     {9, 0},   {10, 0},    {11, 0},  {16, 0},
    {17, 255}, {18, 255}, {19, 255}, {20, 0},    {21, 3},  {22, 232},  {23, 3},  {24, 232},
    {25, 10},  {32, 0},   {45, 50},  {62, 0},    {63, 0},  {66, 5},    {67, 10}, {92, 1},
    {93, 244}, {102, 0},  {104, 3},  {105, 0},   {106, 3}, {107, 100}, {108, 3}, {109, 0},
    {110, 0},  {113, 3},  {114, 4},  {115, 176},
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

uint8_t nvmCheckByte(const NvmBuffer &nvm)
{
    uint8_t x = 0;
    for (size_t i = 1; i < nvm.size(); ++i)
        x ^= nvm[i];
    return x;
}

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

void zeroLogsAndDate(NvmBuffer &nvm, uint8_t productCode)
{
    nvm[3] = productCode == kBrenlowProductCode ? 1 : 0;
    for (const auto &[index, value] : kFreshUnitNvm)
        nvm[size_t(index)] = value;
    nvm[0] = nvmCheckByte(nvm);
}

void writeNewSerialNumber(NvmBuffer &nvm, const SerialNumberBytes &serial, uint8_t firmware)
{
    std::copy(serial.begin(), serial.end(), nvm.begin() + 12);
    nvm[94] = firmware;
    nvm[255] = 255;
    nvm[0] = nvmCheckByte(nvm);
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
