#include "editors/ui/LcdPreview.h"

#include <QFontDatabase>
#include <QHelpEvent>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPathStroker>
#include <QStringList>
#include <QToolTip>

#include <algorithm>
#include <cmath>
#include <vector>

namespace orvane {

namespace {

// Everything is laid out on a fixed design canvas and scaled to the widget,
// so the picture keeps its proportions at any size.
constexpr double kDesignWidth = 420;
constexpr double kDesignHeight = 300;
constexpr double kSlant = 0.12;    // italic lean of the digits, as on the glass
constexpr double kPatchMargin = 3; // blank patches reach a little past their field
constexpr double kSegmentGap = 5;  // clear band between bar-graph segments

const QColor kLitColour(24, 30, 24);
const QColor kGhostColour(38, 58, 38, 26);
const QColor kShadowColour(30, 40, 25, 45); // lit segments cast a faint shadow on the reflector
const QPointF kShadowOffset(0.8, 1.0);

int itemIndex(PreviewItem item)
{
    return int(item);
}

bool isBlankPatch(PreviewItem item)
{
    return itemIndex(item) >= itemIndex(PreviewItem::PicDisplay1Blank)
           && itemIndex(item) <= itemIndex(PreviewItem::PicDisplayBarLimitBlank);
}

bool isPointerMark(PreviewItem item)
{
    return item == PreviewItem::PicDisplay4PointerU || item == PreviewItem::PicDisplay4PointerD
           || item == PreviewItem::PicDisplay5PointerU || item == PreviewItem::PicDisplay5PointerD;
}

QBrush glassBrush()
{
    QLinearGradient gradient(0, 18, 0, 282);
    gradient.setColorAt(0, QColor(203, 211, 186));
    gradient.setColorAt(1, QColor(181, 192, 164));
    return gradient;
}

// The LCD's words are cut in a heavy face; Arial Black where installed,
// otherwise DejaVu Sans Bold thickened to a similar weight.
QPainterPath wordShape(const QString &word)
{
    static const bool haveArialBlack
        = QFontDatabase::families().contains(QStringLiteral("Arial Black"));
    QFont font(haveArialBlack ? QStringLiteral("Arial Black") : QStringLiteral("DejaVu Sans"));
    font.setWeight(haveArialBlack ? QFont::Black : QFont::Bold);
    font.setPixelSize(100);

    QPainterPath path;
    path.addText(0, 0, font, word);
    if (!haveArialBlack) {
        QPainterPathStroker stroker;
        stroker.setWidth(6);
        stroker.setJoinStyle(Qt::RoundJoin);
        path = path.united(stroker.createStroke(path)).simplified();
    }
    return path;
}

QPainterPath polygonShape(std::initializer_list<QPointF> points)
{
    QPainterPath path;
    path.addPolygon(QPolygonF(points));
    path.closeSubpath();
    return path;
}

QPainterPath upArrowShape()
{
    return polygonShape(
        {{0, 0.55}, {0.5, 0}, {1, 0.55}, {0.68, 0.55}, {0.68, 1}, {0.32, 1}, {0.32, 0.55}});
}

QString fieldName(int field)
{
    switch (field) {
    case 1:
        return LcdPreview::tr("Display 1");
    case 2:
        return LcdPreview::tr("Display 2");
    case 3:
        return LcdPreview::tr("Display 3");
    case 4:
        return LcdPreview::tr("Left bar graph");
    case 5:
        return LcdPreview::tr("Right bar graph");
    default:
        return {};
    }
}

QString iconName(PreviewItem item)
{
    switch (item) {
    case PreviewItem::lblSpeedU:
        return QStringLiteral("SPEED");
    case PreviewItem::LblDepthU:
        return QStringLiteral("DEPTH");
    case PreviewItem::lblRpmU:
        return QStringLiteral("RPM");
    case PreviewItem::LblDegU:
        return QStringLiteral("DEG.");
    case PreviewItem::lblNmea1:
        return QStringLiteral("NMEA1");
    case PreviewItem::lblNmea2:
        return QStringLiteral("NMEA2");
    case PreviewItem::lblNmea3:
        return QStringLiteral("NMEA3");
    case PreviewItem::PicNmea1LArrow:
        return LcdPreview::tr("left arrow by NMEA1");
    case PreviewItem::PicNmea2UArrow:
        return LcdPreview::tr("up arrow by NMEA2");
    case PreviewItem::PicNmea2DArrow:
        return LcdPreview::tr("down arrow by NMEA2");
    case PreviewItem::PicNmea3RArrow:
        return LcdPreview::tr("right arrow by NMEA3");
    case PreviewItem::PicUpLeftArrow:
        return LcdPreview::tr("left upward arrow");
    case PreviewItem::PicUpRightArrow:
        return LcdPreview::tr("right upward arrow");
    case PreviewItem::LblOil:
        return QStringLiteral("OIL");
    case PreviewItem::LblSpeedLower:
        return QStringLiteral("SPEED");
    case PreviewItem::LblVdc:
        return QStringLiteral("VDC");
    case PreviewItem::LblDepthLower:
        return QStringLiteral("DEPTH");
    case PreviewItem::LblRpmLower:
        return QStringLiteral("RPM");
    case PreviewItem::LblFuel:
        return QStringLiteral("FUEL");
    case PreviewItem::LblTemp:
        return QStringLiteral("TEMP.");
    default:
        return {};
    }
}

} // namespace

SegmentCellShape LcdPreview::DigitField::cellShape(int index) const
{
    const QRectF cell(rect.left() + index * (cellWidth + gap),
                      rect.top(),
                      cellWidth,
                      rect.height());
    return {cell, kSlant};
}

QRectF LcdPreview::BarGraph::segment(int index) const
{
    const double height = (column.height() - (kBarSegments - 1) * kSegmentGap) / kBarSegments;
    const double bottom = column.bottom() - index * (height + kSegmentGap);
    return QRectF(column.left(), bottom - height, column.width(), height);
}

LcdPreview::LcdPreview(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("picTessaro"));
    setAccessibleName(tr("LCD preview"));
    buildLayout();
    refreshDescription();
}

