#include "app/FileMenu.h"

namespace orvane {

namespace {

constexpr const char *kUnsavedChangesTitle = "Unsaved Changes";
constexpr const char *kUnsavedChangesText
    = "The configuration in the editor has changes that are not saved.";

// What a whole read brings beyond the image and the header lines.
void takeWholeRead(AppState &state, ByteLink &link, uint8_t comPortNumber)
{
    link.setComPortNumber(comPortNumber);
    imageReplaced(state.editor, state.document.image);
}

} // namespace

FileCommandResult openConfigFile(AppState &state, ByteLink &link, Platform &platform)
{
    const std::string name = askConfigFileToOpen(platform);
    if (name.empty())
        return FileCommandResult::Cancelled;
    return openConfigFileAt(state, link, platform, name);
}

std::string askConfigFileToOpen(Platform &platform)
{
    return platform.dialogs.openFileName(kOpenTitle, kConfigFileFilter);
}

FileCommandResult
openConfigFileAt(AppState &state, ByteLink &link, Platform &platform, const std::string &path)
{
    const OpenedFile opened = openConfigPath(state.document, state.files, platform, path);
    if (opened.result == FileCommandResult::Done)
        takeWholeRead(state, link, opened.comPortNumber);
    return opened.result;
}

bool mayReplaceUnsavedImage(const ConfigDocument &document,
                            Platform &platform,
                            const std::string &path)
{
    if (!document.changed)
        return true;
    platform.dialogs.beep();
    return platform.dialogs.messageBox(kUnsavedChangesText + std::string("\r\nOpen ") + path
                                           + " and lose them?",
                                       kUnsavedChangesTitle,
                                       MessageIcon::Question,
                                       MessageButtons::YesNo)
           == MessageAnswer::Yes;
}

FileCommandResult saveConfigFile(AppState &state, const ByteLink &link, Platform &platform)
{
    return fileSave(state.document, state.files, link.linkState().ComPortNumber, platform);
}

FileCommandResult saveConfigFileAs(AppState &state, const ByteLink &link, Platform &platform)
{
    return fileSaveAs(state.document, state.files, link.linkState().ComPortNumber, platform);
}

std::optional<ConfigReadFailure>
readWorkingFile(AppState &state, ByteLink &link, Platform &platform)
{
    const ConfigRead read = readConfigsAtStartup(state.document, state.files, platform);
    if (!read.failure)
        takeWholeRead(state, link, read.comPortNumber);
    return read.failure;
}

} // namespace orvane
