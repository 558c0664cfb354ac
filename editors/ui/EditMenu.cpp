#include "editors/ui/EditMenu.h"

#include "editors/ui/ImageEdit.h"
#include "editors/ui/frmSenders.h"
#include "platform/Check.h"

#include <QAction>

namespace orvane {

namespace {

// The choice items' names in the form, in MenuChoice order.
constexpr std::array<std::string_view, kMenuChoiceCount> kChoiceActions = {
    "Knots",
    "MPH",
    "KmHr",
    "DegF",
    "DegC",
    "Psi",
    "Bars",
    "Hr12",
    "Hr24",
    "BarChart",
    "Pointer",
    "TachoSensitivityMaximum",
    "TachoSensitivityHigh",
    "TachoSensitivityMedium",
    "TachoSensitivityLow",
    "TachoSensitivityMinimum",
    "TachoRatio1",
    "TachoRatio5",
    "TachoRatio10",
    "TachoRatio20",
    "TachoRatio50",
    "TachoRatio100",
    "TachoRatio200",
};

QString groupName(MenuGroup group)
{
    switch (group) {
    case MenuGroup::SpeedUnits:
        return QStringLiteral("Speed units");
    case MenuGroup::TemperatureUnits:
        return QStringLiteral("Temperature units");
    case MenuGroup::PressureUnits:
        return QStringLiteral("Pressure units");
    case MenuGroup::TimeFormat:
        return QStringLiteral("Time format");
    case MenuGroup::BarGraphType:
        return QStringLiteral("Bar graph type");
    case MenuGroup::TachoSensitivity:
        return QStringLiteral("Tacho sensitivity");
    case MenuGroup::PulleyRatio:
        return QStringLiteral("Tacho pulley ratio");
    }
    return {};
}

} // namespace

EditMenu::EditMenu(QWidget &window,
                   ConfigDocument &document,
                   UserDialogs &dialogs,
                   const SettingsWindows &windows)
    : QObject(&window)
    , m_window(window)
    , m_document(document)
    , m_dialogs(dialogs)
    , m_windows(windows)
{
    for (int i = 0; i < kMenuChoiceCount; ++i) {
        QAction *choice = action(kChoiceActions[size_t(i)]);
        m_choices[size_t(i)] = choice;
        // Check marks come from the image only (see choose), so no action
        // group: the speed items may legitimately show no mark at all.
        connect(choice, &QAction::triggered, this, [this, i] { choose(MenuChoice(i)); });
    }

    connect(action("FuelTankSize"), &QAction::triggered, this, [this] { askTankSize(Tank::Fuel); });
    connect(action("Tank2Size"), &QAction::triggered, this, [this] { askTankSize(Tank::Second); });
    connect(action("ViewMaintenanceAlarm"),
            &QAction::triggered,
            this,
            &EditMenu::askMaintenanceAlarm);
    connect(action("ViewDamping"), &QAction::triggered, this, [this] {
        showWindow(m_windows.damping);
    });
    connect(action("Senders"), &QAction::triggered, this, [this] {
        m_windows.senders->showBeside(m_window);
    });
    connect(action("ViewTodAlarms"), &QAction::triggered, this, [this] {
        showWindow(m_windows.todAlarms);
    });
}

QAction *EditMenu::action(std::string_view name)
{
    auto *found
        = m_window.findChild<QAction *>(QString::fromUtf8(name.data(), qsizetype(name.size())));
    // An item missing from the menu is a programming error; an action in no
    // menu keeps the rest working.
    ORVANE_CHECK(found, found = new QAction(this));
    return found;
}

void EditMenu::showSettings(const SettingsView &view)
{
    for (int i = 0; i < kMenuChoiceCount; ++i)
        m_choices[size_t(i)]->setChecked(view.checked[size_t(i)]);
    emit settingsShown(view);
}

void EditMenu::choose(MenuChoice item)
{
    // Qt has already toggled the clicked item; the marks are redrawn from the
    // image, which also re-ticks an item that was clicked while ticked.
    const ImageEdit edit(m_document);
    const SettingsView view = ChooseMenuItem(m_document, item);
    showSettings(view);
    emit settingsChosen(view);
    if (edit.changedImage())
        emit imageEdited(groupName(menuGroup(item)));
}

void EditMenu::askTankSize(Tank tank)
{
    const ImageEdit edit(m_document);
    AskTankSize(m_document, m_dialogs, tank);
    if (edit.changedImage())
        emit imageEdited(tank == Tank::Fuel ? QStringLiteral("Fuel tank size")
                                            : QStringLiteral("Second tank size"));
}

void EditMenu::askMaintenanceAlarm()
{
    const ImageEdit edit(m_document);
    AskMaintenanceAlarm(m_document, m_dialogs);
    if (edit.changedImage())
        emit imageEdited(QStringLiteral("Maintenance alarm"));
}

void EditMenu::showWindow(QWidget *window)
{
    window->show();
    window->raise();
    window->activateWindow();
}

} // namespace orvane
