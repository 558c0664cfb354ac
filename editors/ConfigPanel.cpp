#include "editors/ConfigPanel.h"

#include "config/NumberText.h"
#include "config/SettingsFields.h"

#include "platform/Check.h"

namespace orvane {

namespace {

constexpr int kConfigCount = 16;
constexpr int kFirstNmeaPosition = 10;
constexpr int kLastNmeaPosition = 17;
constexpr int kNmeaTalkerCount = 49;
constexpr int kNmeaSentenceCount = 120;
constexpr int kNmeaCommaCount = 25;

std::string numberCaption(int config)
{
    return displayNumber((long long)config);
}

// A list position from a stored "position + 1" value; -1 selects nothing.
int storedPosition(uint8_t stored, int listSize)
{
    const int position = int(stored) - 1;
    return position < listSize ? position : -1;
}

std::string_view limitPrompt(LimitKind kind)
{
    switch (kind) {
    case LimitKind::LowAlarm:
        return "Enter new Low Alarm Value below:";
    case LimitKind::HighAlarm:
        return "Enter new High Alarm Value below:";
    case LimitKind::LowerBar:
        return "Enter new Lower Bar Limit value below:";
    case LimitKind::UpperBar:
        return "Enter new Upper Bar Limit value below:";
    }
    return {};
}

bool askAllIcons(UserDialogs &dialogs, int config, std::string_view action, std::string_view title)
{
    const std::string n = numberCaption(config);
    dialogs.beep();
    const MessageAnswer answer
        = dialogs.messageBox("Are you sure?\r\nThis will " + std::string(action)
                                 + " all the Icons for display configuration #" + n,
                             std::string(title) + n,
                             MessageIcon::Question,
                             MessageButtons::YesNo);
    return answer == MessageAnswer::Yes;
}

void writeAllIconBytes(ConfigDocument &document, const IconFlags &flags)
{
    ChangeBitsToByte1(document, flags);
    ChangeBitsToByte2(document, flags);
    ChangeBitsToByte3(document, flags);
    ChangeBitsToByte4(document, flags);
}

} // namespace

ConfigCaptions captionsForConfig(int config)
{
    const std::string n = numberCaption(config);
    return {"Data for Current Configuration #" + n + " ",
            "Clear #" + n + "  Icons",
            "Set #" + n + "  Icons",
            "Clear Configuration #" + n};
}

AlarmAndLimitLabels ShowAlarmAndLimits(const ConfigImage &image)
{
    const int config = currentConfiguration(image);
    AlarmAndLimitLabels labels;
    for (int d = 0; d < kDisplayCount; ++d) {
        const int sourceByte = kDisplays[size_t(d)].sourceByte;
        DisplayLabels &out = labels.displays[size_t(d)];
        const AlarmValues alarms = GetAlarmValues(image, image.CDC(config, sourceByte));
        out.lowAlarm = "Low Alarm Limit: " + alarms.lowText;
        out.highAlarm = "High Alarm Limit: " + alarms.highText;
        out.alarmButtonsEnabled = !alarms.noAlarm;
        if (isBar(Display(d))) {
            const LimitValues limits = GetLimitValues(image, sourceByte);
            out.lowerBar = "Lower Bar Limit: " + limits.lowerText;
            out.upperBar = "Upper Bar Limit: " + limits.upperText;
        }
    }
    return labels;
}

ConfigChoice ChooseConfiguration(ConfigDocument &document, EditorState &editor, int buttonIndex)
{
    ORVANE_CHECK(buttonIndex >= 0 && buttonIndex < kConfigCount,
                 buttonIndex = currentConfiguration(document.image) - 1);
    ConfigChoice choice;
    choice.config = buttonIndex + 1;
    document.setField(kCurrentConfiguration, unsigned(choice.config));
    editor.currentConfig = uint8_t(choice.config);
    choice.preview = UpdateInstrumentDisplay(document, editor);
    choice.labels = ShowAlarmAndLimits(document.image);
    choice.captions = captionsForConfig(choice.config);
    return choice;
}

std::optional<IconFlags> ClearAllIcons(ConfigDocument &document, UserDialogs &dialogs)
{
    const int config = currentConfiguration(document.image);
    if (!askAllIcons(dialogs, config, "clear", "Clear all Icons for display configuration #"))
        return std::nullopt;
    IconFlags flags = allIcons();
    ClearDisplayIcons(flags);
    writeAllIconBytes(document, flags);
    return flags;
}

std::optional<IconFlags> SetAllIcons(ConfigDocument &document, UserDialogs &dialogs)
{
    const int config = currentConfiguration(document.image);
    if (!askAllIcons(dialogs, config, "turn ON", "Turn ON all Icons for display configuration #"))
        return std::nullopt;
    const IconFlags flags = allIcons();
    writeAllIconBytes(document, flags);
    return flags;
}

void IconBoxClicked(ConfigDocument &document, const IconFlags &boxes, PreviewItem icon)
{
    changeBitsToByte(document, boxes, iconInfo(icon).cdcByte);
}

SourceChoice
ChooseDataSource(ConfigDocument &document, EditorState &editor, Display display, int position)
{
    const int sourceByte = displayInfo(display).sourceByte;
    const ConfigImage &image = document.image;
    SourceChoice choice;
    ConvertListIndexData(document, position, sourceByte);
    choice.storedCode = image.CDC(currentConfiguration(image), sourceByte);
    choice.preview = UpdateInstrumentDisplay(document, editor);
    choice.labels = ShowAlarmAndLimits(image);
    editor.liveNmeaData = false;

    if (position >= kFirstNmeaPosition && position <= kLastNmeaPosition) {
        NmeaSelectorRequest request;
        request.settingsIndex = kNmeaInputs.at(position - kFirstNmeaPosition).address;
        request.inputNumber = (position - kFirstNmeaPosition) / 2 + 1;
        const IntNvmTable &nvm = image.IntNvm;
        request.talkerPosition = storedPosition(nvm[request.settingsIndex], kNmeaTalkerCount);
        request.sentencePosition
            = storedPosition(nvm[request.settingsIndex + 1], kNmeaSentenceCount);
        request.commasPosition = storedPosition(nvm[request.settingsIndex + 2], kNmeaCommaCount);
        editor.nmeaSettingsIndex = request.settingsIndex;
        editor.nmeaInputNumber = request.inputNumber;
        choice.nmea = request;
    }
    return choice;
}

void chooserFocusChanged(PanelState &panel, Display display, bool hasFocus)
{
    panel.chooserHasFocus.at(size_t(display)) = hasFocus;
}

void blinkTick(PanelState &panel)
{
    for (int d = 0; d < kDisplayCount; ++d)
        panel.blankVisible[size_t(d)]
            = panel.chooserHasFocus[size_t(d)] && !panel.blankVisible[size_t(d)];
}

LimitChange
ChangeLimit(ConfigDocument &document, UserDialogs &dialogs, Display display, LimitKind kind)
{
    const int sourceByte = displayInfo(display).sourceByte;
    const std::string prompt(limitPrompt(kind));
    const std::string title(kChangeValueTitle);
    LimitChange change;

    if (kind == LimitKind::LowAlarm || kind == LimitKind::HighAlarm) {
        const int config = currentConfiguration(document.image);
        const AlarmValues alarms
            = GetAlarmValues(document.image, document.image.CDC(config, sourceByte));
        if (alarms.noAlarm)
            return change;
        const bool low = kind == LimitKind::LowAlarm;
        const std::string answer
            = dialogs.inputBox(prompt, title, low ? alarms.lowText : alarms.highText);
        if (answer.empty())
            return change;
        change.stored
            = StoreAlarmValue(document, answer, alarms, low ? AlarmLimit::Low : AlarmLimit::High);
    } else {
        ORVANE_CHECK(isBar(display), return change);
        const LimitValues limits = GetLimitValues(document.image, sourceByte);
        const bool lower = kind == LimitKind::LowerBar;
        const std::string answer
            = dialogs.inputBox(prompt, title, lower ? limits.lowerText : limits.upperText);
        if (answer.empty())
            return change;
        StoreBarLimitValue(document, answer, sourceByte + (lower ? 1 : 3), limits);
        change.stored = true;
    }
    change.labels = ShowAlarmAndLimits(document.image);
    return change;
}

bool isFactoryChord(const KeyChord &chord)
{
    return (chord.key == 'Q' || chord.key == 'q') && chord.ctrl && chord.alt && !chord.shift;
}

PanelKeyRequest factoryKeyDown(const KeyChord &chord)
{
    return isFactoryChord(chord) ? PanelKeyRequest::FactoryMode : PanelKeyRequest::None;
}

} // namespace orvane
