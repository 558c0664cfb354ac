#include "transfer/ExpectedTimes.h"

#include "transfer/InstrumentSnapshot.h"
#include "transfer/RecordReads.h"
#include "transfer/TransferProgress.h"
#include "transfer/Transfers.h"

namespace orvane {

int settingsReadMs()
{
    return expectedMs(Exchange::kSettingsReadLeadPause + Exchange::kSettingsReadPause) + frameMs();
}

int recordWriteMs(int bytes, double trailingPause)
{
    return frameMs() + echoedBytesMs(bytes) + expectedMs(trailingPause);
}

int endMs(double pause)
{
    return expectedMs(pause) + frameMs();
}

namespace {

int recordsReadMs(int records)
{
    return frameMs() + answerBytesMs(records * kRecordSize);
}

} // namespace

int configurationsReadMs()
{
    return recordsReadMs(kConfigurationsPerRead);
}

int curveReadMs()
{
    return 2 * recordsReadMs(1);
}

int recordReadsMs(bool configurations, bool curves)
{
    int total = 0;
    if (configurations)
        total += kConfigurations / kConfigurationsPerRead * configurationsReadMs();
    if (curves)
        total += kUploadedCurveCount * curveReadMs();
    return total;
}

int uploadMs(const Selection &ticks)
{
    int total = settingsReadMs() + recordWriteMs(kSettingsSize, Exchange::kSettingsWritePause);
    if (isTicked(ticks, Category::DisplayConfigurations))
        total += kConfigurations * recordWriteMs(kRecordSize, Transfers::kRecordWritePause);
    if (isTicked(ticks, Category::SenderCurves))
        total += kUploadedCurveCount * recordWriteMs(kRecordSize, Transfers::kRecordWritePause);
    if (isTicked(ticks, Category::TodClock))
        total += endMs(Transfers::kClockPause);
    return total + endMs(Transfers::kEndPause);
}

} // namespace orvane
