#pragma once

#include "config/ConfigImage.h"
#include "link/LineUser.h"

#include <array>
#include <cstdint>
#include <string>

namespace orvane {

// The module-level state of the main window, grouped by the subsystem that
// owns each value. The windows and the logic share one instance; tests build
// their own.

struct FileState
{
    std::string VersionText = "Ver 1.4.31";
    std::string ConfigFileName = "DEFAULT.CFG";
    std::string NmeaTableFileName = "NVMNMEAG.DAT";
    std::string DecPointsFileName = "DECPTSA.DAT";
    std::array<std::string, 6> FileHeaderLines{}; // 1..5 used
    std::string ReadScratch;
    bool ExitPromptDone = false;
    // Folder that relative file names resolve against: the program's folder,
    // or the per-user data folder when the program's folder is read-only.
    std::string WorkingFolder;
};

// Receive table filled by the port's receive event.
struct ReceiveState
{
    static constexpr int kSlots = 4097;
    static constexpr int kMaxCount = 4090;
    std::array<int16_t, kSlots> RxSlot{};
    int16_t RxCount = 0;
    bool CommTimedOut = false;
};

struct LinkState
{
    uint8_t ComPortNumber = 0;
    bool IsConnected = false;
    bool FactoryMode = false;
    std::string SerialNumberText;
    std::string SoftwareVersionText;
    std::string HardwareVersionText;
    std::array<std::string, 4> ChipVersionText{};
    uint8_t ProductCode = 0;
    uint16_t NewConfigCount = 0;
    // The exchange that holds the line; a second one must not start.
    LineUser lineUser = LineUser::None;
};

struct TransferState
{
    static constexpr int kCategories = 14;
    uint8_t TransferChoice = 0; // 0 none yet, 1 CANCEL, 2 CONTINUE
    bool TransferIsDownload = false;
    std::array<uint8_t, kCategories> DownloadSelection{};
    std::array<uint8_t, kCategories> UploadSelection{};
    std::array<uint8_t, 257> TransferBuffer{};
    bool ShowUploadWarning = true;
    bool NewUnitPending = false;
    bool NewSerialPending = false;
    std::array<uint8_t, 4> NewSerialBytes{};
};

// Positions of the five sender lists of the sender dialog, kept here so that
// loading or defaulting the image can select them without touching a window.
struct SenderListPositions
{
    int engineTemp = -1;
    int fuel = -1;
    int oilPressure = -1;
    int trim = -1;
    int secondTank = -1;
};

struct EditorState
{
    static constexpr uint8_t kNoCurve = 99;
    uint8_t CurveInEdit = kNoCurve;
    uint8_t currentConfig = 1; // mirror of IntNvm byte 6
    SenderListPositions senderLists;
    // Every change to the image sets this; saving to the working file clears it.
    bool imageChanged = false;
    // The NMEA input being edited, shared by the display panel, the NMEA
    // sentence selector and its live data window.
    int nmeaSettingsIndex = 68; // IntNvm index of the input's three bytes
    int nmeaInputNumber = 1;    // channel 1..4
    bool liveNmeaData = false;  // the live data window polls while set
};

struct AppState
{
    ConfigImage image;
    FileState files;
    ReceiveState rx;
    LinkState link;
    TransferState transfer;
    EditorState editor;
};

} // namespace orvane
