#pragma once

#include "editors/PreviewItems.h"
#include "editors/ui/LcdPreviewSegments.h"

#include <QPainterPath>
#include <QString>
#include <QWidget>

#include <array>

class QPainter;

namespace orvane {

// A drawn picture of the instrument's LCD: three seven-segment fields, the
// left and right bar graphs and the icon words and arrows, each lit or dark
// as the configuration being edited says. The caller decides what is shown;
// the widget keeps no state beyond that.
//
// Fields are numbered as the instrument numbers its displays: 1 to 3 are the
// digital fields, 4 the left bar graph and 5 the right one.
class LcdPreview : public QWidget
{
    Q_OBJECT

public:
    enum class BarMode { Chart, Pointer };
    using ItemFlags = std::array<bool, kPreviewItemCount>;

    static constexpr int kFieldCount = 5;
    static constexpr int kDigitsPerField = 4;
    static constexpr int kBarSegments = 10;

    explicit LcdPreview(QWidget *parent = nullptr);

    void setItemVisible(PreviewItem item, bool visible);
    bool isItemVisible(PreviewItem item) const;
    void setItemsVisible(const ItemFlags &visible);
    ItemFlags itemsVisible() const { return m_visible; }

    // Sample reading of a digital field (1..3), e.g. "2450", "12.50", "10:35";
    // empty for a field that shows nothing.
    void setFieldText(int field, const QString &text);
    QString fieldText(int field) const;

    // Sample level of a bar graph (4 or 5), 0 empty to 1 full.
    void setBarLevel(int field, double level);
    double barLevel(int field) const;

    // Also shows the four pointer marks in pointer mode and hides them in
    // chart mode, as the instrument does.
    void setBarMode(BarMode mode);
    BarMode barMode() const { return m_barMode; }

    // Name of the data source a field (1..5) shows, for its tooltip.
    void setFieldSource(int field, const QString &sourceName);
    QString fieldSource(int field) const;
    QString fieldToolTip(int field) const;

    // Where things are drawn, in widget coordinates.
    QRectF itemRect(PreviewItem item) const;
    QRectF fieldRect(int field) const;
    QRectF glassRect() const;
    int fieldAt(const QPointF &pos) const; // 0 when no field is there

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    struct DigitField
    {
        QRectF rect; // bounds of the slanted cells, design units
        int cells = 0;
        double cellWidth = 0;
        double gap = 0;
        int colonAfter = -1;
        SegmentCellShape cellShape(int index) const;
    };
    struct BarGraph
    {
        QRectF rect;                     // the field: segments and pointer marks
        QRectF column;                   // the segments
        QRectF segment(int index) const; // 0 is the bottom segment
    };

    void buildLayout();
    void placeWord(PreviewItem item,
                   const QString &word,
                   QPointF topLeft,
                   double capHeight,
                   double maxWidth);
    void placeShape(PreviewItem item, const QPainterPath &unitShape, const QRectF &rect);
    QTransform designToWidget() const;
    void refreshDescription();

    void paintBezel(QPainter &p) const;
    void paintDigitField(QPainter &p, const DigitField &field, const QString &text) const;
    void paintBar(QPainter &p, const BarGraph &bar, double level) const;
    void paintLit(QPainter &p, const QPainterPath &path) const;

    ItemFlags m_visible{};
    std::array<QString, 3> m_texts;
    std::array<double, 2> m_levels{0.6, 0.35};
    std::array<QString, kFieldCount> m_sources;
    BarMode m_barMode = BarMode::Chart;

    // Layout in design units, built once; painting scales it to the widget.
    std::array<QRectF, kPreviewItemCount> m_itemRects;
    std::array<QPainterPath, kPreviewItemCount> m_itemShapes;
    std::array<DigitField, 3> m_digitFields;
    DigitField m_barLimitField;
    std::array<BarGraph, 2> m_bars;
    QRectF m_glass;
};

} // namespace orvane
