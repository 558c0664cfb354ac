#include "app/FileMenu.h"

namespace orvane {

namespace {

// What a whole read brings beyond the image and the header lines.
void takeWholeRead(AppState &state, ByteLink &link, uint8_t comPortNumber)
{
    link.setComPortNumber(comPortNumber);
    imageReplaced(state.editor, state.document.image);
}

} // namespace

FileCommandResult openConfigFile(AppState &state, ByteLink &link, Platform &platform)
{
    const OpenedFile opened = fileOpen(state.document, state.files, platform);
    if (opened.result == FileCommandResult::Done)
        takeWholeRead(state, link, opened.comPortNumber);
    return opened.result;
}

FileCommandResult
openUnitCopy(AppState &state, ByteLink &link, Platform &platform, const UnitCopy &copy)
{
    const OpenedFile opened
        = openConfigPath(state.document, state.files, platform, copy.configFile);
    if (opened.result == FileCommandResult::Done)
        takeWholeRead(state, link, opened.comPortNumber);
    return opened.result;
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
