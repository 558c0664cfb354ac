#pragma once

#include "config/ConfigDocument.h"
#include "editors/EditMenuSettings.h"
#include "platform/Platform.h"

#include <QObject>
#include <QString>

#include <array>

class QAction;
class QWidget;

namespace orvane {

class frmSenders;

// The "&Edit" menu of the main window: the choice items with their check
// marks, the tank size and maintenance alarm input boxes, and the items that
// open the settings windows. The communications port and the instrument-wide
// commands are wired by their own controllers.
class EditMenu : public QObject
{
    Q_OBJECT
public:
    // The windows the menu opens; the senders dialog opens beside `window`.
    struct SettingsWindows
    {
        QWidget *damping = nullptr;
        frmSenders *senders = nullptr;
        QWidget *todAlarms = nullptr;
    };

    // The menu's items are found in `window` by their names.
    EditMenu(QWidget &window,
             ConfigDocument &document,
             UserDialogs &dialogs,
             const SettingsWindows &windows);

    // Check marks from a reload.
    void showSettings(const SettingsView &view);

signals:
    // One user action changed the image; `what` names the change.
    void imageEdited(const QString &what);
    // The marks were redrawn, from a reload or a choice.
    void settingsShown(const SettingsView &view);
    // A choice item was picked: units or bar type may have changed.
    void settingsChosen(const SettingsView &view);

private:
    QAction *action(std::string_view name);
    void choose(MenuChoice item);
    void askTankSize(Tank tank);
    void askMaintenanceAlarm();
    void showWindow(QWidget *window);

    QWidget &m_window;
    ConfigDocument &m_document;
    UserDialogs &m_dialogs;
    SettingsWindows m_windows;
    std::array<QAction *, kMenuChoiceCount> m_choices{};
};

} // namespace orvane
