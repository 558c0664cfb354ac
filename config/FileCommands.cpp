#include "config/FileCommands.h"

#include "config/NumberText.h"

namespace orvane {

namespace {

constexpr const char *kReadFailedTitle = "Configuration file not read";
constexpr const char *kSaveFailedTitle = "Configuration not saved";
constexpr const char *kLineBreak = "\r\n";

// Everything a read may change, so a failed Open can leave no trace.
struct ReadSnapshot
{
    ReadSnapshot(const ConfigDocument &document, const FileState &files)
        : document(document)
        , headerLines(files.FileHeaderLines)
        , readScratch(files.ReadScratch)
    {}

    void restore(ConfigDocument &into, FileState &files) const
    {
        into = document;
        files.FileHeaderLines = headerLines;
        files.ReadScratch = readScratch;
    }

    ConfigDocument document;
    std::array<std::string, 6> headerLines;
    std::string readScratch;
};

void report(Platform &platform, const std::string &text, const char *title, MessageIcon icon)
{
    platform.dialogs.beep();
    platform.dialogs.messageBox(text, title, icon, MessageButtons::Ok);
}

FileCommandResult saveTo(ConfigDocument &document,
                         const FileState &files,
                         uint8_t comPortNumber,
                         Platform &platform,
                         const std::string &name,
                         bool working)
{
    const Result<> result
        = working ? SaveConfigsFile(document, files, comPortNumber, platform)
                  : saveConfigsFileAs(document.image, files, comPortNumber, platform, name);
    if (result.ok())
        return FileCommandResult::Done;
    const std::string path = platform.files.resolve(files.WorkingFolder, name);
    report(platform, saveFailureMessage(path, result), kSaveFailedTitle, MessageIcon::Critical);
    return FileCommandResult::Failed;
}

} // namespace

std::string commsPortCaption(uint8_t portNumber)
{
    return "COM Port = " + displayNumber(static_cast<long long>(portNumber));
}

std::string readFailureMessage(const std::string &path, const ConfigReadFailure &failure)
{
    if (failure.line == 0)
        return "The file " + path + " could not be opened: " + failure.found + "." + kLineBreak
               + "Nothing was changed. Check the name and that the file is readable, then open it "
                 "again.";
    return "The file " + path + " is not a complete configuration file." + kLineBreak + "Line "
           + std::to_string(failure.line) + ": expected " + failure.expected + ", found "
           + failure.found + "." + kLineBreak
           + "Nothing was changed. Correct that line or open another configuration file.";
}

std::string saveFailureMessage(const std::string &path, const Result<> &result)
{
    const std::string reason
        = result.error().empty() ? "the file could not be written" : result.error();
    return "The configuration could not be saved to " + path + ": " + reason + "." + kLineBreak
           + "The file on disk was left as it was. Check that its folder exists and is writable, "
             "or save to another place with Save As.";
}

OpenedFile fileOpen(ConfigDocument &document, FileState &files, Platform &platform)
{
    const std::string name = platform.dialogs.openFileName(kOpenTitle, kConfigFileFilter);
    if (name.empty())
        return {FileCommandResult::Cancelled};
    return openConfigPath(document, files, platform, name);
}

OpenedFile openConfigPath(ConfigDocument &document,
                          FileState &files,
                          Platform &platform,
                          const std::string &name)
{
    const ReadSnapshot before(document, files);
    const ConfigRead read = readConfigFile(document.image, files, platform, name);
    if (read.failure) {
        before.restore(document, files);
        const std::string path = platform.files.resolve(files.WorkingFolder, name);
        report(platform,
               readFailureMessage(path, *read.failure),
               kReadFailedTitle,
               MessageIcon::Warning);
        return {FileCommandResult::Failed};
    }
    document.changed = true;
    files.OpenedFileName = name;
    return {FileCommandResult::Done, read.comPortNumber};
}

FileCommandResult fileSave(ConfigDocument &document,
                           const FileState &files,
                           uint8_t comPortNumber,
                           Platform &platform)
{
    return saveTo(document, files, comPortNumber, platform, files.ConfigFileName, true);
}

FileCommandResult fileSaveAs(ConfigDocument &document,
                             const FileState &files,
                             uint8_t comPortNumber,
                             Platform &platform)
{
    const std::string name = platform.dialogs.saveFileName(kSaveAsTitle, kConfigFileFilter);
    if (name.empty())
        return FileCommandResult::Cancelled;
    return saveTo(document, files, comPortNumber, platform, name, false);
}

ConfigRead readConfigsAtStartup(ConfigDocument &document, FileState &files, Platform &platform)
{
    ConfigRead read = readConfigFile(document.image, files, platform, files.ConfigFileName);
    // A whole read leaves memory equal to the working file.
    if (!read.failure)
        document.changed = false;
    return read;
}

} // namespace orvane
