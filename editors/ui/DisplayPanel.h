#pragma once

#include "config/ConfigDocument.h"
#include "editors/ConfigPanel.h"
#include "editors/EditMenuSettings.h"
#include "editors/EditorState.h"
#include "platform/Platform.h"

#include <QObject>
#include <QString>

#include <array>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QWidget;

namespace orvane {

class LcdPreview;
class frmNmea;

// The display configuration panel of the main window and its LCD preview:
// connects the configuration buttons, the choosers, the icon boxes and the
// Change buttons to the panel logic, and shows what the logic returns.
class DisplayPanel : public QObject
{
    Q_OBJECT
public:
    // The main window's controls that the panel drives. The display frames'
    // controls and the icon boxes are found in `window` by their names.
    struct Controls
    {
        QWidget *window = nullptr; // the NMEA windows open at places from its corner
        LcdPreview *preview = nullptr;
        std::array<QPushButton *, kConfigurations> configurationButtons{};
        QGroupBox *dataFrame = nullptr;
        QPushButton *clearIcons = nullptr;
        QPushButton *setIcons = nullptr;
        QPushButton *clearConfiguration = nullptr; // only its caption
    };

    DisplayPanel(const Controls &controls,
                 frmNmea &nmea,
                 ConfigDocument &document,
                 EditorState &editor,
                 UserDialogs &dialogs);
    ~DisplayPanel() override;

    // Reloads the preview, the panel, the menu marks and the limit labels
    // from the image for the current configuration.
    void reload();

    // The default-button mark and the captions of configuration `config`.
    void showConfiguration(int config);

    // One tick of the main window's half-second timer: blinks the field of
    // the chooser that has the focus.
    void blinkTick();

    // The menus changed units or bar type: the preview follows.
    void followSettings(const SettingsView &view);

signals:
    // One user action changed the image; `what` names the change.
    void imageEdited(const QString &what);
    // A reload read the menu settings from the image.
    void settingsShown(const SettingsView &view);
    // Ctrl+Alt+Q on the left bar's upper limit button.
    void factoryModeRequested();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct DisplayWidgets
    {
        QComboBox *chooser = nullptr;
        QLabel *lowAlarm = nullptr;
        QLabel *highAlarm = nullptr;
        QPushButton *lowAlarmButton = nullptr;
        QPushButton *highAlarmButton = nullptr;
        QLabel *lowerBar = nullptr; // bars only
        QLabel *upperBar = nullptr;
    };

    void findWidgets();
    void connectControls();

    void chooseConfiguration(int buttonIndex);
    void clearAllIcons();
    void setAllIcons();
    void iconBoxClicked(PreviewItem icon);
    void chooseDataSource(Display display, int position);
    void changeLimit(Display display, LimitKind kind);
    void chooserFocus(Display display, bool hasFocus);

    void showPreview(const PreviewModel &model);
    void showIcons(const IconFlags &flags);
    void showReadings();
    void showBlanks();
    void showLabels(const AlarmAndLimitLabels &labels);
    void showNmeaSelector(Display display, const NmeaSelectorRequest &request);
    void markDefaultButton(int config);
    void fitPreviewHeight();
    QString configurationName() const;

    Controls m_controls;
    LcdPreview *m_preview;
    frmNmea &m_nmea;
    ConfigDocument &m_document;
    EditorState &m_editor;
    UserDialogs &m_dialogs;
    PanelState m_panel;
    QPushButton *m_factoryKeyButton = nullptr;
    std::array<DisplayWidgets, kDisplayCount> m_displays{};
    std::array<QCheckBox *, kIconItemCount> m_iconBoxes{}; // by PreviewItem
};

} // namespace orvane