void LcdPreview::placeShape(PreviewItem item, const QPainterPath &shape, const QRectF &rect)
{
    const QRectF box = shape.boundingRect();
    const QTransform fit
        = QTransform::fromTranslate(-box.left(), -box.top())
          * QTransform::fromScale(rect.width() / box.width(), rect.height() / box.height())
          * QTransform::fromTranslate(rect.left(), rect.top());
    m_itemShapes[size_t(itemIndex(item))] = fit.map(shape);
    m_itemRects[size_t(itemIndex(item))] = rect;
}

void LcdPreview::placeWord(PreviewItem item,
                           const QString &word,
                           QPointF topLeft,
                           double capHeight,
                           double maxWidth)
{
    const QPainterPath shape = wordShape(word);
    const QRectF box = shape.boundingRect();
    // A wider face than expected shrinks the word rather than crowding its neighbours.
    const double width = std::min(box.width() / box.height() * capHeight, maxWidth);
    const double height = width * box.height() / box.width();
    placeShape(item,
               shape,
               QRectF(topLeft.x(), topLeft.y() + (capHeight - height) / 2, width, height));
}

void LcdPreview::buildLayout()
{
    m_glass = QRectF(18, 18, 384, 264);

    auto digitField = [](double centreX, double top, double cellHeight, int cells, int colonAfter) {
        DigitField field;
        field.cells = cells;
        field.cellWidth = cellHeight * 0.5;
        field.gap = field.cellWidth * 0.36;
        field.colonAfter = colonAfter;
        const double width
            = cells * field.cellWidth + (cells - 1) * field.gap + kSlant * cellHeight;
        field.rect = QRectF(centreX - width / 2, top, width, cellHeight);
        return field;
    };
    m_digitFields[0] = digitField(210, 46, 62, kDigitsPerField, -1);
    m_digitFields[1] = digitField(210, 140, 44, kDigitsPerField, -1);
    m_digitFields[2] = digitField(210, 194, 44, kDigitsPerField, 1);
    m_barLimitField = digitField(210, 252, 20, 3, -1);

    // Bar graphs down both sides; the pointer marks sit above and below them.
    const struct
    {
        double left;
        PreviewItem up;
        PreviewItem down;
    } bars[2] = {{28, PreviewItem::PicDisplay4PointerU, PreviewItem::PicDisplay4PointerD},
                 {360, PreviewItem::PicDisplay5PointerU, PreviewItem::PicDisplay5PointerD}};
    for (int i = 0; i < 2; ++i) {
        BarGraph &bar = m_bars[size_t(i)];
        bar.rect = QRectF(bars[i].left, 28, 32, 242);
        bar.column = QRectF(bars[i].left + 6, 46, 20, 206);
        const double markLeft = bar.rect.center().x() - 8;
        placeShape(bars[i].up, polygonShape({{0, 1}, {0.5, 0}, {1, 1}}), {markLeft, 32, 16, 10});
        placeShape(bars[i].down, polygonShape({{0, 0}, {1, 0}, {0.5, 1}}), {markLeft, 256, 16, 10});
    }

    // A row of pieces centred on a vertical line; words keep their own aspect.
    struct Piece
    {
        PreviewItem item;
        QPainterPath shape;
        double width; // 0: from the word's aspect
        double height;
        double gapAfter;
    };
    auto placeRow
        = [this](std::vector<Piece> pieces, double centreX, double middleY, double maxWidth) {
              double total = 0;
              for (Piece &piece : pieces) {
                  if (piece.width == 0) {
                      const QRectF box = piece.shape.boundingRect();
                      piece.width = box.width() / box.height() * piece.height;
                  }
                  total += piece.width + piece.gapAfter;
              }
              total -= pieces.back().gapAfter;
              const double shrink = std::min(1.0, maxWidth / total);
              double x = centreX - total * shrink / 2;
              for (const Piece &piece : pieces) {
                  const QSizeF size(piece.width * shrink, piece.height * shrink);
                  placeShape(piece.item,
                             piece.shape,
                             QRectF(QPointF(x, middleY - size.height() / 2), size));
                  x += (piece.width + piece.gapAfter) * shrink;
              }
          };

    // Upper row names the big field; DEG. stands beside it like a unit.
    constexpr double upperCap = 10.5;
    placeRow({{PreviewItem::lblSpeedU, wordShape(QStringLiteral("SPEED")), 0, upperCap, 14},
              {PreviewItem::LblDepthU, wordShape(QStringLiteral("DEPTH")), 0, upperCap, 14},
              {PreviewItem::lblRpmU, wordShape(QStringLiteral("RPM")), 0, upperCap, 0}},
             210,
             33,
             276);
    const QRectF big = m_digitFields[0].rect;
    placeWord(PreviewItem::LblDegU,
              QStringLiteral("DEG."),
              {big.right() + 8, big.top() + 1},
              upperCap,
              m_bars[1].rect.left() - 6 - (big.right() + 8));

    // Middle row: the NMEA marks with their arrows, the upward arrows at the ends.
    constexpr double middleCap = 10;
    constexpr double middleY = 124;
    const double arrow = middleCap * 0.9;
    placeRow({{PreviewItem::PicNmea1LArrow,
               polygonShape({{1, 0}, {0, 0.5}, {1, 1}}),
               arrow * 0.8,
               arrow,
               3},
              {PreviewItem::lblNmea1, wordShape(QStringLiteral("NMEA1")), 0, middleCap, 14},
              {PreviewItem::PicNmea2UArrow,
               polygonShape({{0, 1}, {0.5, 0}, {1, 1}}),
               arrow,
               arrow * 0.8,
               3},
              {PreviewItem::lblNmea2, wordShape(QStringLiteral("NMEA2")), 0, middleCap, 3},
              {PreviewItem::PicNmea2DArrow,
               polygonShape({{0, 0}, {1, 0}, {0.5, 1}}),
               arrow,
               arrow * 0.8,
               14},
              {PreviewItem::lblNmea3, wordShape(QStringLiteral("NMEA3")), 0, middleCap, 3},
              {PreviewItem::PicNmea3RArrow,
               polygonShape({{0, 0}, {1, 0.5}, {0, 1}}),
               arrow * 0.8,
               arrow,
               0}},
             210,
             middleY,
             334 - 86 - 2 * 6);
    placeShape(PreviewItem::PicUpLeftArrow, upArrowShape(), {74, middleY - 7, 12, 14});
    placeShape(PreviewItem::PicUpRightArrow, upArrowShape(), {334, middleY - 7, 12, 14});

    // Lower words stand in columns either side of the small fields.
    constexpr double lowerCap = 9;
    constexpr double lowerPitch = 26;
    constexpr double lowerMiddle = 189;
    const std::pair<PreviewItem, const char *> lowerLeft[] = {{PreviewItem::LblOil, "OIL"},
                                                              {PreviewItem::LblSpeedLower, "SPEED"},
                                                              {PreviewItem::LblVdc, "VDC"}};
    const std::pair<PreviewItem, const char *> lowerRight[]
        = {{PreviewItem::LblDepthLower, "DEPTH"},
           {PreviewItem::LblRpmLower, "RPM"},
           {PreviewItem::LblFuel, "FUEL"},
           {PreviewItem::LblTemp, "TEMP."}};
    for (int i = 0; i < 3; ++i) {
        const double middle = lowerMiddle + (i - 1) * lowerPitch;
        placeWord(lowerLeft[i].first,
                  QString::fromLatin1(lowerLeft[i].second),
                  {72, middle - lowerCap / 2},
                  lowerCap,
                  m_digitFields[1].rect.left() - kPatchMargin - 6 - 72);
    }
    for (int i = 0; i < 4; ++i) {
        const double middle = lowerMiddle + (i - 1.5) * lowerPitch;
        placeWord(lowerRight[i].first,
                  QString::fromLatin1(lowerRight[i].second),
                  {284, middle - lowerCap / 2},
                  lowerCap,
                  m_bars[1].rect.left() - 6 - 284);
    }

    // Blank patches cover their whole field, ghost segments included.
    const PreviewItem digitPatches[] = {PreviewItem::PicDisplay1Blank,
                                        PreviewItem::PicDisplay2Blank,
                                        PreviewItem::PicDisplay3Blank};
    for (int i = 0; i < 3; ++i) {
        m_itemRects[size_t(itemIndex(digitPatches[i]))]
            = m_digitFields[size_t(i)].rect.adjusted(-kPatchMargin,
                                                     -kPatchMargin,
                                                     kPatchMargin,
                                                     kPatchMargin);
    }
    m_itemRects[size_t(itemIndex(PreviewItem::PicDisplay4Blank))] = m_bars[0].rect;
    m_itemRects[size_t(itemIndex(PreviewItem::PicDisplay5Blank))] = m_bars[1].rect;
    m_itemRects[size_t(itemIndex(PreviewItem::PicDisplayBarLimitBlank))]
        = m_barLimitField.rect.adjusted(-kPatchMargin, -kPatchMargin, kPatchMargin, kPatchMargin);
}

