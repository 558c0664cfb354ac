#pragma once

#include "config/ConfigDocument.h"
#include "config/FileState.h"
#include "editors/EditorState.h"
#include "transfer/TransferState.h"

namespace orvane {

// The main window's working state, gathered from the subsystems that own each
// part. The windows and the tests hold one; logic functions take only the
// part they need. The connection state and the receive table are the link's
// (ByteLink), which the main window owns beside this.
struct AppState
{
    ConfigDocument document;
    FileState files;
    TransferState transfer;
    EditorState editor;
};

} // namespace orvane
