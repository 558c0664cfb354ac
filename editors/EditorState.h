#pragma once

#include "config/ConfigDocument.h"
#include "config/ConfigImage.h"
#include "config/SenderLists.h"
#include "config/SettingsFields.h"

#include <cstdint>

namespace orvane {

// What the editors keep between events besides the image.
struct EditorState
{
    static constexpr uint8_t kNoCurve = 99;
    uint8_t CurveInEdit = kNoCurve;
    uint8_t currentConfig = 1; // mirror of kCurrentConfiguration
    // Positions of the five sender lists of the sender dialog, kept here so
    // that loading or defaulting the image can select them without a window.
    SenderListPositions senderLists;
    // The NMEA input being edited, shared by the display panel, the NMEA
    // sentence selector and its live data window: the IntNvm index of its
    // three bytes, and its channel 1..4.
    int nmeaSettingsIndex = kNmeaInputs.first.address;
    int nmeaInputNumber = 1;
    bool liveNmeaData = false; // the live data window polls while set
};

// A whole new image came in (a file was read, the factory defaults were
// written): the sender lists select its codes and the curve editor closes.
void imageReplaced(EditorState &editor, const ConfigImage &image);

// WriteDefaultsToRam as the main window runs it: the factory defaults go into
// the image (every curve while a new unit is pending), then the editors take
// it as a new image.
void loadFactoryDefaults(ConfigDocument &document, EditorState &editor, bool newUnitPending);

} // namespace orvane
