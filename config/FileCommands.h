#pragma once

#include "config/ConfigDocument.h"
#include "config/ConfigFile.h"
#include "config/FileState.h"
#include "platform/Platform.h"

#include <optional>
#include <string>

// What the main window's File menu does with configuration files. The window
// calls these and redraws when told to.

namespace orvane {

inline constexpr const char *kConfigFileFilter = "Files (*.CFG)| *.CFG";
inline constexpr const char *kOpenTitle = "Read configuration data from file:";
inline constexpr const char *kSaveAsTitle = "Save Settings to File: ";

enum class FileCommandResult {
    Cancelled, // no file chosen: nothing happened
    Done,      // after Open: redraw the preview, the limits and the port label
    Failed,    // the user has been told; memory is as it was
};

struct OpenedFile
{
    FileCommandResult result = FileCommandResult::Cancelled;
    uint8_t comPortNumber = 0; // after Done: the port number the file names
};

// Asks for a file and reads it. A file that cannot be read whole is reported
// with its line and what belongs there, and the image and the header lines
// go back to what they were before. After Done the image is marked changed;
// the caller gives the port number to the link and tells the editors of the
// new image.
OpenedFile fileOpen(ConfigDocument &document, FileState &files, Platform &platform);

// Open without the question: reads the named file as Open does.
OpenedFile openConfigPath(ConfigDocument &document,
                          FileState &files,
                          Platform &platform,
                          const std::string &name);

// Writes ConfigFileName; a failure is reported.
FileCommandResult fileSave(ConfigDocument &document,
                           const FileState &files,
                           uint8_t comPortNumber,
                           Platform &platform);

// Asks for a file and writes the configuration to it; ConfigFileName stays.
FileCommandResult fileSaveAs(ConfigDocument &document,
                             const FileState &files,
                             uint8_t comPortNumber,
                             Platform &platform);

// Reads ConfigFileName at start-up. No message and no rollback: whatever was
// read before a failure stays, for the caller's fallback to the defaults.
ConfigRead readConfigsAtStartup(ConfigDocument &document, FileState &files, Platform &platform);

// The port label of the main window: "COM Port = " and the number with its
// sign blank.
std::string commsPortCaption(uint8_t portNumber);

// Message texts, for the window and for tests.
std::string readFailureMessage(const std::string &path, const ConfigReadFailure &failure);
std::string saveFailureMessage(const std::string &path, const Result<> &result);

} // namespace orvane
