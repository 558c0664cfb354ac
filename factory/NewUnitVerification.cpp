#include "factory/NewUnitVerification.h"

#include "config/SettingsFields.h"
#include "link/CommandFrames.h"

#include <algorithm>

namespace orvane {

namespace {

constexpr int kEepromBytes = 65536;
constexpr const char *kNotVerifiedTitle = "New Unit Not Verified";

std::string mismatchSentence(const std::string &where, int found, int written)
{
    return "The Orvane does not hold what was written: " + where + " reads " + std::to_string(found)
           + " where " + std::to_string(written)
           + " was written. The unit is not verified; make it again, and if it fails the same "
             "way, set it aside.";
}

} // namespace

std::vector<AreaRead> areaReads(const std::vector<WrittenArea> &areas)
{
    std::vector<bool> covered(kEepromBytes, false);
    for (const WrittenArea &area : areas)
        for (size_t i = 0; i < area.block.bytes.size() && area.block.address + i < covered.size();
             ++i)
            covered[area.block.address + i] = true;
    std::vector<AreaRead> reads;
    for (int address = 0; address < kEepromBytes; ++address) {
        if (!covered[size_t(address)])
            continue;
        if (!reads.empty() && reads.back().address + reads.back().count == address
            && reads.back().count < kMaxFrameCount)
            ++reads.back().count;
        else
            reads.push_back({uint16_t(address), 1});
    }
    return reads;
}

std::optional<std::string> firstMismatch(const std::vector<WrittenArea> &areas,
                                         const std::vector<int> &eeprom)
{
    for (const WrittenArea &area : areas)
        for (size_t i = 0; i < area.block.bytes.size(); ++i) {
            const size_t address = area.block.address + i;
            const int found = address < eeprom.size() ? eeprom[address] : -1;
            if (found != area.block.bytes[i])
                return mismatchSentence("24C512 address " + std::to_string(address) + " ("
                                            + area.what + ")",
                                        found,
                                        area.block.bytes[i]);
        }
    return std::nullopt;
}

FactoryResult verifyNewUnit(FactoryExchange &exchange, const NewUnitWrites &writes)
{
    FactoryView &view = exchange.view();
    const std::vector<AreaRead> reads = areaReads(writes.areas);
    const int steps = int(reads.size()) + 1;
    view.setProgress(0, steps);
    view.setProgressText("Reading the new unit back");
    view.showProgress();

    exchange.step("reading the serial number back");
    const std::optional<SettingsImage> settings = exchange.readSettings(0);
    if (!settings)
        return exchange.fail();
    std::optional<std::string> mismatch;
    for (size_t i = 0; i < writes.serial.size() && !mismatch; ++i) {
        const int address = kSerialNumber.address + int(i);
        if ((*settings)[size_t(address)] != writes.serial[i])
            mismatch = mismatchSentence("internal NVM address " + std::to_string(address)
                                            + " (the serial number)",
                                        (*settings)[size_t(address)],
                                        writes.serial[i]);
    }
    if (!mismatch && (*settings)[size_t(kFirmwareVersion.address)] != writes.firmware)
        mismatch
            = mismatchSentence("internal NVM address " + std::to_string(kFirmwareVersion.address)
                                   + " (the firmware number)",
                               (*settings)[size_t(kFirmwareVersion.address)],
                               writes.firmware);

    std::vector<int> eeprom(kEepromBytes, -1);
    for (size_t r = 0; r < reads.size() && !mismatch; ++r) {
        const AreaRead &read = reads[r];
        exchange.step("reading 24C512 address " + std::to_string(read.address) + " back");
        const std::vector<uint8_t> answer = exchange.readUntilComplete(
            memoryFrame(CommandCode::ReadEeprom, read.count, read.address),
            read.count,
            kVerifyReadTimeout);
        if (int(answer.size()) < read.count)
            return exchange.fail();
        std::copy(answer.begin(), answer.end(), eeprom.begin() + read.address);
        view.setProgress(int(r) + 2, steps);
    }
    if (!mismatch)
        mismatch = firstMismatch(writes.areas, eeprom);
    view.hideProgress();
    if (!mismatch)
        return FactoryOutcome::Completed;
    exchange.beep();
    exchange.services().platform.dialogs.messageBox(*mismatch,
                                                    kNotVerifiedTitle,
                                                    MessageIcon::Warning,
                                                    MessageButtons::Ok);
    return failure(*mismatch);
}

} // namespace orvane
