#include "editors/InstrumentPreview.h"

#include "EditingState.h"

#include <gtest/gtest.h>

using namespace orvane;
using orvane::test::EditingState;

namespace {

EditingState stateEditing(int config)
{
    EditingState state;
    state.document.image.IntNvm[6] = uint8_t(config);
    state.document.image.IntNvm[7] = 5;
    return state;
}

constexpr std::array<PreviewItem, 4> kPointers = {PreviewItem::PicDisplay4PointerU,
                                                  PreviewItem::PicDisplay4PointerD,
                                                  PreviewItem::PicDisplay5PointerU,
                                                  PreviewItem::PicDisplay5PointerD};

} // namespace

TEST(InstrumentPreview, IconBytesDriveItemsAndBoxes)
{
    EditingState state = stateEditing(12);
    state.document.image.CDC(12, 1) = 255;
    state.document.image.CDC(12, 2) = 127;
    state.document.image.CDC(12, 3) = 224;
    state.document.image.CDC(12, 4) = 5;
    PreviewModel model = UpdateInstrumentDisplay(state.document, state.editor);
    EXPECT_EQ(model.iconBoxes, allIcons());
    for (int i = 0; i < kIconItemCount; ++i)
        EXPECT_TRUE(model.visible[size_t(i)]) << "item " << i;
    EXPECT_EQ(state.editor.currentConfig, 12);

    state.document.image.IntNvm[6] = 11; // configuration 11 has no icons
    model = UpdateInstrumentDisplay(state.document, state.editor);
    EXPECT_EQ(model.iconBoxes, IconFlags{});
    for (int i = 0; i < kIconItemCount; ++i)
        EXPECT_FALSE(model.visible[size_t(i)]);
    EXPECT_EQ(state.editor.currentConfig, 11);
    EXPECT_FALSE(model.isVisible(PreviewItem::PicDisplayBarLimitBlank));
}

TEST(InstrumentPreview, SensitivityAndPointerMarksFollowTheSettings)
{
    EditingState state = stateEditing(1);
    state.document.image.IntNvm[2] = 0x8D;
    state.document.image.IntNvm[1] = 0x02;
    PreviewModel model = UpdateInstrumentDisplay(state.document, state.editor);
    EXPECT_TRUE(model.settings.isChecked(MenuChoice::TachoSensitivityMedium));
    EXPECT_FALSE(model.settings.isChecked(MenuChoice::TachoSensitivityMaximum));
    EXPECT_TRUE(model.settings.isChecked(MenuChoice::BarChart));
    for (PreviewItem pointer : kPointers)
        EXPECT_FALSE(model.isVisible(pointer));

    state.document.image.IntNvm[2] = 0x80;
    state.document.image.IntNvm[1] = 0x00;
    model = UpdateInstrumentDisplay(state.document, state.editor);
    for (int item = int(MenuChoice::TachoSensitivityMaximum);
         item <= int(MenuChoice::TachoSensitivityMinimum);
         ++item)
        EXPECT_FALSE(model.settings.checked[size_t(item)]);
    for (PreviewItem pointer : kPointers)
        EXPECT_TRUE(model.isVisible(pointer));
    EXPECT_EQ(state.document.image.IntNvm[2], 0x80);
}

TEST(InstrumentPreview, OnlyABadPulleyRatioIsRepaired)
{
    for (int bad : {0, 3, 255}) {
        EditingState state = stateEditing(1);
        state.document.image.IntNvm[7] = uint8_t(bad);
        state.document.image.CDC(1, 68) = 13;
        const ConfigImage before = state.document.image;
        const PreviewModel model = UpdateInstrumentDisplay(state.document, state.editor);
        EXPECT_EQ(state.document.image.IntNvm[7], 1) << bad;
        EXPECT_TRUE(model.settings.isChecked(MenuChoice::TachoRatio1));
        EXPECT_TRUE(state.document.changed);
        ConfigImage expected = before;
        expected.IntNvm[7] = 1;
        EXPECT_EQ(state.document.image, expected);

        // A second reload changes nothing more.
        state.document.changed = false;
        UpdateInstrumentDisplay(state.document, state.editor);
        EXPECT_EQ(state.document.image, expected);
        EXPECT_FALSE(state.document.changed);
    }
    EditingState good = stateEditing(1);
    good.document.image.IntNvm[7] = 200;
    const PreviewModel model = UpdateInstrumentDisplay(good.document, good.editor);
    EXPECT_TRUE(model.settings.isChecked(MenuChoice::TachoRatio200));
    EXPECT_FALSE(model.settings.isChecked(MenuChoice::TachoRatio1));
    EXPECT_FALSE(good.document.changed);
}

TEST(InstrumentPreview, ChoosersSelectListedCodesAndShowNoneForOthers)
{
    EditingState state = stateEditing(9);
    state.document.image.CDC(9, 28) = 13; // time of day: display 3 only
    state.document.image.CDC(9, 48) = 34; // no list item
    state.document.image.CDC(9, 68) = 13;
    state.document.image.CDC(9, 88) = 3;   // oil pressure
    state.document.image.CDC(9, 108) = 40; // no list item
    const ConfigImage before = state.document.image;
    const PreviewModel model = UpdateInstrumentDisplay(state.document, state.editor);
    EXPECT_FALSE(model.chooserPosition(Display::Display1));
    EXPECT_FALSE(model.chooserPosition(Display::Display2));
    EXPECT_EQ(model.chooserPosition(Display::Display3), 28);
    EXPECT_EQ(model.chooserPosition(Display::LeftBar), 7);
    EXPECT_FALSE(model.chooserPosition(Display::RightBar));
    EXPECT_EQ(model.code(Display::Display2), 34);
    EXPECT_EQ(model.code(Display::RightBar), 40);
    // Unshowable codes are kept, not rewritten by the reload.
    EXPECT_EQ(state.document.image, before);
}

TEST(InstrumentPreview, DamagedCurrentConfigurationShowsConfigurationOne)
{
    EditingState state = stateEditing(0);
    state.document.image.CDC(1, 28) = 1;
    state.document.image.CDC(0, 28) = 9;
    const PreviewModel model = UpdateInstrumentDisplay(state.document, state.editor);
    EXPECT_EQ(model.config, 1);
    EXPECT_EQ(model.code(Display::Display1), 1);
    EXPECT_EQ(state.document.image.IntNvm[6], 0);
    EXPECT_EQ(state.editor.currentConfig, 1);
}

TEST(InstrumentPreview, SampleReadingsFollowTheUnitSettings)
{
    EXPECT_EQ(sampleReading(1, 0x00), "2450");
    EXPECT_EQ(sampleReading(9, 0x00), "12.50");
    EXPECT_EQ(sampleReading(9, 0x20), "14.38");
    EXPECT_EQ(sampleReading(9, 0x40), "23.15");
    EXPECT_EQ(sampleReading(2, 0x08), "185");
    EXPECT_EQ(sampleReading(2, 0x00), "85");
    EXPECT_EQ(sampleReading(3, 0x10), "45.0");
    EXPECT_EQ(sampleReading(3, 0x00), "3.1");
    EXPECT_EQ(sampleReading(13, 0x00), "14:35");
    EXPECT_EQ(sampleReading(13, 0x04), "2:35");
    EXPECT_EQ(sampleReading(0, 0x00), "");
    EXPECT_EQ(sampleReading(15, 0x00), "");
    EXPECT_EQ(sampleReading(34, 0x00), "");
}
