#pragma once

#include "cli/CommandTable.h"

#include <string>

// The --help texts. Their layout is the one the build turns into the manual
// page: a "Usage:" line, a paragraph, then blocks headed "Name:" whose
// entries are indented two spaces with their text after two or more blanks.

namespace orvane::cli {

std::string programHelp(const std::string &version);
std::string commandHelp(const CommandSpec &command);
// Every command, option, category and memory name, the exit codes, the
// environment, the files and examples: --help-all, and the manual page.
std::string referenceHelp(const std::string &version);

} // namespace orvane::cli
