#pragma once

#include "config/ConfigDocument.h"
#include "editors/EditorState.h"

namespace orvane::test {

// What the editors work on: the image with its changed flag, and the state
// the editors keep between events.
struct EditingState
{
    ConfigDocument document;
    EditorState editor;
};

} // namespace orvane::test
