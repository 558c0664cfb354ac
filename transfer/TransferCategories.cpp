#include "transfer/TransferCategories.h"

namespace orvane {

namespace {

void appendRange(std::vector<int> &to, int first, int last)
{
    for (int i = first; i <= last; ++i)
        to.push_back(i);
}

} // namespace

std::vector<int> categoryAddresses(Category category)
{
    std::vector<int> a;
    switch (category) {
    case Category::HiLoAlarmValues:
        appendRange(a, 128, 227);
        break;
    case Category::UnitsOfMeasure:
        a = {1};
        break;
    case Category::TachoSensitivity:
        a = {2};
        break;
    case Category::DisplayDamping:
        a = {102, 113};
        appendRange(a, 104, 110);
        break;
    case Category::SenderCurves:
        // The sender type bytes; the curves themselves are EEPROM records.
        a = {103};
        appendRange(a, 98, 101);
        break;
    case Category::TodAlarms:
        appendRange(a, 46, 61);
        break;
    case Category::FuelTankSize:
        a = {21, 22};
        break;
    case Category::SecondTankSize:
        a = {23, 24};
        break;
    case Category::MaintenanceAlarm:
        a = {114, 115};
        break;
    case Category::TachoPulleyRatio:
        a = {7};
        break;
    case Category::RaceTimers:
        a = {66};
        break;
    case Category::FineCalibrations:
        appendRange(a, 26, 31);
        appendRange(a, 33, 45);
        a.insert(a.end(), {64, 65, 111, 112});
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
    appendRange(a, 68, 91);
    return a;
}

} // namespace orvane
