#pragma once

#include "app/AppState.h"
#include "platform/Platform.h"

#include <optional>
#include <string>
#include <string_view>

// The configuration file: the whole working state as 3351 CR LF lines in one
// fixed order. Values are identified by position; the labels are for people.

namespace orvane {

constexpr int kConfigFileLines = 3351;

// Stores the check bytes into the image: IntNvm[0] and CDC(c, 0) of every
// configuration, each the exclusive-or of the bytes it guards.
void storeCheckBytes(ConfigImage &image);

// The file text for the state, dated `created`. Stores the check bytes first,
// so the image in memory carries what the file shows.
std::string configFileText(AppState &state, const LocalDateTime &created);

// ConfigFileName resolved against the working folder.
std::string configFilePath(const AppState &state, Platform &platform);

// Writes ConfigFileName, replacing it only once the new text is complete.
// On failure the previous file stays and memory keeps everything but the
// check bytes.
Result<> SaveConfigsFile(AppState &state, Platform &platform);

// Writes the same text to another file (a relative name resolves against the
// working folder). ConfigFileName is not changed.
Result<> saveConfigsFileAs(AppState &state, Platform &platform, const std::string &path);

// Where and why reading stopped.
struct ConfigReadFailure
{
    int line = 0;         // 1-based; 0 when the file could not be read at all
    std::string expected; // what belongs there, e.g. "a byte 0..255 for IntNvm byte 7"
    std::string found;    // what stands there, or why the file could not be read
};

// Reads file text into the state item by item. The tables change in file
// order: a read that stops early leaves the earlier items changed and the
// later ones as they were. Sets IntNvm[6] = 1 after the IntNvm lines, and at
// the end selects the sender lists and closes the curve editor.
std::optional<ConfigReadFailure> readConfigText(AppState &state, std::string_view text);

// Reads a file (a relative name resolves against the working folder).
std::optional<ConfigReadFailure>
readConfigFile(AppState &state, Platform &platform, const std::string &path);

} // namespace orvane
