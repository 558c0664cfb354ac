#include "app/PickLists.h"
#include "editors/DataSources.h"
#include "editors/DisplayEncoding.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

using namespace orvane;
using namespace orvane::picklists;

TEST(PickLists, FillOrderNamesEveryListWithItsCount)
{
    struct Expected
    {
        std::string_view window, control;
        size_t count;
    };
    const Expected expected[] = {
        {"frmDamping", "cboDamping", 9},
        {"frmSenders", "cboEngineTempSender", 7},
        {"frmSenders", "cboFuelSender", 4},
        {"frmSenders", "cboOilPressureSender", 8},
        {"frmSenders", "cboTrimSender", 6},
        {"frmSenders", "cbo2ndTankSender", 4},
        {"frmSenders", "MSFlexGrid1", 3},
        {"frmMain", "ComboDisplay1", 29},
        {"frmMain", "ComboDisplay2", 29},
        {"frmMain", "ComboDisplay3", 33},
        {"frmMain", "ComboDisplayLeftBar", 29},
        {"frmMain", "ComboDisplayRightBar", 29},
        {"frmNmea", "cmbNmeaTalker", 49},
        {"frmNmea", "cmbNmeaID", 120},
        {"frmNmea", "cmdNmeaCommas", 25},
        {"frmTimeOfDayAlarms", "cboTodAlarms", 8},
    };
    ASSERT_EQ(std::size(expected), kFillOrder.size());
    for (size_t i = 0; i < kFillOrder.size(); ++i) {
        SCOPED_TRACE(std::string(expected[i].control));
        EXPECT_EQ(kFillOrder[i].window, expected[i].window);
        EXPECT_EQ(kFillOrder[i].control, expected[i].control);
        EXPECT_EQ(kFillOrder[i].items.size(), expected[i].count);
    }
    // Only the NMEA lists and the alarm list start on their first item.
    EXPECT_EQ(fillFor("cmbNmeaTalker")->initialSelection, 0);
    EXPECT_EQ(fillFor("cboTodAlarms")->initialSelection, 0);
    EXPECT_EQ(fillFor("cboDamping")->initialSelection, kSelectionLeftToOwner);
    EXPECT_EQ(fillFor("ComboDisplay3")->initialSelection, kSelectionLeftToOwner);
    EXPECT_EQ(fillFor("MSFlexGrid1")->kind, FillKind::GridHeadings);
    EXPECT_EQ(fillFor("cmdNmeaAccept"), nullptr);
}

TEST(PickLists, StoredNmeaValuesShowTheirTexts)
{
    EXPECT_EQ(textForStoredValue(kNmeaTalkers, 36), "WI");
    EXPECT_EQ(textForStoredValue(kNmeaSentences, 54), "MWV");
    EXPECT_EQ(textForStoredValue(kNmeaSentences, 101), "XDR");
    EXPECT_EQ(textForStoredValue(kNmeaTalkers, 28), "SD");
    EXPECT_EQ(textForStoredValue(kNmeaSentences, 13), "DBT");
    EXPECT_EQ(textForStoredValue(kNmeaCommas, 25), "25");
    // 0 is "nothing chosen"; values past a list select nothing either.
    EXPECT_EQ(positionForStoredValue(kNmeaTalkers, 0), -1);
    EXPECT_EQ(positionForStoredValue(kNmeaTalkers, 50), -1);
    EXPECT_EQ(positionForStoredValue(kNmeaSentences, 120), 119);
    EXPECT_FALSE(textForStoredValue(kNmeaSentences, 121));
    // The instrument's order, not the alphabet's.
    EXPECT_EQ(kNmeaTalkers[7], "CV");
    EXPECT_EQ(kNmeaTalkers[8], "CT");
    EXPECT_EQ(kNmeaSentences[55], "OSD");
    EXPECT_EQ(kNmeaSentences[56], "ROO");
    EXPECT_EQ(kNmeaSentences[57], "RMA");
}

TEST(PickLists, NmeaIdentifiersAreDistinctAndWellFormed)
{
    const std::set<std::string_view> talkers(kNmeaTalkers.begin(), kNmeaTalkers.end());
    const std::set<std::string_view> sentences(kNmeaSentences.begin(), kNmeaSentences.end());
    EXPECT_EQ(talkers.size(), kNmeaTalkers.size());
    EXPECT_EQ(sentences.size(), kNmeaSentences.size());
    for (auto talker : kNmeaTalkers)
        EXPECT_EQ(talker.size(), 2u) << talker;
    for (auto sentence : kNmeaSentences)
        EXPECT_EQ(sentence.size(), 3u) << sentence;
    for (size_t i = 0; i < kNmeaCommas.size(); ++i)
        EXPECT_EQ(kNmeaCommas[i], std::to_string(i + 1));
}

TEST(PickLists, DisplayListTextsMatchTheCodesTheyStore)
{
    // A text and the code stored for its position must name the same
    // source; a slip in either table would store the wrong source.
    ASSERT_EQ(int(kDisplaySources.size()), kStandardListSize);
    ASSERT_EQ(int(kDisplay3Sources.size()), kDisplay3ListSize);
    for (int p = 0; p < kStandardListSize; ++p)
        EXPECT_EQ(kDisplaySources[size_t(p)],
                  dataSourceName(codeForPosition(SourceList::Standard, p)))
            << "position " << p;
    for (int p = 0; p < kDisplay3ListSize; ++p)
        EXPECT_EQ(kDisplay3Sources[size_t(p)],
                  dataSourceName(codeForPosition(SourceList::Display3, p)))
            << "position " << p;

    EXPECT_EQ(kDisplay3Sources[20], "Race Timer #1");
    EXPECT_EQ(kDisplaySources[20], "Seawater Temperature Thermister #1");
    for (int p = 10; p <= 17; ++p)
        EXPECT_EQ(kDisplaySources[size_t(p)], kDisplay3Sources[size_t(p)]);
}

TEST(PickLists, SenderAndSmallListsKeepTheirExactTexts)
{
    EXPECT_EQ(kEngineTempSenders[2], "2:  Teleflex:   10-180 ohm, 295-70 deg F");
    EXPECT_EQ(kOilPressureSenders[1], "10: VDO type 2: 10-180 ohm, 5-600 psi");
    EXPECT_EQ(kSecondTankSenders[3], "25: User defined 2'nd Tank Level sender curve");
    EXPECT_EQ(kTrimSenders[4], "20: Linear: 0-10,000 ohm");
    for (auto list : {Items(kEngineTempSenders),
                      Items(kFuelSenders),
                      Items(kOilPressureSenders),
                      Items(kTrimSenders),
                      Items(kSecondTankSenders)})
        EXPECT_EQ(list[0], "0:  None");
    EXPECT_EQ(kDampingFunctions[8], "Trim Angle - Option");
    EXPECT_EQ(kTimeOfDayAlarms[7], "Alarm #8");
    EXPECT_EQ(kSenderGridHeadings[1], "Ohms");
    EXPECT_FALSE(itemAt(kTimeOfDayAlarms, -1));
    EXPECT_FALSE(itemAt(kTimeOfDayAlarms, 8));
}
