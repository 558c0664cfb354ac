#pragma once

#include "app/AppState.h"
#include "editors/EditMenuSettings.h"
#include "platform/Platform.h"

#include <QObject>

#include <array>
#include <functional>

class QAction;

namespace orvane {

class frmMain;

// The "&Edit" menu of the main window: the choice items with their check
// marks, the tank size and maintenance alarm input boxes, and the items that
// open the settings windows. The communications port and the instrument-wide
// commands are wired by their own controllers.
class EditMenu : public QObject
{
    Q_OBJECT
public:
    // settingsChanged runs after a choice item has changed the image, with the
    // menus as they now stand, so the preview can follow units and bar type.
    EditMenu(frmMain &window,
             AppState &state,
             Platform &platform,
             std::function<void(const SettingsView &)> settingsChanged);

    // Check marks and the sender dialog's unit captions, from a reload.
    void showSettings(const SettingsView &view);

    QAction *choiceAction(MenuChoice item) const { return m_choices.at(size_t(item)); }

private:
    void choose(MenuChoice item);
    void askTankSize(Tank tank);
    void askMaintenanceAlarm();
    void showWindow(QWidget *window);

    frmMain &m_window;
    AppState &m_state;
    Platform &m_platform;
    std::function<void(const SettingsView &)> m_settingsChanged;
    std::array<QAction *, kMenuChoiceCount> m_choices{};
};

} // namespace orvane
