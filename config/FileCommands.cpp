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
    explicit ReadSnapshot(const AppState &state)
        : image(state.document.image)
        , comPortNumber(state.link.ComPortNumber)
        , headerLines(state.files.FileHeaderLines)
        , readScratch(state.files.ReadScratch)
        , senderLists(state.editor.senderLists)
        , curveInEdit(state.editor.CurveInEdit)
        , imageChanged(state.document.changed)
    {}

    void restore(AppState &state) const
    {
        state.document.image = image;
        state.link.ComPortNumber = comPortNumber;
        state.files.FileHeaderLines = headerLines;
        state.files.ReadScratch = readScratch;
        state.editor.senderLists = senderLists;
        state.editor.CurveInEdit = curveInEdit;
        state.document.changed = imageChanged;
    }

    ConfigImage image;
    uint8_t comPortNumber;
    std::array<std::string, 6> headerLines;
    std::string readScratch;
    SenderListPositions senderLists;
    uint8_t curveInEdit;
    bool imageChanged;
};

void report(Platform &platform, const std::string &text, const char *title, MessageIcon icon)
{
    platform.dialogs.beep();
    platform.dialogs.messageBox(text, title, icon, MessageButtons::Ok);
}

FileCommandResult saveTo(AppState &state, Platform &platform, const std::string &name, bool working)
{
    const Result<> result
        = working ? SaveConfigsFile(state, platform) : saveConfigsFileAs(state, platform, name);
    if (result.ok())
        return FileCommandResult::Done;
    const std::string path = platform.files.resolve(state.files.WorkingFolder, name);
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

FileCommandResult fileOpen(AppState &state, Platform &platform)
{
    const std::string name = platform.dialogs.openFileName(kOpenTitle, kConfigFileFilter);
    if (name.empty())
        return FileCommandResult::Cancelled;
    const ReadSnapshot before(state);
    const std::optional<ConfigReadFailure> failure = readConfigFile(state, platform, name);
    if (failure) {
        before.restore(state);
        const std::string path = platform.files.resolve(state.files.WorkingFolder, name);
        report(platform,
               readFailureMessage(path, *failure),
               kReadFailedTitle,
               MessageIcon::Warning);
        return FileCommandResult::Failed;
    }
    state.document.changed = true;
    return FileCommandResult::Done;
}

FileCommandResult fileSave(AppState &state, Platform &platform)
{
    return saveTo(state, platform, state.files.ConfigFileName, true);
}

FileCommandResult fileSaveAs(AppState &state, Platform &platform)
{
    const std::string name = platform.dialogs.saveFileName(kSaveAsTitle, kConfigFileFilter);
    if (name.empty())
        return FileCommandResult::Cancelled;
    return saveTo(state, platform, name, false);
}

std::optional<ConfigReadFailure> readConfigsAtStartup(AppState &state, Platform &platform)
{
    std::optional<ConfigReadFailure> failure
        = readConfigFile(state, platform, state.files.ConfigFileName);
    // A whole read leaves memory equal to the working file.
    if (!failure)
        state.document.changed = false;
    return failure;
}

} // namespace orvane
