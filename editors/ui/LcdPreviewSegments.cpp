#include "editors/ui/LcdPreviewSegments.h"

#include <QPolygonF>
#include <QTransform>

namespace orvane {

namespace {

std::uint8_t exactSegments(QChar ch)
{
    switch (ch.unicode()) {
    case '0':
        return SegA | SegB | SegC | SegD | SegE | SegF;
    case '1':
        return SegB | SegC;
    case '2':
        return SegA | SegB | SegD | SegE | SegG;
    case '3':
        return SegA | SegB | SegC | SegD | SegG;
    case '4':
        return SegB | SegC | SegF | SegG;
    case '5':
        return SegA | SegC | SegD | SegF | SegG;
    case '6':
        return SegA | SegC | SegD | SegE | SegF | SegG;
    case '7':
        return SegA | SegB | SegC;
    case '8':
        return kAllSegments;
    case '9':
        return SegA | SegB | SegC | SegD | SegF | SegG;
    case '-':
        return SegG;
    case '_':
        return SegD;
    case 'A':
        return SegA | SegB | SegC | SegE | SegF | SegG;
    case 'b':
        return SegC | SegD | SegE | SegF | SegG;
    case 'C':
        return SegA | SegD | SegE | SegF;
    case 'c':
        return SegD | SegE | SegG;
    case 'd':
        return SegB | SegC | SegD | SegE | SegG;
    case 'E':
        return SegA | SegD | SegE | SegF | SegG;
    case 'F':
        return SegA | SegE | SegF | SegG;
    case 'G':
        return SegA | SegC | SegD | SegE | SegF;
    case 'H':
        return SegB | SegC | SegE | SegF | SegG;
    case 'h':
        return SegC | SegE | SegF | SegG;
    case 'I':
        return SegE | SegF;
    case 'J':
        return SegB | SegC | SegD | SegE;
    case 'L':
        return SegD | SegE | SegF;
    case 'n':
        return SegC | SegE | SegG;
    case 'o':
        return SegC | SegD | SegE | SegG;
    case 'P':
        return SegA | SegB | SegE | SegF | SegG;
    case 'r':
        return SegE | SegG;
    case 't':
        return SegD | SegE | SegF | SegG;
    case 'U':
        return SegB | SegC | SegD | SegE | SegF;
    case 'u':
        return SegC | SegD | SegE;
    case 'y':
        return SegB | SegC | SegD | SegF | SegG;
    default:
        return 0;
    }
}

QPolygonF horizontalSegment(double x0, double x1, double y, double t, double g)
{
    const double h = t / 2;
    return QPolygonF({{x0 + g, y},
                      {x0 + g + h, y - h},
                      {x1 - g - h, y - h},
                      {x1 - g, y},
                      {x1 - g - h, y + h},
                      {x0 + g + h, y + h}});
}

QPolygonF verticalSegment(double x, double y0, double y1, double t, double g)
{
    const double h = t / 2;
    return QPolygonF({{x, y0 + g},
                      {x + h, y0 + g + h},
                      {x + h, y1 - g - h},
                      {x, y1 - g},
                      {x - h, y1 - g - h},
                      {x - h, y0 + g + h}});
}

// Maps the cell's upright coordinates (origin top left) onto the slanted cell.
QTransform slantTransform(const QRectF &cell, double slant)
{
    return QTransform(1, 0, -slant, 1, cell.left() + slant * cell.height(), cell.top());
}

} // namespace

std::uint8_t segmentsForChar(QChar ch)
{
    if (const std::uint8_t exact = exactSegments(ch))
        return exact;
    // Letters the cell can show in only one case stand in for the other case.
    if (const std::uint8_t upper = exactSegments(ch.toUpper()))
        return upper;
    return exactSegments(ch.toLower());
}

SegmentText layoutSegmentText(QStringView text, int cellCount, int colonAfter)
{
    SegmentText out;
    if (cellCount <= 0)
        return out;

    std::vector<SegmentCell> cells;
    bool hasColon = false;
    int colonIndex = 0; // cell before the colon, -1 when it leads the text
    for (const QChar ch : text.trimmed()) {
        if (ch == u'.' || ch == u',') {
            if (cells.empty() || cells.back().point)
                cells.push_back({});
            cells.back().point = true;
        } else if (ch == u':') {
            hasColon = true;
            colonIndex = int(cells.size()) - 1;
        } else {
            cells.push_back({segmentsForChar(ch), false});
        }
    }

    const int offset = cellCount - int(cells.size());
    out.cells.assign(size_t(cellCount), {});
    for (int i = 0; i < int(cells.size()); ++i) {
        if (i + offset >= 0)
            out.cells[size_t(i + offset)] = cells[size_t(i)];
    }
    out.colon = hasColon && colonAfter >= 0 && colonIndex + offset == colonAfter;
    return out;
}

QPainterPath SegmentCellShape::segments(std::uint8_t mask) const
{
    const double w = cell.width();
    const double h = cell.height();
    const double t = thickness();
    const double g = t * 0.16; // the thin clear line between neighbouring segments
    const double m = t / 2;

    QPainterPath path;
    path.setFillRule(Qt::WindingFill);
    auto add = [&](SegmentBit bit, const QPolygonF &shape) {
        if (mask & bit) {
            path.addPolygon(shape);
            path.closeSubpath();
        }
    };
    add(SegA, horizontalSegment(m, w - m, m, t, g));
    add(SegB, verticalSegment(w - m, m, h / 2, t, g));
    add(SegC, verticalSegment(w - m, h / 2, h - m, t, g));
    add(SegD, horizontalSegment(m, w - m, h - m, t, g));
    add(SegE, verticalSegment(m, h / 2, h - m, t, g));
    add(SegF, verticalSegment(m, m, h / 2, t, g));
    add(SegG, horizontalSegment(m, w - m, h / 2, t, g));
    return slantTransform(cell, slant).map(path);
}

QPainterPath SegmentCellShape::point(double gap) const
{
    const double r = thickness() * 0.62;
    QPainterPath path;
    path.addEllipse(QPointF(cell.width() + gap / 2, cell.height() - r), r, r);
    return slantTransform(cell, slant).map(path);
}

QPainterPath SegmentCellShape::colon(double gap) const
{
    const double r = thickness() * 0.58;
    const double x = cell.width() + gap / 2;
    QPainterPath path;
    path.addEllipse(QPointF(x, cell.height() * 0.3), r, r);
    path.addEllipse(QPointF(x, cell.height() * 0.72), r, r);
    return slantTransform(cell, slant).map(path);
}

} // namespace orvane
