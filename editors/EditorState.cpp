#include "editors/EditorState.h"

#include "config/Defaults.h"

namespace orvane {

void imageReplaced(EditorState &editor, const ConfigImage &image)
{
    editor.senderLists = senderListPositionsFor(image.IntNvm);
    editor.CurveInEdit = EditorState::kNoCurve;
}

void loadFactoryDefaults(ConfigDocument &document, EditorState &editor, bool newUnitPending)
{
    WriteDefaultsToRam(document, newUnitPending);
    imageReplaced(editor, document.image);
}

} // namespace orvane
