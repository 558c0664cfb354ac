#pragma once

#include "config/ConfigDocument.h"

namespace orvane {

// One user action on the image: made before the action, asked afterwards
// whether the action changed anything, so that a window reports real edits
// only. Compared bit for bit, so a curve point that is not a number counts as
// unchanged when it stays the same.
class ImageEdit
{
public:
    explicit ImageEdit(const ConfigDocument &document)
        : m_document(document)
        , m_before(document.image)
    {}

    bool changedImage() const { return !sameBits(m_document.image, m_before); }

private:
    const ConfigDocument &m_document;
    ConfigImage m_before;
};

} // namespace orvane
