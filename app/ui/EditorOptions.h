#pragma once

#include "platform/Result.h"

#include <QStringList>

#include <cstdint>
#include <optional>
#include <string>

// What `orvane-editor` takes on its command line beside Qt's own options
// (-platform, -style, ...), which the application object has already taken.

namespace orvane {

struct EditorOptions
{
    // --port N: the COM port to use for this run, as if chosen in the
    // Communications Port dialog; the working file keeps its own until saved.
    std::optional<uint8_t> port;
};

// `arguments` starts with the program's name. A failure says what is wrong
// in a sentence for the terminal.
Result<EditorOptions> parseEditorOptions(const QStringList &arguments);

// --help and --version, answered on standard output before any window
// system is needed (a terminal without a display must get them too); the
// exit code, or nothing when neither was asked.
std::optional<int> answerHelpOrVersion(int argc, char **argv, const char *version);

} // namespace orvane