void LcdPreview::setItemVisible(PreviewItem item, bool visible)
{
    const int index = itemIndex(item);
    if (index < 0 || index >= kPreviewItemCount || m_visible[size_t(index)] == visible)
        return;
    m_visible[size_t(index)] = visible;
    if (!isBlankPatch(item))
        refreshDescription();
    update();
}

bool LcdPreview::isItemVisible(PreviewItem item) const
{
    const int index = itemIndex(item);
    return index >= 0 && index < kPreviewItemCount && m_visible[size_t(index)];
}

void LcdPreview::setItemsVisible(const ItemFlags &visible)
{
    if (visible == m_visible)
        return;
    m_visible = visible;
    refreshDescription();
    update();
}

void LcdPreview::setFieldText(int field, const QString &text)
{
    if (field < 1 || field > 3 || m_texts[size_t(field - 1)] == text)
        return;
    m_texts[size_t(field - 1)] = text;
    refreshDescription();
    update();
}

QString LcdPreview::fieldText(int field) const
{
    return field >= 1 && field <= 3 ? m_texts[size_t(field - 1)] : QString();
}

void LcdPreview::setBarLevel(int field, double level)
{
    if (field < 4 || field > 5)
        return;
    level = std::isfinite(level) ? std::clamp(level, 0.0, 1.0) : 0.0;
    if (m_levels[size_t(field - 4)] == level)
        return;
    m_levels[size_t(field - 4)] = level;
    refreshDescription();
    update();
}

