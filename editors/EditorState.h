#pragma once

#include "config/ConfigImage.h"
#include "config/SenderLists.h"

#include <cstdint>

namespace orvane {

// What the editors keep between events besides the image.
struct EditorState
{
    static constexpr uint8_t kNoCurve = 99;
    uint8_t CurveInEdit = kNoCurve;
    uint8_t currentConfig = 1; // mirror of IntNvm byte 6
    // Positions of the five sender lists of the sender dialog, kept here so
    // that loading or defaulting the image can select them without a window.
    SenderListPositions senderLists;
    // The NMEA input being edited, shared by the display panel, the NMEA
    // sentence selector and its live data window.
    int nmeaSettingsIndex = 68; // IntNvm index of the input's three bytes
    int nmeaInputNumber = 1;    // channel 1..4
    bool liveNmeaData = false;  // the live data window polls while set
};

// A whole new image came in (a file was read, the factory defaults were
// written): the sender lists select its codes and the curve editor closes.
inline void imageReplaced(EditorState &editor, const ConfigImage &image)
{
    editor.senderLists = senderListPositionsFor(image.IntNvm);
    editor.CurveInEdit = EditorState::kNoCurve;
}

} // namespace orvane
