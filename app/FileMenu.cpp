#include "app/FileMenu.h"

namespace orvane {

namespace {

// What a whole read brings beyond the image and the header lines.
void takeWholeRead(AppState &state, uint8_t comPortNumber)
{
    state.link.ComPortNumber = comPortNumber;
    imageReplaced(state.editor, state.document.image);
}

} // namespace

FileCommandResult openConfigFile(AppState &state, Platform &platform)
{
    const OpenedFile opened = fileOpen(state.document, state.files, platform);
    if (opened.result == FileCommandResult::Done)
        takeWholeRead(state, opened.comPortNumber);
    return opened.result;
}

FileCommandResult saveConfigFile(AppState &state, Platform &platform)
{
    return fileSave(state.document, state.files, state.link.ComPortNumber, platform);
}

FileCommandResult saveConfigFileAs(AppState &state, Platform &platform)
{
    return fileSaveAs(state.document, state.files, state.link.ComPortNumber, platform);
}

std::optional<ConfigReadFailure> readWorkingFile(AppState &state, Platform &platform)
{
    const ConfigRead read = readConfigsAtStartup(state.document, state.files, platform);
    if (!read.failure)
        takeWholeRead(state, read.comPortNumber);
    return read.failure;
}

} // namespace orvane
