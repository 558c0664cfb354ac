#include "editors/ui/DisplayPanel.h"

#include "config/NumberText.h"
#include "config/SettingsFields.h"
#include "editors/DataSources.h"
#include "editors/DisplayEncoding.h"
#include "editors/ui/DisplayPanelControls.h"
#include "editors/ui/ImageEdit.h"
#include "editors/ui/LcdPreview.h"
#include "editors/ui/Twips.h"
#include "editors/ui/frmNmea.h"
#include "platform/Check.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

#include <algorithm>
#include <cmath>

namespace orvane {

namespace {

// A bar whose limits give no scale shows its sample half way up.
constexpr double kUnscaledBarLevel = 0.5;

QString qt(std::string_view text)
{
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

// A control missing from the form is a programming error; a hidden stand-in
// keeps the panel working without it.
template<class T>
T *child(QWidget &parent, std::string_view name)
{
    auto *widget = parent.findChild<T *>(qt(name));
    ORVANE_CHECK(widget, widget = new T(&parent); widget->hide());
    return widget;
}

int fieldOf(Display display)
{
    return int(display) + 1; // the preview numbers fields as the instrument does
}

QString sourceDescription(uint8_t code)
{
    const std::string_view name = dataSourceName(code);
    if (name.empty())
        return QStringLiteral("Unknown data source (code %1)").arg(code);
    return qt(name);
}

// Where the bar's sample reading stands between the bar's own limits.
double sampleBarLevel(const ConfigImage &image, int sourceByte)
{
    const LimitValues limits = GetLimitValues(image, sourceByte);
    const std::string reading
        = sampleReading(limits.code, uint8_t(fieldValue(kUnitsAndFormats, image.IntNvm)));
    if (reading.empty())
        return 0.0;
    const double scale = std::pow(10.0, limits.decimals);
    const double lower = limits.lower / scale;
    const double upper = limits.upper / scale;
    if (upper <= lower)
        return kUnscaledBarLevel;
    return std::clamp((typedNumber(reading) - lower) / (upper - lower), 0.0, 1.0);
}

bool focusLeftTheWindow(const QFocusEvent &event)
{
    // The chooser keeps its focus while its list, a menu or another window
    // (the NMEA selector) is up; only a move to another control loses it.
    switch (event.reason()) {
    case Qt::PopupFocusReason:
    case Qt::ActiveWindowFocusReason:
    case Qt::MenuBarFocusReason:
        return true;
    default:
        return false;
    }
}

QString limitName(LimitKind kind)
{
    switch (kind) {
    case LimitKind::LowAlarm:
        return QStringLiteral("low alarm limit");
    case LimitKind::HighAlarm:
        return QStringLiteral("high alarm limit");
    case LimitKind::LowerBar:
        return QStringLiteral("lower bar limit");
    case LimitKind::UpperBar:
        return QStringLiteral("upper bar limit");
    }
    return {};
}

} // namespace

DisplayPanel::DisplayPanel(const Controls &controls,
                           frmNmea &nmea,
                           ConfigDocument &document,
                           EditorState &editor,
                           UserDialogs &dialogs)
    : QObject(controls.window)
    , m_controls(controls)
    , m_preview(controls.preview)
    , m_nmea(nmea)
    , m_document(document)
    , m_editor(editor)
    , m_dialogs(dialogs)
{
    findWidgets();
    connectControls();
}

DisplayPanel::~DisplayPanel() = default;

void DisplayPanel::findWidgets()
{
    QWidget &window = *m_controls.window;
    for (int d = 0; d < kDisplayCount; ++d) {
        const DisplayControls &names = kDisplayControls[size_t(d)];
        DisplayWidgets &widgets = m_displays[size_t(d)];
        widgets.chooser = child<QComboBox>(window, names.chooser);
        widgets.lowAlarm = child<QLabel>(window, names.lowAlarmLabel);
        widgets.highAlarm = child<QLabel>(window, names.highAlarmLabel);
        widgets.lowAlarmButton = child<QPushButton>(window, names.lowAlarmButton);
        widgets.highAlarmButton = child<QPushButton>(window, names.highAlarmButton);
        if (isBar(Display(d))) {
            widgets.lowerBar = child<QLabel>(window, names.lowerBarLabel);
            widgets.upperBar = child<QLabel>(window, names.upperBarLabel);
        }
    }
    for (const IconBox &box : kIconBoxes)
        m_iconBoxes[size_t(box.icon)] = child<QCheckBox>(window, box.name);
    m_factoryKeyButton = child<QPushButton>(window, kFactoryKeyButton);
}

void DisplayPanel::connectControls()
{
    for (int i = 0; i < kConfigurations; ++i)
        connect(m_controls.configurationButtons[size_t(i)], &QPushButton::clicked, this, [this, i] {
            chooseConfiguration(i);
        });
    connect(m_controls.clearIcons, &QPushButton::clicked, this, &DisplayPanel::clearAllIcons);
    connect(m_controls.setIcons, &QPushButton::clicked, this, &DisplayPanel::setAllIcons);

    // clicked, not toggled: loading the boxes from the image must not write it.
    for (const IconBox &box : kIconBoxes)
        connect(m_iconBoxes[size_t(box.icon)], &QCheckBox::clicked, this, [this, item = box.icon] {
            iconBoxClicked(item);
        });

    for (int d = 0; d < kDisplayCount; ++d) {
        QComboBox *chooser = m_displays[size_t(d)].chooser;
        // activated is the user's pick only; the reload selects items quietly.
        connect(chooser, &QComboBox::activated, this, [this, d](int position) {
            chooseDataSource(Display(d), position);
        });
        chooser->installEventFilter(this);
    }

    for (const ChangeButton &button : kChangeButtons)
        connect(
            child<QPushButton>(*m_controls.window, button.name),
            &QPushButton::clicked,
            this,
            [this, display = button.display, kind = button.kind] { changeLimit(display, kind); });
    m_factoryKeyButton->installEventFilter(this);
    m_preview->installEventFilter(this);
}

// --- reload from the image ----------------------------------------------------

void DisplayPanel::reload()
{
    showPreview(UpdateInstrumentDisplay(m_document, m_editor));
    showLabels(ShowAlarmAndLimits(m_document.image));
}

void DisplayPanel::showPreview(const PreviewModel &model)
{
    if (model.hideNmeaWindows)
        m_nmea.hideWithData();
    markDefaultButton(model.config);

    for (int i = 0; i < kIconItemCount; ++i)
        m_iconBoxes[size_t(i)]->setChecked(model.iconBoxes[size_t(i)]);
    LcdPreview::ItemFlags visible = model.visible;
    // The blink owns the blank patches; a reload must not restart it.
    for (int d = 0; d < kDisplayCount; ++d)
        visible[size_t(displayInfo(Display(d)).blank)] = m_panel.blankVisible[size_t(d)];
    m_preview->setItemsVisible(visible);
    m_preview->setBarMode(model.settings.showPointers ? LcdPreview::BarMode::Pointer
                                                      : LcdPreview::BarMode::Chart);

    for (int d = 0; d < kDisplayCount; ++d) {
        QComboBox *chooser = m_displays[size_t(d)].chooser;
        const std::optional<int> position = model.chooserPosition(Display(d));
        // A code the list cannot show selects nothing and says what is stored.
        chooser->setPlaceholderText(position ? QString()
                                             : sourceDescription(model.code(Display(d)))
                                                   + QStringLiteral(" (not in list)"));
        chooser->setCurrentIndex(position.value_or(-1));
    }
    showReadings();
    emit settingsShown(model.settings);
}

void DisplayPanel::showIcons(const IconFlags &flags)
{
    for (int i = 0; i < kIconItemCount; ++i) {
        m_iconBoxes[size_t(i)]->setChecked(flags[size_t(i)]);
        m_preview->setItemVisible(PreviewItem(i), flags[size_t(i)]);
    }
}

void DisplayPanel::showReadings()
{
    const ConfigImage &image = m_document.image;
    const int config = currentConfiguration(image);
    const auto units = uint8_t(fieldValue(kUnitsAndFormats, image.IntNvm));
    for (int d = 0; d < kDisplayCount; ++d) {
        const int sourceByte = kSourceBytes[size_t(d)];
        const uint8_t code = image.CDC(config, sourceByte);
        m_preview->setFieldSource(fieldOf(Display(d)), sourceDescription(code));
        if (isBar(Display(d)))
            m_preview->setBarLevel(fieldOf(Display(d)), sampleBarLevel(image, sourceByte));
        else
            m_preview->setFieldText(fieldOf(Display(d)), qt(sampleReading(code, units)));
    }
}

void DisplayPanel::showBlanks()
{
    for (int d = 0; d < kDisplayCount; ++d)
        m_preview->setItemVisible(displayInfo(Display(d)).blank, m_panel.blankVisible[size_t(d)]);
    m_preview->setItemVisible(PreviewItem::PicDisplayBarLimitBlank, false);
}

void DisplayPanel::showLabels(const AlarmAndLimitLabels &labels)
{
    for (int d = 0; d < kDisplayCount; ++d) {
        const DisplayLabels &text = labels.displays[size_t(d)];
        DisplayWidgets &widgets = m_displays[size_t(d)];
        widgets.lowAlarm->setText(QString::fromStdString(text.lowAlarm));
        widgets.highAlarm->setText(QString::fromStdString(text.highAlarm));
        widgets.lowAlarmButton->setEnabled(text.alarmButtonsEnabled);
        widgets.highAlarmButton->setEnabled(text.alarmButtonsEnabled);
        if (isBar(Display(d))) {
            widgets.lowerBar->setText(QString::fromStdString(text.lowerBar));
            widgets.upperBar->setText(QString::fromStdString(text.upperBar));
        }
    }
}

void DisplayPanel::showConfiguration(int config)
{
    markDefaultButton(config);
    const ConfigCaptions captions = captionsForConfig(config);
    m_controls.dataFrame->setTitle(QString::fromStdString(captions.fraData));
    m_controls.clearIcons->setText(QString::fromStdString(captions.cmdResetCurrentConfig));
    m_controls.setIcons->setText(QString::fromStdString(captions.cmdSetCurrentConfig));
    m_controls.clearConfiguration->setText(QString::fromStdString(captions.cmdClearConfig));
}

void DisplayPanel::markDefaultButton(int config)
{
    for (int i = 0; i < kConfigurations; ++i)
        m_controls.configurationButtons[size_t(i)]->setDefault(i + 1 == config);
}

void DisplayPanel::showNmeaSelector(Display display, const NmeaSelectorRequest &request)
{
    const DisplayControls &places = displayControls(display);
    const QPoint corner = m_controls.window->geometry().topLeft();
    m_nmea.showSelection(request,
                         corner + twipsPoint(places.nmeaSelector.left, places.nmeaSelector.top),
                         corner + twipsPoint(places.nmeaData.left, places.nmeaData.top));
}

void DisplayPanel::fitPreviewHeight()
{
    // The picture keeps its proportions; giving the widget no more height
    // than its width needs lets the icon boxes sit right below the glass.
    const QSize design = m_preview->sizeHint();
    m_preview->setMaximumHeight(std::max(m_preview->minimumHeight(),
                                         m_preview->width() * design.height() / design.width()));
}

QString DisplayPanel::configurationName() const
{
    return QStringLiteral("Configuration %1").arg(currentConfiguration(m_document.image));
}

// --- user actions -------------------------------------------------------------

void DisplayPanel::chooseConfiguration(int buttonIndex)
{
    const ImageEdit edit(m_document);
    const ConfigChoice choice = ChooseConfiguration(m_document, m_editor, buttonIndex);
    m_controls.dataFrame->setVisible(true);
    showPreview(choice.preview);
    showLabels(choice.labels);
    showConfiguration(choice.config);
    m_nmea.hideWithData();
    if (edit.changedImage())
        emit imageEdited(configurationName() + QStringLiteral(" chosen"));
}

void DisplayPanel::clearAllIcons()
{
    const ImageEdit edit(m_document);
    if (const std::optional<IconFlags> flags = ClearAllIcons(m_document, m_dialogs))
        showIcons(*flags);
    if (edit.changedImage())
        emit imageEdited(configurationName() + QStringLiteral(" icons cleared"));
}

void DisplayPanel::setAllIcons()
{
    const ImageEdit edit(m_document);
    if (const std::optional<IconFlags> flags = SetAllIcons(m_document, m_dialogs))
        showIcons(*flags);
    if (edit.changedImage())
        emit imageEdited(configurationName() + QStringLiteral(" icons set"));
}

void DisplayPanel::iconBoxClicked(PreviewItem icon)
{
    const ImageEdit edit(m_document);
    IconFlags boxes{};
    for (int i = 0; i < kIconItemCount; ++i)
        boxes[size_t(i)] = m_iconBoxes[size_t(i)]->isChecked();
    IconBoxClicked(m_document, boxes, icon);
    m_preview->setItemVisible(icon, iconFlag(boxes, icon));
    if (edit.changedImage())
        emit imageEdited(configurationName() + QStringLiteral(" icon ")
                         + qt(iconInfo(icon).caption));
}

void DisplayPanel::chooseDataSource(Display display, int position)
{
    const ImageEdit edit(m_document);
    const SourceChoice choice = ChooseDataSource(m_document, m_editor, display, position);
    showPreview(choice.preview);
    showLabels(choice.labels);
    if (choice.nmea)
        showNmeaSelector(display, *choice.nmea);
    else
        m_nmea.hideWithData();
    if (edit.changedImage())
        emit imageEdited(configurationName() + QLatin1Char(' ')
                         + qt(displayControls(display).description));
}

void DisplayPanel::changeLimit(Display display, LimitKind kind)
{
    const ImageEdit edit(m_document);
    const LimitChange change = ChangeLimit(m_document, m_dialogs, display, kind);
    if (change.stored) {
        showLabels(change.labels);
        showReadings(); // a bar limit moves the bar's sample level
    }
    if (edit.changedImage())
        emit imageEdited(configurationName() + QLatin1Char(' ')
                         + qt(displayControls(display).description) + QLatin1Char(' ')
                         + limitName(kind));
}

void DisplayPanel::followSettings(const SettingsView &view)
{
    m_preview->setBarMode(view.showPointers ? LcdPreview::BarMode::Pointer
                                            : LcdPreview::BarMode::Chart);
    showReadings();
}

void DisplayPanel::chooserFocus(Display display, bool hasFocus)
{
    chooserFocusChanged(m_panel, display, hasFocus);
    if (!hasFocus) {
        // Leave the field readable at once rather than on the next tick.
        m_panel.blankVisible[size_t(display)] = false;
        showBlanks();
    }
}

void DisplayPanel::blinkTick()
{
    orvane::blinkTick(m_panel);
    showBlanks();
}

bool DisplayPanel::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::FocusIn:
    case QEvent::FocusOut:
        for (int d = 0; d < kDisplayCount; ++d) {
            if (watched != m_displays[size_t(d)].chooser)
                continue;
            if (event->type() == QEvent::FocusIn)
                chooserFocus(Display(d), true);
            else if (!focusLeftTheWindow(*static_cast<QFocusEvent *>(event)))
                chooserFocus(Display(d), false);
        }
        break;
    case QEvent::Resize:
        if (watched == m_preview)
            fitPreviewHeight();
        break;
    case QEvent::KeyPress:
        if (watched == m_factoryKeyButton) {
            const auto *key = static_cast<QKeyEvent *>(event);
            const Qt::KeyboardModifiers modifiers = key->modifiers();
            const KeyChord chord{key->key(),
                                 modifiers.testFlag(Qt::ShiftModifier),
                                 modifiers.testFlag(Qt::ControlModifier),
                                 modifiers.testFlag(Qt::AltModifier)};
            if (factoryKeyDown(chord) == PanelKeyRequest::FactoryMode) {
                emit factoryModeRequested();
                return true;
            }
        }
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace orvane
