#pragma once

#include "config/ConfigDocument.h"

#include <cstring>
#include <type_traits>

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

    bool changedImage() const
    {
        const ConfigImage &now = m_document.image;
        return !sameBits(now.CDC, m_before.CDC) || !sameBits(now.IntNvm, m_before.IntNvm)
               || !sameBits(now.CalCurve, m_before.CalCurve);
    }

private:
    template<class Table>
    static bool sameBits(const Table &a, const Table &b)
    {
        static_assert(std::is_trivially_copyable_v<Table>);
        return std::memcmp(&a, &b, sizeof(Table)) == 0;
    }

    const ConfigDocument &m_document;
    ConfigImage m_before;
};

} // namespace orvane
