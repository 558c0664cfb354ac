#pragma once

#include "app/AppState.h"
#include "editors/ConfigPanel.h"
#include "platform/Platform.h"

#include <QObject>

#include <array>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;

namespace orvane {

class EditMenu;
class LcdPreview;
class frmMain;

// The display configuration panel of the main window and its LCD preview:
// connects the configuration buttons, the choosers, the icon boxes and the
// Change buttons to the panel logic, and shows what the logic returns. Owns
// the Edit menu controller, since every reload also rebuilds its marks.
class DisplayPanel : public QObject
{
    Q_OBJECT
public:
    DisplayPanel(frmMain &window, AppState &state, Platform &platform);
    ~DisplayPanel() override;

    // Reloads the preview, the panel, the menu marks and the limit labels
    // from the image for the current configuration.
    void reload();

    // The default-button mark and the captions of configuration `config`.
    void showConfiguration(int config);

    // One tick of the main window's half-second timer: blinks the field of
    // the chooser that has the focus.
    void blinkTick();

    // Shared with the NMEA sentence selector.
    PanelState &panelState() { return m_panel; }
    EditMenu &editMenu() { return *m_editMenu; }

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
    void showNmeaSelector(const NmeaSelectorRequest &request);
    void hideNmeaWindows();
    void markDefaultButton(int config);
    void fitPreviewHeight();
    void imageMayHaveChanged();

    frmMain &m_window;
    AppState &m_state;
    Platform &m_platform;
    PanelState m_panel;
    LcdPreview *m_preview = nullptr;
    EditMenu *m_editMenu = nullptr;
    std::array<DisplayWidgets, kDisplayCount> m_displays{};
    std::array<QCheckBox *, kIconItemCount> m_iconBoxes{}; // by PreviewItem
};

} // namespace orvane
