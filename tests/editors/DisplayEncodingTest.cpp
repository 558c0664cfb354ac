#include "editors/DisplayEncoding.h"

#include "EditingState.h"
#include "editors/DataSources.h"
#include "editors/IconBits.h"
#include "support/CheckCapture.h"

#include <gtest/gtest.h>

using namespace orvane;
using orvane::test::EditingState;
using orvane::test::failsACheck;

namespace {

EditingState stateEditing(int config)
{
    EditingState state;
    state.document.image.IntNvm[6] = uint8_t(config);
    return state;
}

} // namespace

TEST(DisplayEncoding, PositionsStoreTheirListsCodesInTheCurrentConfiguration)
{
    EditingState state = stateEditing(5);
    ConvertListIndexData(state.document, 28, 68);
    EXPECT_EQ(state.document.image.CDC(5, 68), 13); // display 3: "Time of Day"
    ConvertListIndexData(state.document, 28, 28);
    EXPECT_EQ(state.document.image.CDC(5, 28), 11); // display 1: "Trip Log"
    ConvertListIndexData(state.document, 20, 108);
    EXPECT_EQ(state.document.image.CDC(5, 108), 10);
    EXPECT_TRUE(state.document.changed);
    // Nothing leaks into another configuration or the unused column 0.
    EXPECT_EQ(state.document.image.CDC(4, 28), 0);
    EXPECT_EQ(state.document.image.CDC(0, 68), 0);

    // No selection, or a position past the list, stores "None - Blank".
    state.document.image.CDC(5, 48) = 9;
    ConvertListIndexData(state.document, -1, 48);
    EXPECT_EQ(state.document.image.CDC(5, 48), 0);
    state.document.image.CDC(5, 68) = 9;
    ConvertListIndexData(state.document, 33, 68);
    EXPECT_EQ(state.document.image.CDC(5, 68), 0);

    // A byte that holds no data source code is refused and left alone.
    state.document.image.CDC(5, 29) = 0x5A;
    EXPECT_TRUE(failsACheck([&] { ConvertListIndexData(state.document, 1, 29); }));
    EXPECT_EQ(state.document.image.CDC(5, 29), 0x5A);
}

TEST(DisplayEncoding, EveryListedCodeMapsBackToItsPosition)
{
    for (SourceList list : {SourceList::Standard, SourceList::Display3}) {
        for (int p = 0; p < listSize(list); ++p) {
            const uint8_t code = codeForPosition(list, p);
            EXPECT_EQ(positionForCode(code, list), p) << "code " << int(code);
            EXPECT_EQ(chooserSelection(code, list), p);
        }
    }
}

TEST(DisplayEncoding, UnlistedCodesPointPastOrAtTheirNumberAndSelectNothing)
{
    const auto standard = SourceList::Standard;
    const auto display3 = SourceList::Display3;
    // Time and race timer codes exist only on display 3.
    EXPECT_EQ(positionForCode(13, display3), 28);
    EXPECT_EQ(positionForCode(14, display3), 29);
    EXPECT_EQ(positionForCode(16, display3), 20);
    EXPECT_EQ(positionForCode(17, display3), 21);
    for (uint8_t code : {13, 14, 16, 17}) {
        EXPECT_EQ(positionForCode(code, standard), code);
        // That position holds an unrelated NMEA input: show none instead.
        EXPECT_FALSE(chooserSelection(code, standard)) << int(code);
    }
    EXPECT_EQ(positionForCode(15, standard), 15);
    EXPECT_EQ(positionForCode(15, display3), 15);
    EXPECT_FALSE(chooserSelection(15, display3));
    EXPECT_EQ(positionForCode(34, standard), 29);
    EXPECT_EQ(positionForCode(34, display3), 33);
    EXPECT_FALSE(chooserSelection(34, standard));
    EXPECT_EQ(positionForCode(40, display3), 40);
    EXPECT_FALSE(chooserSelection(40, display3));
    EXPECT_FALSE(chooserSelection(255, standard));
}

TEST(DisplayEncoding, OutOfRangeCurrentConfigurationEditsConfigurationOne)
{
    for (int stored : {0, 17, 255}) {
        EditingState state = stateEditing(stored);
        EXPECT_EQ(currentConfiguration(state.document.image), 1);
        ConvertListIndexData(state.document, 8, 28);
        EXPECT_EQ(state.document.image.CDC(1, 28), 1);
        EXPECT_EQ(state.document.image.IntNvm[6], stored);
    }
}

