#pragma once

#include <QPainterPath>
#include <QRectF>
#include <QStringView>

#include <cstdint>
#include <vector>

// Seven-segment cells of the preview's digital fields: which segments a
// character lights, how a sample reading fills a field, and the outlines of
// the segments, drawn slanted like the instrument's glass.

namespace orvane {

enum SegmentBit : std::uint8_t {
    SegA = 1 << 0, // top
    SegB = 1 << 1, // upper right
    SegC = 1 << 2, // lower right
    SegD = 1 << 3, // bottom
    SegE = 1 << 4, // lower left
    SegF = 1 << 5, // upper left
    SegG = 1 << 6, // middle
};
constexpr std::uint8_t kAllSegments = 0x7f;

// Segments lit by one character; characters a seven-segment cell cannot show
// give a dark cell.
std::uint8_t segmentsForChar(QChar ch);

struct SegmentCell
{
    std::uint8_t segments = 0;
    bool point = false; // decimal point after this cell
};

struct SegmentText
{
    std::vector<SegmentCell> cells;
    bool colon = false;
};

// Fills cellCount cells from a reading such as "12.50" or "10:35", aligned to
// the right as the instrument shows numbers. A point joins the cell before it;
// a colon lights only when it falls after cell colonAfter (-1: the field has
// no colon). A reading longer than the field keeps its rightmost cells.
SegmentText layoutSegmentText(QStringView text, int cellCount, int colonAfter);

// Geometry of one cell; slant is the horizontal shift of the top edge per unit
// of height.
struct SegmentCellShape
{
    QRectF cell; // upright box of the cell, before slanting
    double slant = 0;

    double thickness() const { return cell.height() * 0.125; }
    QPainterPath segments(std::uint8_t mask) const;
    // The point and the colon dots sit in the gap of width gap after the cell.
    QPainterPath point(double gap) const;
    QPainterPath colon(double gap) const;
};

} // namespace orvane
