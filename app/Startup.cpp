#include "app/Startup.h"

#include "app/FileMenu.h"
#include "config/ConfigFile.h"
#include "link/Exchange.h"

namespace orvane {

namespace {
constexpr const char *kUnknown = "Unknown";
constexpr const char *kDamagedSuffix = ".bad";
constexpr const char *kInitialCommsPortCaption = "COM Port = 0";
constexpr const char *kFirstDataFrameCaption = "Data for Current Configuration #1 ";
constexpr std::array<uint8_t, TransferState::kCategories> kFirstDownloadSelection
    = {0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 0, 1, 1};

// Copies an unreadable working file to the same name with ".bad" added.
void keepDamagedCopy(const AppState &state, Platform &platform)
{
    const std::string path = configFilePath(state.files, platform);
    if (const Result<std::string> text = platform.files.readFile(path))
        (void)platform.files.writeFileAtomically(path + kDamagedSuffix, *text);
}

// An installed copy keeps its working file in the per-user folder. Its first
// start there begins from the working file shipped beside the program, when
// there is one; later starts find their own.
void seedWorkingFile(FileSystem &files, const std::string &workingFolder, const std::string &name)
{
    const std::string programFolder = files.programFolder();
    if (workingFolder == programFolder)
        return;
    const std::string working = files.resolve(workingFolder, name);
    if (files.readFile(working).ok())
        return;
    if (const Result<std::string> shipped = files.readFile(files.resolve(programFolder, name)))
        (void)files.writeFileAtomically(working, *shipped);
}

} // namespace

void setStartValues(AppState &state, ByteLink &link)
{
    state.files.VersionText = "Ver 1.4.31";
    state.transfer.NewUnitPending = false;
    state.transfer.ShowUploadWarning = true;
    state.transfer.NewSerialPending = false;
    state.files.ConfigFileName = "DEFAULT.CFG";
    state.files.NmeaTableFileName = "NVMNMEAG.DAT";
    state.files.DecPointsFileName = "DECPTSA.DAT";
    link.setFactoryMode(false);
    link.clearCommTimedOut();
    link.setConnected(false);
    state.files.ExitPromptDone = false;
}

void setFirstRunValues(AppState &state, ByteLink &link)
{
    link.setIdentityTexts(kUnknown);
    state.transfer.UploadSelection.fill(1);
    state.transfer.DownloadSelection = kFirstDownloadSelection;
    state.editor.CurveInEdit = EditorState::kNoCurve;
}

std::string chooseWorkingFolder(FileSystem &files)
{
    const std::string programFolder = files.programFolder();
    if (!files.isInstalledCopy() && files.isWritableFolder(programFolder))
        return programFolder;
    return files.userDataFolder();
}

StartupResult runStartup(AppState &state, ByteLink &link, Platform &platform, ShellView &view)
{
    setStartValues(state, link);
    view.createFactoryWindow();
    state.files.WorkingFolder = chooseWorkingFolder(platform.files);
    seedWorkingFile(platform.files, state.files.WorkingFolder, state.files.ConfigFileName);

    if (!view.pickListsFilled()) {
        setFirstRunValues(state, link);
        view.setDataFrameCaption(kFirstDataFrameCaption);
        view.showIdentity();
        view.fillPickLists();
    }

    StartupResult result;
    const std::optional<ConfigReadFailure> failure = readWorkingFile(state, link, platform);
    result.readDefaultFile = !failure.has_value();
    if (failure) {
        // The next start must find a valid file: rewrite it with the defaults.
        // A damaged file is kept beside it first, so that the user's
        // configurations can still be recovered by hand.
        if (failure->line > 0)
            keepDamagedCopy(state, platform);
        loadFactoryDefaults(state.document, state.editor, state.transfer.NewUnitPending);
        link.setComPortNumber(0);
        result.rewrite = SaveConfigsFile(state.document,
                                         state.files,
                                         link.linkState().ComPortNumber,
                                         platform);
    }
    // After a failed read the label goes back to its first caption rather
    // than showing a port number that was not kept.
    view.setCommsPortLabel(result.readDefaultFile ? commsPortCaption(link.linkState().ComPortNumber)
                                                  : kInitialCommsPortCaption);
    view.showFirstDampingAndAlarm();
    view.redraw();
    state.document.changed = false;
    return result;
}

bool newConfiguration(AppState &state, ByteLink &link, Platform &platform, ShellView &view)
{
    platform.dialogs.beep();
    const MessageAnswer answer = platform.dialogs.messageBox(
        "Are you sure?\r\nThis will overwrite all the current display configurations and settings!",
        "Load default display configurations",
        MessageIcon::Question,
        MessageButtons::YesNo);
    if (answer != MessageAnswer::Yes)
        return false;
    runStartup(state, link, platform, view);
    loadFactoryDefaults(state.document, state.editor, state.transfer.NewUnitPending);
    view.redraw();
    view.selectFirstConfiguration();
    platform.pump.processPendingEvents();
    return true;
}

bool QuitProgram(AppState &state, ByteLink &link, Platform &platform, ShellView &view)
{
    // Closing the port under a running exchange would leave the instrument
    // half written and the user unaware of it.
    if (refuseWhileBusy(platform.dialogs,
                        lineBusyMessage(link.linkState().lineUser),
                        "Quit Program"))
        return false;
    if (!state.files.ExitPromptDone) {
        state.files.ExitPromptDone = true;
        platform.dialogs.beep();
        const MessageAnswer answer = platform.dialogs.messageBox(
            "Save setup data to default setup file before exiting program?",
            "Quit Program",
            MessageIcon::Question,
            MessageButtons::YesNo);
        if (answer == MessageAnswer::Yes) {
            state.files.ConfigFileName = "DEFAULT.CFG";
            // The failure has been reported; stay open so nothing is lost.
            if (saveConfigFile(state, link, platform) == FileCommandResult::Failed) {
                state.files.ExitPromptDone = false;
                return false;
            }
        }
    }
    view.closeAllWindows();
    platform.port.close();
    return true;
}

} // namespace orvane
