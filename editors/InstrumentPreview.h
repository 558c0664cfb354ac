#pragma once

#include "config/ConfigDocument.h"
#include "editors/EditMenuSettings.h"
#include "editors/EditorState.h"
#include "editors/IconBits.h"
#include "editors/PreviewItems.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>

// Everything the main window shows for the current configuration, rebuilt
// from the image in one go: the LCD preview's overlay items, the panel's
// choosers and icon boxes, the Edit menu's check marks and the sender
// dialog's unit labels.

namespace orvane {

// The five displays in panel order; also the order of kSourceBytes.
enum class Display { Display1, Display2, Display3, LeftBar, RightBar };
inline constexpr int kDisplayCount = 5;

struct PreviewModel
{
    int config = 1;
    // Visibility of every overlay item. The blank patches are always reported
    // hidden here: while a chooser has the focus, the blink tick owns them.
    std::array<bool, kPreviewItemCount> visible{};
    IconFlags iconBoxes{};
    std::array<uint8_t, kDisplayCount> codes{};
    // Item each chooser selects; nothing for a code its list cannot show.
    // Select these without running the chooser's own choice handling: the
    // stored codes must stay as they are.
    std::array<std::optional<int>, kDisplayCount> chooserPositions{};
    SettingsView settings;
    // The NMEA selector and its live data window close on every reload.
    bool hideNmeaWindows = true;

    bool isVisible(PreviewItem item) const { return visible.at(size_t(item)); }
    uint8_t code(Display display) const { return codes.at(size_t(display)); }
    std::optional<int> chooserPosition(Display display) const
    {
        return chooserPositions.at(size_t(display));
    }
};

// Reloads everything from the image. The only write is the repair of a
// pulley ratio outside the seven allowed (it becomes 1:1); the mirror
// editor.currentConfig is set to the configuration shown.
PreviewModel UpdateInstrumentDisplay(ConfigDocument &document, EditorState &editor);

// An illustrative reading for a digital field of the preview, in the unit
// settings of kUnitsAndFormats (speed, temperature, pressure, time format), so
// that the LCD picture looks like a working instrument. Blank for "None" and
// for codes no list offers. These are sample values, not instrument data.
std::string sampleReading(uint8_t code, uint8_t unitsByte);

} // namespace orvane
