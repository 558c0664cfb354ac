#pragma once

#include "config/ConfigDocument.h"
#include "config/ConfigFile.h"
#include "config/Defaults.h"
#include "config/FileState.h"
#include "support/FakePlatform.h"
#include "support/TempFolder.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

// Helpers shared by the configuration tests: a scratch folder per test and
// line-level access to file texts.

namespace orvane::test {

// File line numbers (1-based) of the IntNvm, configuration and curve lines.
inline int intNvmLine(int i)
{
    return 7 + i;
}

inline int cdcLine(int c, int n)
{
    return 263 + 129 * (c - 1) + 1 + n;
}

inline int curveLine(int k, int a)
{
    return 2327 + 32 * (k - 1) + (a - 1);
}

inline std::string readText(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

inline void writeText(const std::string &path, const std::string &text)
{
    std::ofstream(path, std::ios::binary) << text;
}

// Lines of a CR LF text, without their line ends; a text not ending in CR LF
// gives its tail as the last line.
inline std::vector<std::string> crlfLines(const std::string &text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    if (start < text.size())
        lines.push_back(text.substr(start));
    return lines;
}

inline std::string joinLines(const std::vector<std::string> &lines, const std::string &end = "\r\n")
{
    std::string text;
    for (const std::string &line : lines)
        text += line + end;
    return text;
}

// The text with 1-based line `number` replaced.
inline std::string withLine(const std::string &text, int number, const std::string &line)
{
    std::vector<std::string> lines = crlfLines(text);
    lines.at(size_t(number - 1)) = line;
    return joinLines(lines);
}

// The value after the last comma of a file line.
inline int lineValue(const std::string &line)
{
    return std::stoi(line.substr(line.rfind(',') + 1));
}

// What the configuration file carries: the image with its changed flag, the
// file names and header lines, and the port number it names for the link.
struct ConfigState
{
    ConfigDocument document;
    FileState files;
    uint8_t comPortNumber = 0;
};

inline std::string fileTextOf(ConfigState &state, const LocalDateTime &created = {})
{
    return configFileText(state.document.image, state.files, state.comPortNumber, created);
}

inline ConfigRead readTextInto(ConfigState &state, std::string_view text)
{
    return readConfigText(state.document.image, state.files, text);
}

inline ConfigState defaultState()
{
    ConfigState state;
    WriteDefaultsToRam(state.document, false);
    return state;
}

inline std::string defaultsText(const LocalDateTime &created = {2026, 7, 4, 14, 5, 9})
{
    ConfigState state = defaultState();
    return fileTextOf(state, created);
}

// A fake platform whose program and working folder is a fresh scratch folder.
struct ConfigFixtureBase
{
    ConfigFixtureBase()
    {
        fake.files.programDir = folder.path();
        fake.files.userDataDir = folder.path();
        state.files.WorkingFolder = folder.path();
    }

    TempFolder folder;
    FakePlatform fake;
    Platform &platform = fake.platform;
    ConfigState state;
};

} // namespace orvane::test

namespace orvane {

// Readable failures in test output.
inline void PrintTo(const ConfigReadFailure &failure, std::ostream *out)
{
    *out << "line " << failure.line << ": expected " << failure.expected << ", found "
         << failure.found;
}

} // namespace orvane