double LcdPreview::barLevel(int field) const
{
    return field >= 4 && field <= 5 ? m_levels[size_t(field - 4)] : 0.0;
}

void LcdPreview::setBarMode(BarMode mode)
{
    m_barMode = mode;
    for (int i = 0; i < kPreviewItemCount; ++i) {
        if (isPointerMark(PreviewItem(i)))
            m_visible[size_t(i)] = mode == BarMode::Pointer;
    }
    refreshDescription();
    update();
}

void LcdPreview::setFieldSource(int field, const QString &sourceName)
{
    if (field < 1 || field > kFieldCount)
        return;
    m_sources[size_t(field - 1)] = sourceName;
    refreshDescription();
}

QString LcdPreview::fieldSource(int field) const
{
    return field >= 1 && field <= kFieldCount ? m_sources[size_t(field - 1)] : QString();
}

QString LcdPreview::fieldToolTip(int field) const
{
    const QString source = fieldSource(field);
    return source.isEmpty() ? QString() : fieldName(field) + QStringLiteral(": ") + source;
}

QTransform LcdPreview::designToWidget() const
{
    const double scale = std::min(width() / kDesignWidth, height() / kDesignHeight);
    return QTransform(scale,
                      0,
                      0,
                      scale,
                      (width() - kDesignWidth * scale) / 2,
                      (height() - kDesignHeight * scale) / 2);
}

