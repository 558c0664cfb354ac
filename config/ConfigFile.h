#pragma once

#include "config/ConfigDocument.h"
#include "config/ConfigImage.h"
#include "config/FileState.h"
#include "platform/Platform.h"
#include "platform/Result.h"

#include <optional>
#include <string>
#include <string_view>

// The configuration file: the whole working state as 3351 CR LF lines in one
// fixed order. Values are identified by position; the labels are for people.
// Besides the image and the header lines it carries the link's port number,
// which passes through here as a plain byte: the caller gives it to the link.

namespace orvane {

constexpr int kConfigFileLines = 3351;

// Stores the check bytes into the image: IntNvm[0] and CDC(c, 0) of every
// configuration, each the exclusive-or of the bytes it guards.
void storeCheckBytes(ConfigImage &image);

// The file text, dated `created`. Stores the check bytes first, so the image
// in memory carries what the file shows.
std::string configFileText(ConfigImage &image,
                           const FileState &files,
                           uint8_t comPortNumber,
                           const LocalDateTime &created);

// ConfigFileName resolved against the working folder.
std::string configFilePath(const FileState &files, Platform &platform);

// Writes ConfigFileName, replacing it only once the new text is complete, and
// clears the changed mark. On failure the previous file stays and memory
// keeps everything but the check bytes.
Result<> SaveConfigsFile(ConfigDocument &document,
                         const FileState &files,
                         uint8_t comPortNumber,
                         Platform &platform);

// Writes the same text to another file (a relative name resolves against the
// working folder). ConfigFileName is not changed.
Result<> saveConfigsFileAs(ConfigImage &image,
                           const FileState &files,
                           uint8_t comPortNumber,
                           Platform &platform,
                           const std::string &path);

// Where and why reading stopped.
struct ConfigReadFailure
{
    int line = 0;         // 1-based; 0 when the file could not be read at all
    std::string expected; // what belongs there, e.g. "a byte 0..255 for IntNvm byte 7"
    std::string found;    // what stands there, or why the file could not be read
};

// How a read ended: the port number the file names, or where and why it
// stopped.
struct ConfigRead
{
    std::optional<ConfigReadFailure> failure; // empty when the whole file was read
    uint8_t comPortNumber = 0;                // as read, once reading got that far
};

// Reads file text into the image and the header lines item by item. The
// tables change in file order: a read that stops early leaves the earlier
// items changed and the later ones as they were. Sets IntNvm[6] = 1 after the
// IntNvm lines. A whole read also means, for the editors, that the sender
// lists follow the new codes and the curve editor closes (imageReplaced).
ConfigRead readConfigText(ConfigImage &image, FileState &files, std::string_view text);

// Reads a file (a relative name resolves against the working folder).
ConfigRead
readConfigFile(ConfigImage &image, FileState &files, Platform &platform, const std::string &path);

} // namespace orvane
