#include "editors/ui/LcdPreview.h"
#include "editors/ui/PreviewItemNames.h"

#include <QImage>
#include <QPixmap>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>

namespace orvane {
namespace {

QImage render(LcdPreview &lcd)
{
    return lcd.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// Lit segments are near black; the glass, its ghosts and its shading are far lighter.
bool isLit(QRgb pixel)
{
    return qGray(pixel) < 90;
}

struct LitPixels
{
    int count = 0;
    double meanY = 0;
};

LitPixels litPixels(const QImage &image, const QRectF &area, const QRectF &except = {})
{
    LitPixels lit;
    const QRect r = area.toAlignedRect() & image.rect();
    for (int y = r.top(); y <= r.bottom(); ++y) {
        for (int x = r.left(); x <= r.right(); ++x) {
            if (isLit(image.pixel(x, y)) && !except.contains(QPointF(x + 0.5, y + 0.5))) {
                ++lit.count;
                lit.meanY += y;
            }
        }
    }
    if (lit.count)
        lit.meanY /= lit.count;
    return lit;
}

// Pixels that differ between two renderings, inside or outside an area.
int differences(const QImage &a, const QImage &b, const QRectF &area, bool inside)
{
    const QRect r = area.toAlignedRect().adjusted(-1, -1, 1, 1);
    int count = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            if (r.contains(x, y) == inside && a.pixel(x, y) != b.pixel(x, y))
                ++count;
        }
    }
    return count;
}

LcdPreview::ItemFlags iconsLit()
{
    LcdPreview::ItemFlags flags{};
    for (int i = 0; i < kIconItemCount; ++i)
        flags[size_t(i)] = true;
    return flags;
}

const char *nameOf(PreviewItem item)
{
    return kPreviewItemNames[size_t(item)].data();
}

TEST(LcdPreview, EachIconLightsExactlyWhereItIsDrawn)
{
    LcdPreview lcd;
    lcd.resize(lcd.sizeHint());
    lcd.setFieldText(1, QStringLiteral("2450"));
    const QImage dark = render(lcd);
    for (int i = 0; i < kIconItemCount; ++i) {
        const PreviewItem item = PreviewItem(i);
        SCOPED_TRACE(nameOf(item));
        const QRectF rect = lcd.itemRect(item);
        EXPECT_EQ(litPixels(dark, rect).count, 0);

        lcd.setItemVisible(item, true);
        const QImage lit = render(lcd);
        EXPECT_GT(litPixels(lit, rect).count, rect.width() * rect.height() / 8);
        EXPECT_EQ(differences(dark, lit, rect.adjusted(-1, -1, 1, 1), false), 0);
        lcd.setItemVisible(item, false);
    }

    // Still legible at the smallest size.
    lcd.resize(lcd.minimumSizeHint());
    const QImage smallDark = render(lcd);
    lcd.setItemsVisible(iconsLit());
    const QImage smallLit = render(lcd);
    for (int i = 0; i < kIconItemCount; ++i) {
        SCOPED_TRACE(nameOf(PreviewItem(i)));
        EXPECT_EQ(litPixels(smallDark, lcd.itemRect(PreviewItem(i))).count, 0);
        EXPECT_GT(litPixels(smallLit, lcd.itemRect(PreviewItem(i))).count, 3);
    }
}

TEST(LcdPreview, BlankPatchHidesItsWholeFieldAndNothingElse)
{
    struct Case
    {
        PreviewItem patch;
        std::function<void(LcdPreview &, bool)> fill; // field content on or off
    };
    auto text = [](int field) {
        return [field](LcdPreview &lcd, bool on) {
            lcd.setFieldText(field, on ? QStringLiteral("8.8:8.8") : QString());
        };
    };
    auto level = [](int field) {
        return [field](LcdPreview &lcd, bool on) {
            lcd.setBarLevel(field, on ? 1.0 : 0.0);
        };
    };
    const Case cases[] = {{PreviewItem::PicDisplay1Blank, text(1)},
                          {PreviewItem::PicDisplay2Blank, text(2)},
                          {PreviewItem::PicDisplay3Blank, text(3)},
                          {PreviewItem::PicDisplay4Blank, level(4)},
                          {PreviewItem::PicDisplay5Blank, level(5)},
                          {PreviewItem::PicDisplayBarLimitBlank, {}}};

    for (const Case &c : cases) {
        SCOPED_TRACE(nameOf(c.patch));
        LcdPreview lcd;
        lcd.resize(lcd.sizeHint());
        lcd.setItemsVisible(iconsLit());
        const QRectF patch = lcd.itemRect(c.patch);

        if (c.fill)
            c.fill(lcd, true);
        const QImage shownFull = render(lcd);
        lcd.setItemVisible(c.patch, true);
        const QImage blankFull = render(lcd);
        if (c.fill)
            c.fill(lcd, false);
        const QImage blankEmpty = render(lcd);

        EXPECT_EQ(litPixels(blankFull, patch).count, 0);
        EXPECT_TRUE(blankFull == blankEmpty); // nothing of the field shows through
        EXPECT_GT(differences(shownFull, blankFull, patch, true), 0);
        EXPECT_EQ(differences(shownFull, blankFull, patch, false), 0);
    }
}

TEST(LcdPreview, BarsFollowTheirModeAndPointerMarksShowOnlyInPointerMode)
{
    const PreviewItem marks[] = {PreviewItem::PicDisplay4PointerU,
                                 PreviewItem::PicDisplay4PointerD,
                                 PreviewItem::PicDisplay5PointerU,
                                 PreviewItem::PicDisplay5PointerD};
    LcdPreview lcd;
    lcd.resize(lcd.sizeHint());
    const QRectF bar = lcd.fieldRect(4);
    const QRectF upperMark = lcd.itemRect(PreviewItem::PicDisplay4PointerU);
    const QRectF lowerMark = lcd.itemRect(PreviewItem::PicDisplay4PointerD);
    auto segmentsLit = [&](const QImage &image) {
        const QRectF column(bar.left(),
                            upperMark.bottom(),
                            bar.width(),
                            lowerMark.top() - upperMark.bottom());
        return litPixels(image, column);
    };

    lcd.setBarMode(LcdPreview::BarMode::Pointer);
    lcd.setBarMode(LcdPreview::BarMode::Chart);
    lcd.setBarLevel(4, 1.0);
    const QImage chartFull = render(lcd);
    lcd.setBarLevel(4, 0.3);
    const LitPixels chartLow = segmentsLit(render(lcd));
    for (PreviewItem mark : marks) {
        SCOPED_TRACE(nameOf(mark));
        EXPECT_FALSE(lcd.isItemVisible(mark));
        EXPECT_EQ(litPixels(chartFull, lcd.itemRect(mark)).count, 0);
    }

    lcd.setBarMode(LcdPreview::BarMode::Pointer);
    const LitPixels pointerLow = segmentsLit(render(lcd));
    lcd.setBarLevel(4, 1.0);
    const QImage pointerFull = render(lcd);
    for (PreviewItem mark : marks) {
        SCOPED_TRACE(nameOf(mark));
        EXPECT_TRUE(lcd.isItemVisible(mark));
        EXPECT_GT(litPixels(pointerFull, lcd.itemRect(mark)).count, 10);
    }

    // A chart fills from the bottom; a pointer lights one segment at its level.
    const LitPixels full = segmentsLit(chartFull);
    const LitPixels pointerTop = segmentsLit(pointerFull);
    EXPECT_GT(chartLow.count, 0);
    EXPECT_GT(chartLow.meanY, bar.center().y());
    EXPECT_GT(pointerLow.count, 0);
    EXPECT_LT(pointerLow.count * 2, chartLow.count);
    EXPECT_GT(pointerTop.count, 0);
    EXPECT_LT(pointerTop.count * 6, full.count);
    EXPECT_LT(pointerTop.meanY, pointerLow.meanY);
    EXPECT_LT(pointerTop.meanY, bar.top() + bar.height() / 4);
}

TEST(LcdPreview, ScalesKeepingItsProportionsAndEveryItemInside)
{
    LcdPreview lcd;
    lcd.resize(lcd.sizeHint());
    const QRectF glass0 = lcd.glassRect();
    auto relative = [&lcd](const QRectF &r) {
        const QRectF g = lcd.glassRect();
        return QRectF((r.left() - g.left()) / g.width(),
                      (r.top() - g.top()) / g.height(),
                      r.width() / g.width(),
                      r.height() / g.height());
    };
    std::array<QRectF, kPreviewItemCount> layout;
    for (int i = 0; i < kPreviewItemCount; ++i)
        layout[size_t(i)] = relative(lcd.itemRect(PreviewItem(i)));

    // Words and arrows neither touch each other nor sit under a field's blank patch.
    for (int i = 0; i < kIconItemCount; ++i) {
        for (int j = 0; j < kPreviewItemCount; ++j) {
            const PreviewItem other = PreviewItem(j);
            const bool isOtherIcon = j < kIconItemCount;
            const bool isPatch = j >= int(PreviewItem::PicDisplay1Blank);
            if (j != i && (isOtherIcon || isPatch)) {
                EXPECT_FALSE(lcd.itemRect(PreviewItem(i)).intersects(lcd.itemRect(other)))
                    << nameOf(PreviewItem(i)) << " meets " << nameOf(other);
            }
        }
    }

    const QSize sizes[] = {lcd.minimumSizeHint(), lcd.sizeHint(), {1600, 500}, {300, 900}};
    for (const QSize size : sizes) {
        SCOPED_TRACE(testing::Message() << size.width() << "x" << size.height());
        lcd.resize(size);
        const QRectF widget(lcd.rect());
        const QRectF glass = lcd.glassRect();
        EXPECT_TRUE(widget.contains(glass));
        EXPECT_NEAR(glass.width() / glass.height(), glass0.width() / glass0.height(), 1e-9);
        EXPECT_NEAR(glass.center().x(), widget.center().x(), 1e-9);
        EXPECT_NEAR(glass.center().y(), widget.center().y(), 1e-9);
        for (int i = 0; i < kPreviewItemCount; ++i) {
            const PreviewItem item = PreviewItem(i);
            const QRectF r = lcd.itemRect(item);
            EXPECT_FALSE(r.isEmpty()) << nameOf(item);
            EXPECT_TRUE(glass.contains(r)) << nameOf(item);
            const QRectF rel = relative(r);
            const QRectF expected = layout[size_t(i)];
            EXPECT_NEAR(rel.left(), expected.left(), 1e-9) << nameOf(item);
            EXPECT_NEAR(rel.top(), expected.top(), 1e-9) << nameOf(item);
            EXPECT_NEAR(rel.width(), expected.width(), 1e-9) << nameOf(item);
            EXPECT_NEAR(rel.height(), expected.height(), 1e-9) << nameOf(item);
        }
        for (int field = 1; field <= LcdPreview::kFieldCount; ++field) {
            EXPECT_TRUE(glass.contains(lcd.fieldRect(field))) << field;
            EXPECT_EQ(lcd.fieldAt(lcd.fieldRect(field).center()), field);
        }
    }
}

TEST(LcdPreview, ReadingsFillTheCellsFromTheRight)
{
    struct Case
    {
        const char *text;
        int colonAfter;
        const char *cells; // what each of four cells shows
        unsigned points;   // bit i: point after cell i
        bool colon;
    };
    const Case cases[] = {
        {"2450", -1, "2450", 0, false},
        {"12.50", -1, "1250", 0b0010, false},
        {"10:35", 1, "1035", 0, true},
        {"9:05", 1, " 905", 0, true},
        {"10:35", -1, "1035", 0, false}, // a field without a colon
        {"123:4", 1, "1234", 0, false},  // colon that falls elsewhere
        {" 5 ", -1, "   5", 0, false},
        {"", -1, "    ", 0, false},
        {".5", -1, "   5", 0b0100, false},
        {"12345.6", -1, "3456", 0b0100, false},
        {"-E?r", -1, "-E r", 0, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text);
        const SegmentText shown = layoutSegmentText(QString::fromLatin1(c.text), 4, c.colonAfter);
        ASSERT_EQ(shown.cells.size(), 4u);
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(shown.cells[size_t(i)].segments,
                      segmentsForChar(QChar::fromLatin1(c.cells[i])))
                << "cell " << i;
            EXPECT_EQ(shown.cells[size_t(i)].point, bool(c.points & (1u << i))) << "cell " << i;
        }
        EXPECT_EQ(shown.colon, c.colon);
    }
    EXPECT_EQ(segmentsForChar(u'e'), segmentsForChar(u'E'));
    EXPECT_EQ(segmentsForChar(u'8'), kAllSegments);
}

