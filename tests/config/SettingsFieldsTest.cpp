#include "config/SettingsFields.h"
#include "config/ConfigDocument.h"
#include "config/FieldText.h"

#include <gtest/gtest.h>

#include <array>
#include <tuple>
#include <vector>

using namespace orvane;

// A slip in the table (a damping byte typed twice, a run one too long) would
// make two settings share a bit.
TEST(SettingsFields, NoTwoFieldsShareABit)
{
    std::vector<SettingsField> fields = {
        kSettingsCheckByte, kSpeedUnits,      kTemperatureUnits,
        kPressureUnits,     kTimeFormat,      kBarGraphType,
        kTachoSensitivity,  kFirmwareUpdate,  kCurrentConfiguration,
        kTachoPulleyRatio,  kCodeSelector,    kUploadCounter,
        kSerialNumber,      kFirstUploadDate, kFuelTankSize,
        kSecondTankSize,    kRaceTimer,       kFirmwareVersion,
        kMaintenanceAlarm,  kUnnamed5,        kUnnamed9,
        kUnnamed16,         kUnnamed20,       kUnnamed25,
        kUnnamed32,         kUnnamed62,       kUnnamed67,
        kUnnamed92,         kUnnamed255,
    };
    fields.insert(fields.end(), kDampingFields.begin(), kDampingFields.end());
    fields.insert(fields.end(), kSenderFields.begin(), kSenderFields.end());
    fields.insert(fields.end(), kFineCalibrations.begin(), kFineCalibrations.end());
    for (const FieldRun &run : {kTodAlarms, kNmeaInputs, kAlarmRecords})
        for (int k = 0; k < run.count; ++k)
            fields.push_back(run.at(k));

    std::array<uint8_t, kIntNvmBytes> taken{};
    for (const SettingsField &field : fields) {
        ASSERT_GE(field.address, 0) << field.caption;
        ASSERT_LE(field.end(), kIntNvmBytes) << field.caption;
        for (int at = field.address; at < field.end(); ++at) {
            EXPECT_EQ(taken[size_t(at)] & field.mask, 0) << field.caption << " at " << at;
            taken[size_t(at)] |= field.mask;
        }
    }
}

TEST(SettingsFields, ValuesGoHighByteFirstAndOnlyIntoTheirBits)
{
    std::array<uint8_t, kIntNvmBytes> bytes{};
    bytes[1] = 0xFF;
    setFieldValue(bytes, kSpeedUnits, kMph);
    EXPECT_EQ(bytes[1], 0xBF);
    EXPECT_EQ(fieldValue(kSpeedUnits, bytes), kMph);
    setFieldValue(bytes, kMaintenanceAlarm, 59994);
    EXPECT_EQ(bytes[114], 234);
    EXPECT_EQ(bytes[115], 90);
    setFieldValue(bytes, kFirstUploadDate, kNoDate);
    EXPECT_EQ(bytes[17] & bytes[18] & bytes[19], 255);
    EXPECT_EQ(kTodAlarms.at(7).address, 60);

    // The document marks only a real change.
    ConfigDocument document;
    document.image.IntNvm[2] = 0xAF;
    document.setField(kTachoSensitivity, 0x0F);
    EXPECT_FALSE(document.changed);
    document.setField(kTachoSensitivity, 7);
    EXPECT_EQ(document.image.IntNvm[2], 0xA7);
    EXPECT_TRUE(document.changed);
}

TEST(SettingsFields, EachKindReadsInReportsAndInInputBoxes)
{
    IntNvmTable nvm;
    nvm.setWord(kFuelTankSize.address, 5);
    EXPECT_EQ(fieldText(kFuelTankSize, nvm), "0.5");
    EXPECT_EQ(answerText(kFuelTankSize, nvm, 1), " 0.5");
    nvm.setWord(kFuelTankSize.address, 65000);
    EXPECT_EQ(fieldText(kFuelTankSize, nvm), "6500.0");
    EXPECT_EQ(answerText(kFuelTankSize, nvm, 1), " 6500");

    // Hours to the tenth, minutes where a tenth cannot hold them; whole hours
    // in the box, halves to even.
    for (const auto &[minutes, text, whole] : {std::tuple{90, "1.5 hours", " 2"},
                                               {150, "2.5 hours", " 2"},
                                               {61, "1 hours 1 minute", " 1"},
                                               {0, "0.0 hours", " 0"}}) {
        nvm.setWord(kMaintenanceAlarm.address, uint16_t(minutes));
        EXPECT_EQ(fieldText(kMaintenanceAlarm, nvm), text);
        EXPECT_EQ(answerText(kMaintenanceAlarm, nvm, 0), whole) << minutes;
    }

    nvm[kTachoPulleyRatio.address] = 50;
    EXPECT_EQ(fieldText(kTachoPulleyRatio, nvm), "50:1");
    nvm[kTodAlarms.at(2).address] = 7;
    nvm[kTodAlarms.at(2).address + 1] = 5;
    EXPECT_EQ(fieldText(kTodAlarms.at(2), nvm), "07:05");
    setFieldValue(nvm, kFirstUploadDate, kNoDate);
    EXPECT_EQ(fieldText(kFirstUploadDate, nvm), "none");
    setFieldValue(nvm, kFirstUploadDate, 24 << 16 | 7 << 8 | 4);
    EXPECT_EQ(fieldText(kFirstUploadDate, nvm), "24-07-04");
    nvm[1] = 0xFF;
    EXPECT_EQ(fieldText(kSpeedUnits, nvm), "96");
    setFieldValue(nvm, kNmeaInputs.at(0), 36 << 16 | 54 << 8 | 3);
    EXPECT_EQ(fieldText(kNmeaInputs.at(0), nvm), "36 54 3");
}
