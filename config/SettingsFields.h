#pragma once

#include "platform/Check.h"

#include <array>
#include <cstdint>
#include <string_view>

// The fields of the settings memory (IntNvm): where each lies, which bits it
// holds, how its stored value reads and what a person calls it. The editors,
// the comparison, the transfer categories and the factory's images name
// their fields here, so that a field mended once is right for all of them.

namespace orvane {

// How a field's stored value reads.
enum class FieldKind : uint8_t {
    Number,    // the stored number over `scale`, with `decimals` decimals
    Hours,     // minutes, read as hours
    Ratio,     // n, read "n:1"
    TimeOfDay, // an hours byte, then a minutes byte
    Date,      // two-digit year, month, day
    Coded,     // bits or codes that a menu, a list or the identity names
};

struct SettingsField
{
    std::string_view caption = {}; // empty where the meaning is the instrument's alone
    int address = 0;
    int width = 1;       // bytes; a value of several is stored high byte first
    uint8_t mask = 0xFF; // the bits of each byte that belong to the field
    FieldKind kind = FieldKind::Number;
    int scale = 1;    // stored units per unit read: 10 for tenths, 60 for minutes read as hours
    int decimals = 0; // decimals a value is read with

    constexpr int end() const { return address + width; } // one past the last byte
    constexpr bool holds(int at) const { return at >= address && at < end(); }
};

// Like fields side by side: field k (from 0) lies k * stride bytes after the
// first. A run's caption names the kind; its readers say which one.
struct FieldRun
{
    SettingsField first;
    int count = 1;
    int stride = 1;