TEST(IconBits, AllAndNoIconsGiveTheKnownBytes)
{
    EditingState state = stateEditing(3);
    state.document.image.CDC(3, 1) = 0x5A;
    const IconFlags all = allIcons();
    ChangeBitsToByte1(state.document, all);
    ChangeBitsToByte2(state.document, all);
    ChangeBitsToByte3(state.document, all);
    ChangeBitsToByte4(state.document, all);
    EXPECT_EQ(state.document.image.CDC(3, 1), 255);
    EXPECT_EQ(state.document.image.CDC(3, 2), 127);
    EXPECT_EQ(state.document.image.CDC(3, 3), 224);
    EXPECT_EQ(state.document.image.CDC(3, 4), 5);

    IconFlags none = all;
    ClearDisplayIcons(none);
    for (int n = 1; n <= 4; ++n) {
        changeBitsToByte(state.document, none, n);
        EXPECT_EQ(state.document.image.CDC(3, n), 0);
    }
    EXPECT_EQ(iconFlagsFromBytes(255, 127, 224, 5), all);
    EXPECT_EQ(iconFlagsFromBytes(0, 0, 0, 0), none);
}

TEST(IconBits, EachIconOwnsExactlyItsBit)
{
    for (const IconInfo &icon : kIcons) {
        SCOPED_TRACE(std::string(icon.caption) + " in byte " + std::to_string(icon.cdcByte));
        IconFlags one{};
        iconFlag(one, icon.item) = true;
        std::array<uint8_t, 4> bytes{};
        for (int n = 1; n <= 4; ++n)
            bytes[size_t(n - 1)] = iconByte(one, n);
        for (int n = 1; n <= 4; ++n)
            EXPECT_EQ(bytes[size_t(n - 1)], n == icon.cdcByte ? icon.bitValue : 0);
        EXPECT_EQ(iconFlagsFromBytes(bytes[0], bytes[1], bytes[2], bytes[3]), one);
    }
    // Bits no icon uses are dropped when a byte is rewritten.
    const IconFlags fromFull = iconFlagsFromBytes(255, 255, 255, 255);
    EXPECT_EQ(fromFull, allIcons());
    EXPECT_EQ(iconByte(fromFull, 2), 127);
    EXPECT_EQ(iconByte(fromFull, 4), 5);
    int cdcByte = -1;
    EXPECT_TRUE(failsACheck([&] { cdcByte = iconInfo(PreviewItem::PicDisplay1Blank).cdcByte; }));
    EXPECT_EQ(cdcByte, 0) << "an item that is not an icon names no byte to write";
}

TEST(IconBits, DecodeByteBitsGivesBitSevenFirst)
{
    const ByteBits bits = DecodeByteBits(0xA5);
    const std::array<bool, 8> expected = {true, false, true, false, false, true, false, true};
    EXPECT_EQ(bits.flags, expected);
    EXPECT_EQ(bits.values[0], 1);
    EXPECT_EQ(bits.values[1], 0);
    EXPECT_EQ(bits.bit0, 1);
    EXPECT_TRUE(bits.bit(7));
    EXPECT_FALSE(bits.bit(6));
    EXPECT_EQ(DecodeByteBits(0x80).bit0, 0);
}

TEST(DataSources, AlarmRecordsAndDecimalsFollowTheCode)
{
    EXPECT_EQ(dataSourceInfo(1).alarmRecord, 128);
    EXPECT_EQ(dataSourceInfo(9).alarmDecimals, 2);
    EXPECT_EQ(dataSourceInfo(23).alarmRecord, 180);
    EXPECT_EQ(dataSourceInfo(30).alarmRecord, 208);
    EXPECT_EQ(dataSourceInfo(33).alarmRecord, 224);
    EXPECT_EQ(dataSourceInfo(34).alarmRecord, 220);
    EXPECT_EQ(dataSourceInfo(34).alarmDecimals, 0);
    EXPECT_EQ(GetDecimalPlaces(34), 1);
    EXPECT_EQ(GetDecimalPlaces(18), 2);
    EXPECT_EQ(GetDecimalPlaces(21), 0);
    EXPECT_EQ(dataSourceInfo(4).alarmRecord, 0);
    EXPECT_EQ(dataSourceInfo(200).alarmRecord, 0);
    EXPECT_EQ(GetDecimalPlaces(200), 0);
    // No source claims the record at 140..147.
    for (int code = 0; code < 256; ++code) {
        const int record = dataSourceInfo(uint8_t(code)).alarmRecord;
        EXPECT_TRUE(record == 0 || record < 140 || record >= 148) << code;
    }
}
