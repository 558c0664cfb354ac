#pragma once

#include "config/ConfigDocument.h"
#include "config/FileState.h"
#include "editors/EditorState.h"
#include "link/LinkState.h"
#include "link/ReceiveState.h"
#include "transfer/TransferState.h"

namespace orvane {

// The main window's working state, gathered from the subsystems that own each
// part. The windows and the tests hold one; logic functions take only the
// part they need.
struct AppState
{
    ConfigDocument document;
    FileState files;
    ReceiveState rx;
    LinkState link;
    TransferState transfer;
    EditorState editor;
};

} // namespace orvane