    constexpr SettingsField at(int k) const
    {
        ORVANE_CHECK(k >= 0 && k < count, k = 0);
        SettingsField field = first;
        field.address += k * stride;
        return field;
    }
    constexpr int end() const { return at(count - 1).end(); }
};

// --- bookkeeping of the instrument and the transfers ------------------------

// The exclusive-or of bytes 1..255, computed by every writer.
inline constexpr SettingsField kSettingsCheckByte
    = {.caption = "Settings check byte", .address = 0};
// Set to 1 in the instrument by the firmware update.
inline constexpr SettingsField kFirmwareUpdate
    = {.caption = "Firmware update request", .address = 3};
// 1..16; every file load makes it 1.
inline constexpr SettingsField kCurrentConfiguration
    = {.caption = "Configuration being edited", .address = 6};
// Three-valued; the copy of code to flash sets it to 0.
inline constexpr SettingsField kCodeSelector = {.address = 8};
inline constexpr SettingsField kUploadCounter
    = {.caption = "Upload counter", .address = 10, .width = 2};
// Two-digit year, month, day, unit of that day.
inline constexpr SettingsField kSerialNumber
    = {.caption = "Serial number", .address = 12, .width = 4, .kind = FieldKind::Coded};
inline constexpr SettingsField kFirstUploadDate
    = {.caption = "Date of the first upload", .address = 17, .width = 3, .kind = FieldKind::Date};
inline constexpr unsigned kNoDate = 0xFFFFFF; // a blank memory: every date is earlier
inline constexpr SettingsField kFirmwareVersion = {.caption = "Firmware version", .address = 94};

// --- units and formats ----------------------------------------------------------

// One byte of flags; its bits 0x01 and 0x80 are the instrument's.
inline constexpr SettingsField kUnitsAndFormats
    = {.caption = "Units and formats", .address = 1, .kind = FieldKind::Coded};
inline constexpr SettingsField kSpeedUnits
    = {.caption = "Speed units", .address = 1, .mask = 0x60, .kind = FieldKind::Coded};
inline constexpr uint8_t kKnots = 0x00; // and nautical miles
inline constexpr uint8_t kMph = 0x20;   // and miles
inline constexpr uint8_t kKmh = 0x40;   // and kilometres
// Set: degrees F; clear: degrees C.
inline constexpr SettingsField kTemperatureUnits
    = {.caption = "Temperature units", .address = 1, .mask = 0x08, .kind = FieldKind::Coded};
// Set: PSI; clear: bars.
inline constexpr SettingsField kPressureUnits
    = {.caption = "Pressure units", .address = 1, .mask = 0x10, .kind = FieldKind::Coded};
// Set: 12-hour clock; clear: 24-hour.
inline constexpr SettingsField kTimeFormat
    = {.caption = "Time format", .address = 1, .mask = 0x04, .kind = FieldKind::Coded};
// Set: bar chart; clear: pointer.
inline constexpr SettingsField kBarGraphType
    = {.caption = "Bar graph type", .address = 1, .mask = 0x02, .kind = FieldKind::Coded};

// --- tachometer, tanks, maintenance alarm ------------------------------------

// The high four bits are the instrument's.
inline constexpr SettingsField kTachoSensitivity
    = {.caption = "Tacho sensitivity", .address = 2, .mask = 0x0F, .kind = FieldKind::Coded};
inline constexpr SettingsField kTachoPulleyRatio
    = {.caption = "Tacho pulley ratio", .address = 7, .kind = FieldKind::Ratio};
// 0 is off.
inline constexpr SettingsField kFuelTankSize
    = {.caption = "Fuel tank size", .address = 21, .width = 2, .scale = 10, .decimals = 1};
inline constexpr SettingsField kSecondTankSize
    = {.caption = "Second tank size", .address = 23, .width = 2, .scale = 10, .decimals = 1};
// Minutes, typed as hours to the tenth; 0 is off.
inline constexpr SettingsField kMaintenanceAlarm = {.caption = "Engine maintenance alarm",
                                                    .address = 114,
                                                    .width = 2,
                                                    .kind = FieldKind::Hours,
                                                    .scale = 60,
                                                    .decimals = 1};

// --- display damping, 0..250 each --------------------------------------------

inline constexpr SettingsField kNmea2BDamping = {.caption = "Display damping", .address = 102};
inline constexpr SettingsField kEngineRpmDamping = {.caption = "Display damping", .address = 104};
inline constexpr SettingsField kNmea2ADamping = {.caption = "Display damping", .address = 105};
inline constexpr SettingsField kBoatSpeedDamping = {.caption = "Display damping", .address = 106};
inline constexpr SettingsField kTank1Damping = {.caption = "Display damping", .address = 107};
inline constexpr SettingsField kTank2Damping = {.caption = "Display damping", .address = 108};
inline constexpr SettingsField kNmea3ADamping = {.caption = "Display damping", .address = 109};
inline constexpr SettingsField kNmea3BDamping = {.caption = "Display damping", .address = 110};
inline constexpr SettingsField kTrimDamping = {.caption = "Display damping", .address = 113};

// In the order of the damping dialog's list of functions.
inline constexpr std::array<SettingsField, 9> kDampingFields = {
    kBoatSpeedDamping,
    kEngineRpmDamping,
    kNmea2ADamping,
    kNmea2BDamping,
    kNmea3ADamping,
    kNmea3BDamping,
    kTank1Damping,
    kTank2Damping,
    kTrimDamping,
};

// --- time-of-day alarms: hours 0..23, then minutes 0..59 ---------------------

inline constexpr FieldRun kTodAlarms
    = {{.caption = "Time-of-day alarm", .address = 46, .width = 2, .kind = FieldKind::TimeOfDay},
       8,
       2};

// --- sender type codes ---------------------------------------------------------

inline constexpr SettingsField kFuelSender
    = {.caption = "Fuel sender", .address = 98, .kind = FieldKind::Coded};
inline constexpr SettingsField kTrimSender
    = {.caption = "Trim sender", .address = 99, .kind = FieldKind::Coded};
inline constexpr SettingsField kEngineTempSender
    = {.caption = "Engine temperature sender", .address = 100, .kind = FieldKind::Coded};
inline constexpr SettingsField kOilPressureSender
    = {.caption = "Oil pressure sender", .address = 101, .kind = FieldKind::Coded};
inline constexpr SettingsField kSecondTankSender
    = {.caption = "Second tank sender", .address = 103, .kind = FieldKind::Coded};

// In the order of the sender dialog's lists.
inline constexpr std::array<SettingsField, 5> kSenderFields = {
    kEngineTempSender,
    kFuelSender,
    kOilPressureSender,
    kTrimSender,
    kSecondTankSender,
};

// --- values set on the instrument only ---------------------------------------

// The 16-bit fine calibration values, then the one that is a single byte.
inline constexpr SettingsField kFineCalibrationByte
    = {.caption = "Fine calibration", .address = 45};
inline constexpr std::array<SettingsField, 12> kFineCalibrations = {{
    {.caption = "Fine calibration", .address = 26, .width = 2},
    {.caption = "Fine calibration", .address = 28, .width = 2},
    {.caption = "Fine calibration", .address = 30, .width = 2},
    {.caption = "Fine calibration", .address = 33, .width = 2},
    {.caption = "Fine calibration", .address = 35, .width = 2},
    {.caption = "Fine calibration", .address = 37, .width = 2},
    {.caption = "Fine calibration", .address = 39, .width = 2},
    {.caption = "Fine calibration", .address = 41, .width = 2},
    {.caption = "Fine calibration", .address = 43, .width = 2},
    {.caption = "Fine calibration", .address = 64, .width = 2},
    {.caption = "Fine calibration", .address = 111, .width = 2},
    kFineCalibrationByte,
}};
inline constexpr SettingsField kRaceTimer = {.caption = "Race timer setting", .address = 66};

// --- NMEA inputs ---------------------------------------------------------------

// Talker, sentence and comma count, each its list position + 1, 0 for
// nothing chosen.
inline constexpr FieldRun kNmeaInputs
    = {{.caption = "NMEA input", .address = 68, .width = 3, .kind = FieldKind::Coded}, 8, 3};
inline constexpr std::array<std::string_view, 8> kNmeaInputNames
    = {"#1A", "#1B", "#2A", "#2B", "#3A", "#3B", "#4A", "#4B"};

// --- alarm records: a low alarm, then a high alarm, 16-bit each --------------

// One per data source that has alarms; the data source table says which is
// whose, and with how many decimals. Six more records of the same shape
// follow, addressed by no data source.
inline constexpr FieldRun kAlarmRecords
    = {{.caption = "Alarm record", .address = 128, .width = 4}, 25, 4};

constexpr SettingsField lowAlarm(int record)
{
    return {.caption = "low alarm", .address = record, .width = 2};
}
constexpr SettingsField highAlarm(int record)
{
    return {.caption = "high alarm", .address = record + 2, .width = 2};
}

// --- bytes whose meaning only the instrument knows ---------------------------

// Only a fresh unit's values write these; neighbours it writes together are
// one field.
inline constexpr SettingsField kUnnamed5 = {.address = 5};
inline constexpr SettingsField kUnnamed9 = {.address = 9};
inline constexpr SettingsField kUnnamed16 = {.address = 16};
inline constexpr SettingsField kUnnamed20 = {.address = 20};
inline constexpr SettingsField kUnnamed25 = {.address = 25};
inline constexpr SettingsField kUnnamed32 = {.address = 32};
inline constexpr SettingsField kUnnamed62 = {.address = 62, .width = 2};
inline constexpr SettingsField kUnnamed67 = {.address = 67};
inline constexpr SettingsField kUnnamed92 = {.address = 92, .width = 2};
// Set to 255 with every new serial number.
inline constexpr SettingsField kUnnamed255 = {.address = 255};

// --- values --------------------------------------------------------------------

// A field's value from any 256-byte image: its bytes, high first, as one
// number; the bits of a one-byte field in place (speed units read 0x00, 0x20
// or 0x40).
template<class Bytes>
unsigned fieldValue(const SettingsField &field, const Bytes &bytes)
{
    unsigned value = 0;
    for (int i = field.address; i < field.end(); ++i)
        value = value << 8 | (bytes[i] & field.mask);
    return value;
}

// Stores a value as fieldValue reads it; the bits outside the mask stay.
template<class Bytes>
void setFieldValue(Bytes &bytes, const SettingsField &field, unsigned value)
{
    for (int i = field.end() - 1; i >= field.address; --i, value >>= 8)
        bytes[i] = uint8_t((bytes[i] & ~field.mask) | (value & field.mask));
}

} // namespace orvane