QRectF LcdPreview::itemRect(PreviewItem item) const
{
    const int index = itemIndex(item);
    if (index < 0 || index >= kPreviewItemCount)
        return {};
    return designToWidget().mapRect(m_itemRects[size_t(index)]);
}

QRectF LcdPreview::fieldRect(int field) const
{
    if (field >= 1 && field <= 3)
        return designToWidget().mapRect(m_digitFields[size_t(field - 1)].rect);
    if (field >= 4 && field <= 5)
        return designToWidget().mapRect(m_bars[size_t(field - 4)].rect);
    return {};
}

QRectF LcdPreview::glassRect() const
{
    return designToWidget().mapRect(m_glass);
}

int LcdPreview::fieldAt(const QPointF &pos) const
{
    for (int field = 1; field <= kFieldCount; ++field) {
        if (fieldRect(field).contains(pos))
            return field;
    }
    return 0;
}

QSize LcdPreview::sizeHint() const
{
    return {int(kDesignWidth), int(kDesignHeight)};
}

QSize LcdPreview::minimumSizeHint() const
{
    return {int(kDesignWidth / 2), int(kDesignHeight / 2)};
}

void LcdPreview::refreshDescription()
{
    QStringList parts;
    for (int field = 1; field <= kFieldCount; ++field) {
        QString reading;
        if (field <= 3) {
            const QString text = m_texts[size_t(field - 1)].trimmed();
            reading = text.isEmpty() ? tr("blank") : text;
        } else {
            reading = tr("%1 %").arg(qRound(m_levels[size_t(field - 4)] * 100));
        }
        const QString source = m_sources[size_t(field - 1)];
        parts << (source.isEmpty() ? tr("%1 %2").arg(fieldName(field), reading)
                                   : tr("%1 %2 (%3)").arg(fieldName(field), reading, source));
    }
    parts << (m_barMode == BarMode::Pointer ? tr("bar graphs in pointer mode")
                                            : tr("bar graphs in chart mode"));
    QStringList lit;
    for (int i = 0; i < kIconItemCount; ++i) {
        if (m_visible[size_t(i)])
            lit << iconName(PreviewItem(i));
    }
    parts << (lit.isEmpty() ? tr("no icons lit")
                            : tr("lit: %1").arg(lit.join(QStringLiteral(", "))));
    setAccessibleDescription(parts.join(QStringLiteral("; ")));
}

bool LcdPreview::event(QEvent *event)
{
    if (event->type() == QEvent::ToolTip) {
        const auto *help = static_cast<QHelpEvent *>(event);
        const int field = fieldAt(help->pos());
        const QString tip = fieldToolTip(field);
        if (tip.isEmpty()) {
            QToolTip::hideText();
            event->ignore();
        } else {
            QToolTip::showText(help->globalPos(), tip, this, fieldRect(field).toAlignedRect());
        }
        return true;
    }
    return QWidget::event(event);
}

void LcdPreview::paintLit(QPainter &p, const QPainterPath &path) const
{
    p.fillPath(path.translated(kShadowOffset), kShadowColour);
    p.fillPath(path, kLitColour);
}

