#include "editors/ui/EditMenu.h"

#include "app/ui/frmMain.h"
#include "editors/ui/frmDamping.h"
#include "editors/ui/frmSenders.h"
#include "editors/ui/frmTimeOfDayAlarms.h"
#include "platform/Check.h"

#include <QAction>

namespace orvane {

namespace {

QString qt(std::string_view text)
{
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

} // namespace

EditMenu::EditMenu(frmMain &window,
                   AppState &state,
                   Platform &platform,
                   std::function<void(const SettingsView &)> settingsChanged)
    : QObject(&window)
    , m_window(window)
    , m_state(state)
    , m_platform(platform)
    , m_settingsChanged(std::move(settingsChanged))
{
    for (int i = 0; i < kMenuChoiceCount; ++i) {
        const MenuChoiceInfo &info = kMenuChoices[size_t(i)];
        auto *action = window.findChild<QAction *>(qt(info.name));
        // An item missing from the menu is a programming error; an action in
        // no menu keeps the rest working.
        ORVANE_CHECK(action, action = new QAction(this));
        m_choices[size_t(i)] = action;
        // Check marks come from the image only (see choose), so no action
        // group: the speed items may legitimately show no mark at all.
        connect(action, &QAction::triggered, this, [this, i] { choose(MenuChoice(i)); });
    }

    Ui::frmMain &ui = window.ui;
    connect(ui.FuelTankSize, &QAction::triggered, this, [this] { askTankSize(Tank::Fuel); });
    connect(ui.Tank2Size, &QAction::triggered, this, [this] { askTankSize(Tank::Second); });
    connect(ui.ViewMaintenanceAlarm, &QAction::triggered, this, &EditMenu::askMaintenanceAlarm);
    connect(ui.ViewDamping, &QAction::triggered, this, [this] {
        showWindow(m_window.dampingWindow());
    });
    connect(ui.Senders, &QAction::triggered, this, [this] {
        m_window.sendersWindow()->showBeside(m_window);
    });
    connect(m_window.sendersWindow(), &frmSenders::imageEdited, &m_window, &frmMain::refreshTitle);
    connect(ui.ViewTodAlarms, &QAction::triggered, this, [this] {
        showWindow(m_window.todAlarmsWindow());
    });
}

void EditMenu::showSettings(const SettingsView &view)
{
    for (int i = 0; i < kMenuChoiceCount; ++i)
        m_choices[size_t(i)]->setChecked(view.checked[size_t(i)]);
    frmSenders *senders = m_window.sendersWindow();
    senders->ui.lblSendersUofMTemperature->setText(QString::fromStdString(view.temperatureLabel));
    senders->ui.lblSendersUofMPressure->setText(QString::fromStdString(view.pressureLabel));
}

void EditMenu::choose(MenuChoice item)
{
    // Qt has already toggled the clicked item; the marks are redrawn from the
    // image, which also re-ticks an item that was clicked while ticked.
    const SettingsView view = ChooseMenuItem(m_state.document, item);
    showSettings(view);
    if (m_settingsChanged)
        m_settingsChanged(view);
    m_window.refreshTitle();
}

void EditMenu::askTankSize(Tank tank)
{
    AskTankSize(m_state.document, m_platform.dialogs, tank);
    m_window.refreshTitle();
}

void EditMenu::askMaintenanceAlarm()
{
    AskMaintenanceAlarm(m_state.document, m_platform.dialogs);
    m_window.refreshTitle();
}

void EditMenu::showWindow(QWidget *window)
{
    window->show();
    window->raise();
    window->activateWindow();
}

} // namespace orvane
