#pragma once

#include "app/AppState.h"
#include "config/FileCommands.h"
#include "link/ByteLink.h"
#include "platform/Platform.h"

#include <optional>

// The File menu's Open, Save and Save As over the whole working state.
// Reading and writing the file is config's; the port number the file carries
// belongs to the link, and a whole read is a new image for the editors.

namespace orvane {

// Done: the link has the file's port number and the editors the new image;
// the window redraws.
FileCommandResult openConfigFile(AppState &state, ByteLink &link, Platform &platform);
// Open's file dialog: the chosen path, or an empty text on Cancel.
std::string askConfigFileToOpen(Platform &platform);
// Reads the named file as Open does once a name is chosen (a recent file, a
// dropped file): a file not read whole is reported with its line and leaves
// everything as it was.
FileCommandResult
openConfigFileAt(AppState &state, ByteLink &link, Platform &platform, const std::string &path);
// Before another file replaces an image with unsaved changes: true when there
// are none or the user agreed to lose them.
bool mayReplaceUnsavedImage(const ConfigDocument &document,
                            Platform &platform,
                            const std::string &path);
FileCommandResult saveConfigFile(AppState &state, const ByteLink &link, Platform &platform);
FileCommandResult saveConfigFileAs(AppState &state, const ByteLink &link, Platform &platform);

// Start-up's read of ConfigFileName, with what a whole read brings stored as
// Open stores it. A failure leaves whatever was read, for the caller's
// fallback to the defaults.
std::optional<ConfigReadFailure>
readWorkingFile(AppState &state, ByteLink &link, Platform &platform);

} // namespace orvane