void LcdPreview::paintBezel(QPainter &p) const
{
    const QRectF outer(1, 1, kDesignWidth - 2, kDesignHeight - 2);
    QLinearGradient body(0, outer.top(), 0, outer.bottom());
    body.setColorAt(0, QColor(78, 83, 88));
    body.setColorAt(0.06, QColor(52, 56, 60));
    body.setColorAt(1, QColor(24, 26, 28));
    p.setPen(QPen(QColor(8, 9, 10), 1.2));
    p.setBrush(body);
    p.drawRoundedRect(outer, 20, 20);

    // A soft highlight along the bezel's inner lip.
    QLinearGradient lip(0, outer.top(), 0, outer.bottom());
    lip.setColorAt(0, QColor(255, 255, 255, 50));
    lip.setColorAt(0.5, QColor(255, 255, 255, 8));
    lip.setColorAt(1, QColor(255, 255, 255, 24));
    p.setPen(QPen(QBrush(lip), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(outer.adjusted(5, 5, -5, -5), 15, 15);

    // The recess the glass sits in.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(12, 14, 15));
    p.drawRoundedRect(m_glass.adjusted(-4, -4, 4, 4), 11, 11);
}

void LcdPreview::paintDigitField(QPainter &p, const DigitField &field, const QString &text) const
{
    const SegmentText reading = layoutSegmentText(text, field.cells, field.colonAfter);
    QPainterPath ghost;
    QPainterPath lit;
    for (int i = 0; i < field.cells; ++i) {
        const SegmentCellShape cell = field.cellShape(i);
        const SegmentCell &shown = reading.cells[size_t(i)];
        ghost.addPath(cell.segments(kAllSegments));
        lit.addPath(cell.segments(shown.segments));
        // No point after the last cell: the glass has none there.
        if (i + 1 < field.cells) {
            ghost.addPath(cell.point(field.gap));
            if (shown.point)
                lit.addPath(cell.point(field.gap));
        }
        if (i == field.colonAfter) {
            ghost.addPath(cell.colon(field.gap));
            if (reading.colon)
                lit.addPath(cell.colon(field.gap));
        }
    }
    p.fillPath(ghost, kGhostColour);
    paintLit(p, lit);
}

void LcdPreview::paintBar(QPainter &p, const BarGraph &bar, double level) const
{
    const int pointerSegment = std::min(kBarSegments - 1, int(level * kBarSegments));
    const int chartSegments = qRound(level * kBarSegments);
    QPainterPath ghost;
    QPainterPath lit;
    for (int i = 0; i < kBarSegments; ++i) {
        QPainterPath segment;
        segment.addRect(bar.segment(i));
        ghost.addPath(segment);
        const bool on = m_barMode == BarMode::Pointer ? i == pointerSegment : i < chartSegments;
        if (on)
            lit.addPath(segment);
    }
    p.fillPath(ghost, kGhostColour);
    paintLit(p, lit);
}

void LcdPreview::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setTransform(designToWidget());

    paintBezel(p);
    QPainterPath glass;
    glass.addRoundedRect(m_glass, 7, 7);
    p.fillPath(glass, glassBrush());

    for (int i = 0; i < 3; ++i)
        paintDigitField(p, m_digitFields[size_t(i)], m_texts[size_t(i)]);
    paintDigitField(p, m_barLimitField, QString());
    for (int i = 0; i < 2; ++i)
        paintBar(p, m_bars[size_t(i)], m_levels[size_t(i)]);

    for (int i = 0; i < kPreviewItemCount; ++i) {
        const PreviewItem item = PreviewItem(i);
        if (isBlankPatch(item))
            continue;
        if (m_visible[size_t(i)])
            paintLit(p, m_itemShapes[size_t(i)]);
        else
            p.fillPath(m_itemShapes[size_t(i)], kGhostColour);
    }

    // Patches are cut from the glass itself, so they hide the ghosts as well.
    for (int i = 0; i < kPreviewItemCount; ++i) {
        if (isBlankPatch(PreviewItem(i)) && m_visible[size_t(i)])
            p.fillRect(m_itemRects[size_t(i)], glassBrush());
    }

    // Glass over everything: a faint reflection and the shade of the bezel's edge.
    p.save();
    p.setClipPath(glass);
    QLinearGradient sheen(m_glass.topLeft(), m_glass.bottomRight());
    sheen.setColorAt(0, QColor(255, 255, 255, 0));
    sheen.setColorAt(0.28, QColor(255, 255, 255, 34));
    sheen.setColorAt(0.45, QColor(255, 255, 255, 0));
    p.fillRect(m_glass, sheen);
    QLinearGradient shade(0, m_glass.top(), 0, m_glass.top() + 10);
    shade.setColorAt(0, QColor(0, 0, 0, 70));
    shade.setColorAt(1, QColor(0, 0, 0, 0));
    p.fillRect(m_glass, shade);
    QLinearGradient sideShade(m_glass.left(), 0, m_glass.left() + 6, 0);
    sideShade.setColorAt(0, QColor(0, 0, 0, 40));
    sideShade.setColorAt(1, QColor(0, 0, 0, 0));
    p.fillRect(m_glass, sideShade);
    p.restore();
}

} // namespace orvane
