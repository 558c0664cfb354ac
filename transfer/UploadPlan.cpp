#include "transfer/UploadPlan.h"

#include <algorithm>

namespace orvane {

SettingsImage uploadedSettings(const SettingsImage &read,
                               const IntNvmTable &nvm,
                               const Selection &ticks,
                               const UploadProvisioning &provisioning,
                               const LocalDateTime &today)
{
    SettingsImage buffer = read;
    bumpUploadCounter(buffer, provisioning.newUnit);
    keepFirstUploadDate(buffer, today);
    mergeUploadCategories(buffer, nvm, ticks);
    if (provisioning.newSerial)
        std::copy(provisioning.newSerial->begin(),
                  provisioning.newSerial->end(),
                  buffer.begin() + kSerialNumber.address);
    if (provisioning.newUnit)
        for (int i = 1; i < kSettingsSize; ++i)
            buffer[size_t(i)] = nvm[i];
    buffer[kSettingsCheckByte.address] = settingsCheckByte(buffer);
    return buffer;
}

bool isUploadBookkeeping(int address)
{
    return kSettingsCheckByte.holds(address) || kUploadCounter.holds(address)
           || kFirstUploadDate.holds(address);
}

namespace {

void planSettings(UploadPlan &plan, const InstrumentSnapshot &held, bool writeEverything)
{
    if (writeEverything)
        return; // Whole
    std::vector<int> changed;
    for (int i = 1; i < kSettingsSize; ++i)
        if (plan.target.settings[size_t(i)] != held.settings[size_t(i)])
            changed.push_back(i);
    if (std::any_of(changed.begin(), changed.end(), [](int i) { return !isUploadBookkeeping(i); }))
        return; // Whole
    if (changed.empty()) {
        const int check = kSettingsCheckByte.address;
        plan.settingsWrite = plan.target.settings[size_t(check)] == held.settings[size_t(check)]
                                 ? SettingsWrite::None
                                 : SettingsWrite::Whole;
        return;
    }
    plan.settingsWrite = SettingsWrite::Bookkeeping;
    plan.bookkeepingFirst = changed.front();
    plan.bookkeepingLast = changed.back();
}

} // namespace

UploadPlan planUpload(const InstrumentSnapshot &held,
                      const SettingsImage &settings,
                      const ConfigImage &image,
                      const Selection &ticks,
                      bool writeEverything)
{
    UploadPlan plan;
    plan.target = held;
    std::copy_n(settings.begin(), kSettingsSize, plan.target.settings.begin());
    planSettings(plan, held, writeEverything);

    if (isTicked(ticks, Category::DisplayConfigurations)) {
        plan.target.hasConfigurations = true;
        CdcTable cdc = image.CDC; // the record stores the check byte into its table
        for (int c = 1; c <= kConfigurations; ++c) {
            const EepromRecord record = configurationRecord(cdc, c);
            EepromRecord &target = plan.target.configurations[size_t(c - 1)];
            if (writeEverything || !held.hasConfigurations || record != target)
                plan.configurations.push_back(c);
            target = record;
        }
    }
    if (isTicked(ticks, Category::SenderCurves)) {
        plan.target.hasCurves = true;
        for (int i = 0; i < kUploadedCurveCount; ++i) {
            const int n = kUploadedCurves[size_t(i)];
            const EepromRecord record = curveRecord(image.CalCurve, n);
            EepromRecord &target = plan.target.curves[size_t(i)];
            if (writeEverything || !held.hasCurves || record != target)
                plan.curves.push_back(n);
            target = record;
        }
    }
    return plan;
}

UploadPlan restorePlan(const InstrumentSnapshot &held, const InstrumentSnapshot &copy)
{
    UploadPlan plan;
    plan.target = copy;
    planSettings(plan, held, false);
    for (int c = 1; c <= kConfigurations; ++c)
        if (held.configurations[size_t(c - 1)] != copy.configurations[size_t(c - 1)])
            plan.configurations.push_back(c);
    for (int i = 0; i < kUploadedCurveCount; ++i)
        if (held.curves[size_t(i)] != copy.curves[size_t(i)])
            plan.curves.push_back(kUploadedCurves[size_t(i)]);
    return plan;
}

bool writesAnything(const UploadPlan &plan)
{
    return plan.settingsWrite != SettingsWrite::None || !plan.configurations.empty()
           || !plan.curves.empty();
}

Comparison
planComparison(const InstrumentSnapshot &held, const UploadPlan &plan, bool withBookkeeping)
{
    return {imageFromSnapshot(held),
            imageFromSnapshot(plan.target),
            snapshotDifferences(held, plan.target, withBookkeeping)};
}

} // namespace orvane