TEST(LcdPreview, DescribesItselfAndIgnoresOutOfRangeInput)
{
    LcdPreview lcd;
    lcd.setFieldText(1, QStringLiteral("2450"));
    lcd.setFieldSource(1, QStringLiteral("Engine RPM"));
    lcd.setFieldSource(5, QStringLiteral("Tank1 - Fuel Remaining"));
    lcd.setItemVisible(PreviewItem::LblFuel, true);
    EXPECT_EQ(lcd.fieldToolTip(1), QStringLiteral("Display 1: Engine RPM"));
    EXPECT_EQ(lcd.fieldToolTip(5), QStringLiteral("Right bar graph: Tank1 - Fuel Remaining"));
    EXPECT_TRUE(lcd.fieldToolTip(2).isEmpty());
    EXPECT_FALSE(lcd.accessibleName().isEmpty());
    EXPECT_TRUE(lcd.accessibleDescription().contains(QStringLiteral("2450 (Engine RPM)")));
    EXPECT_TRUE(lcd.accessibleDescription().contains(QStringLiteral("FUEL")));

    lcd.setBarLevel(4, std::numeric_limits<double>::quiet_NaN());
    EXPECT_EQ(lcd.barLevel(4), 0.0);
    lcd.setBarLevel(5, 7.5);
    EXPECT_EQ(lcd.barLevel(5), 1.0);
    const LcdPreview::ItemFlags before = lcd.itemsVisible();
    lcd.setFieldText(0, QStringLiteral("1"));
    lcd.setFieldText(4, QStringLiteral("1"));
    lcd.setBarLevel(3, 0.5);
    lcd.setItemVisible(PreviewItem::Count, true);
    EXPECT_EQ(lcd.itemsVisible(), before);
    EXPECT_EQ(lcd.fieldText(1), QStringLiteral("2450"));
    EXPECT_TRUE(lcd.itemRect(PreviewItem::Count).isNull());
    EXPECT_TRUE(lcd.fieldRect(6).isNull());
}

} // namespace
} // namespace orvane
