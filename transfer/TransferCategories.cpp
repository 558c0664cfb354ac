#include "transfer/TransferCategories.h"

#include "config/SettingsFields.h"

namespace orvane {

namespace {

void append(std::vector<int> &to, const SettingsField &field)
{
    for (int i = field.address; i < field.end(); ++i)
        to.push_back(i);
}

void append(std::vector<int> &to, const FieldRun &run)
{
    for (int k = 0; k < run.count; ++k)
        append(to, run.at(k));
}

template<size_t N>
void append(std::vector<int> &to, const std::array<SettingsField, N> &fields)
{
    for (const SettingsField &field : fields)
        append(to, field);
}

} // namespace

std::vector<int> categoryAddresses(Category category)
{
    std::vector<int> a;
    switch (category) {
    case Category::HiLoAlarmValues:
        append(a, kAlarmRecords);
        break;
    case Category::UnitsOfMeasure:
        append(a, kUnitsAndFormats);
        break;
    case Category::TachoSensitivity:
        append(a, kTachoSensitivity); // with the instrument's bits of its byte
        break;
    case Category::DisplayDamping:
        append(a, kDampingFields);
        break;
    case Category::SenderCurves:
        // The sender type codes; the curves themselves are EEPROM records.
        append(a, kSenderFields);
        break;
    case Category::TodAlarms:
        append(a, kTodAlarms);
        break;
    case Category::FuelTankSize:
        append(a, kFuelTankSize);
        break;
    case Category::SecondTankSize:
        append(a, kSecondTankSize);
        break;
    case Category::MaintenanceAlarm:
        append(a, kMaintenanceAlarm);
        break;
    case Category::TachoPulleyRatio:
        append(a, kTachoPulleyRatio);
        break;
    case Category::RaceTimers:
        append(a, kRaceTimer);
        break;
    case Category::FineCalibrations:
        append(a, kFineCalibrations);
        break;
    case Category::DisplayConfigurations:
    case Category::TodClock:
        break; // not in the settings image
    }
    return a;
}

std::vector<int> nmeaSelectionAddresses()
{
    std::vector<int> a;
    append(a, kNmeaInputs);
    return a;
}

} // namespace orvane
