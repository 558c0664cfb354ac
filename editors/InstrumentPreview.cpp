#include "editors/InstrumentPreview.h"

#include "config/NumberText.h"
#include "config/SettingsFields.h"
#include "editors/DisplayEncoding.h"

namespace orvane {

PreviewModel UpdateInstrumentDisplay(ConfigDocument &document, EditorState &editor)
{
    const ConfigImage &image = document.image;
    PreviewModel model;
    model.config = currentConfiguration(image);
    editor.currentConfig = uint8_t(model.config);

    model.iconBoxes = iconFlagsOfConfig(image, model.config);
    for (int i = 0; i < kIconItemCount; ++i)
        model.visible[size_t(i)] = model.iconBoxes[size_t(i)];

    repairPulleyRatio(document);
    model.settings = settingsView(image.IntNvm);
    for (PreviewItem pointer : {PreviewItem::PicDisplay4PointerU,
                                PreviewItem::PicDisplay4PointerD,
                                PreviewItem::PicDisplay5PointerU,
                                PreviewItem::PicDisplay5PointerD})
        model.visible[size_t(pointer)] = model.settings.showPointers;

    for (int d = 0; d < kDisplayCount; ++d) {
        const int byteNumber = kSourceBytes[size_t(d)];
        const uint8_t code = image.CDC(model.config, byteNumber);
        model.codes[size_t(d)] = code;
        model.chooserPositions[size_t(d)] = chooserSelection(code, listForByte(byteNumber));
    }
    return model;
}

namespace {

enum class Quantity { Plain, Speed, Distance, Temperature, Pressure, Clock, Duration };

struct Sample
{
    Quantity quantity;
    double value; // in knots, nautical miles, deg F, psi; times in their smaller unit
    int decimals;
};

constexpr double kMphPerKnot = 1.150779;
constexpr double kKmhPerKnot = 1.852;
constexpr double kBarPerPsi = 0.0689476;

std::optional<Sample> sampleFor(uint8_t code)
{
    switch (code) {
    case 1:
        return Sample{Quantity::Plain, 2450, 0}; // Engine RPM
    case 2:
        return Sample{Quantity::Temperature, 185, 0}; // Engine Temperature
    case 3:
        return Sample{Quantity::Pressure, 45, 1}; // Oil Pressure
    case 4:
        return Sample{Quantity::Plain, 1234.5, 1}; // Engine Hours
    case 5:
        return Sample{Quantity::Plain, 200, 1}; // Maintenance Alarm
    case 6:
        return Sample{Quantity::Plain, 85, 1}; // Fuel Remaining
    case 7:
        return Sample{Quantity::Plain, 12.5, 1}; // Trip Fuel Used
    case 8:
        return Sample{Quantity::Plain, 950, 1}; // Total Fuel Used
    case 9:
        return Sample{Quantity::Speed, 12.5, 2}; // Boat Speed
    case 10:
        return Sample{Quantity::Temperature, 68, 1}; // Seawater
    case 11:
        return Sample{Quantity::Distance, 24.6, 1}; // Trip Log
    case 12:
        return Sample{Quantity::Distance, 1520, 1}; // Total Log
    case 13:
        return Sample{Quantity::Clock, 14 * 60 + 35, 0}; // Time of Day
    case 14:
        return Sample{Quantity::Duration, 85, 0}; // Elapsed Trip Time
    case 16:
    case 17:
        return Sample{Quantity::Duration, 300, 0}; // Race Timers, minutes:seconds
    case 18:
        return Sample{Quantity::Plain, 12.6, 2}; // Battery Bank #1
    case 19:
        return Sample{Quantity::Plain, 12.45, 2}; // Battery Bank #2
    case 20:
        return Sample{Quantity::Plain, 13.2, 2}; // Battery Bank #3
    case 21:
        return Sample{Quantity::Plain, 5, 0}; // Trim Angle
    case 22:
        return Sample{Quantity::Temperature, 72.5, 1}; // Thermister #2
    case 31:
    case 32:
        return Sample{Quantity::Plain, 0, 1}; // Remote Data
    case 33:
        return Sample{Quantity::Plain, 50, 1}; // Tank2 Level
    default:
        if (code >= 23 && code <= 30) // NMEA inputs: whatever the sentence holds
            return Sample{Quantity::Plain, 10.4, 1};
        return std::nullopt;
    }
}

} // namespace

std::string sampleReading(uint8_t code, uint8_t unitsByte)
{
    const auto sample = sampleFor(code);
    if (!sample)
        return {};
    double value = sample->value;
    const unsigned speedUnits = unitsByte & kSpeedUnits.mask;
    switch (sample->quantity) {
    case Quantity::Speed:
    case Quantity::Distance:
        if (speedUnits == kMph)
            value *= kMphPerKnot;
        else if (speedUnits == kKmh)
            value *= kKmhPerKnot;
        break;
    case Quantity::Temperature:
        if (!(unitsByte & kTemperatureUnits.mask))
            value = (value - 32) * 5 / 9;
        break;
    case Quantity::Pressure:
        if (!(unitsByte & kPressureUnits.mask))
            value *= kBarPerPsi;
        break;
    case Quantity::Clock: {
        int hours = int(value) / 60;
        if (unitsByte & kTimeFormat.mask) // 12-hour clock
            hours = hours % 12 == 0 ? 12 : hours % 12;
        return std::to_string(hours) + ":" + twoDigits(int(value) % 60);
    }
    case Quantity::Duration:
        return std::to_string(int(value) / 60) + ":" + twoDigits(int(value) % 60);
    case Quantity::Plain:
        break;
    }
    return formatDecimals(value, sample->decimals);
}

} // namespace orvane
