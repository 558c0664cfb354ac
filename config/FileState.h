#pragma once

#include <array>
#include <string>

namespace orvane {

// The names and header lines of the files the editor keeps.
struct FileState
{
    std::string VersionText = "Ver 1.4.31";
    std::string ConfigFileName = "DEFAULT.CFG";
    std::string NmeaTableFileName = "NVMNMEAG.DAT";
    std::string DecPointsFileName = "DECPTSA.DAT";
    std::array<std::string, 6> FileHeaderLines{}; // 1..5 used
    std::string ReadScratch;
    // The file Open read last, as it was named; it names the step to undo.
    std::string OpenedFileName;
    bool ExitPromptDone = false;
    // Folder that relative file names resolve against: the program's folder,
    // or the per-user data folder when the program's folder is read-only.
    std::string WorkingFolder;
};

} // namespace orvane
