#pragma once

#include "app/AppState.h"
#include "app/Startup.h"
#include "config/ConfigImage.h"
#include "platform/Platform.h"

#include <QMainWindow>

#include <array>
#include <functional>
#include <memory>

class QPushButton;
class QTimer;

namespace Ui {
class frmMain;
}

namespace orvane {

class DesktopHabits;
class DisplayPanel;
class EditMenu;
class ImageHistory;
class MainLinkView;
class TransferController;
class frmAbout;
class frmDamping;
class frmComparison;
class frmHalvero;
class frmNmea;
class frmProductionRecords;
class frmSenders;
class frmSerialTraffic;
class frmTimeOfDayAlarms;
class frmUnitHistory;

// The application: owns the windows for the whole run, forwards their
// events to the logic over the shared state, and wires the windows to each
// other: an editor window reports each edit of the image by a signal, and
// none writes another's form.
class frmMain : public QMainWindow, private ShellView
{
    Q_OBJECT
public:
    frmMain(AppState &state, Platform &platform, QWidget *parent = nullptr);
    ~frmMain() override;

    // The window's load: start values, lists, working file.
    StartupResult startup();
    // The port chosen on the command line, after start-up: used as if chosen
    // in the port dialog, stored in a file only when the user saves.
    void usePort(uint8_t port);

    frmDamping *dampingWindow() const { return m_damping; }
    frmSenders *sendersWindow() const { return m_senders; }
    frmNmea *nmeaWindow() const { return m_nmea; }
    frmTimeOfDayAlarms *todAlarmsWindow() const { return m_todAlarms; }
    frmHalvero *factoryWindow() const { return m_halvero; }
    frmAbout *aboutWindow() const { return m_about; }
    frmSerialTraffic *serialTrafficWindow() const { return m_serialTraffic; }
    DisplayPanel *displayPanel() const { return m_panel; }
    MainLinkView &linkView() { return *m_linkView; }
    TransferController &transfers() { return *m_transfers; }
    DesktopHabits &habits() { return *m_habits; }
    frmComparison *comparisonWindow() const { return m_comparison; }
    frmUnitHistory *unitHistoryWindow() const { return m_unitHistory; }
    frmProductionRecords *productionRecordsWindow() const { return m_productionRecords; }
    ImageHistory &history() { return *m_history; }

    // Marks unsaved changes in the caption; runs after every edit and command.
    void refreshTitle();

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // ShellView
    void createFactoryWindow() override;
    bool pickListsFilled() override;
    void fillPickLists() override;
    void showIdentity() override;
    void setDataFrameCaption(const std::string &caption) override;
    void setCommsPortLabel(const std::string &caption) override;
    void showFirstDampingAndAlarm() override;
    void redraw() override;
    void selectFirstConfiguration() override;
    void closeAllWindows() override;

    void createConfigurationButtons();
    void createPanelAndMenu();
    void connectFileMenu();
    void createTransfers();
    void createHistory();
    // One user action changed the image: a step to undo, and the caption.
    void recordEdit(const QString &what);
    // A transfer command ended; the one named by m_commandName is a step.
    void recordCommand();
    // Undo or redo put an earlier image back: every window shows it.
    void showRestoredImage();
    void reportStartup(const StartupResult &result);

    // Runs `command` now, or, while the live NMEA view holds the line, once
    // the user agreed to stop it and it has ended its exchange.
    void whenLineFree(std::function<void()> command);
    bool refuseDuringExchange();
    void New_Click();
    void Open_Click();
    // Open, a recent file and a dropped file.
    void openFile(const std::string &path);
    // The one way in for those and a unit's copy: asks first when edits are
    // unsaved; true once the file is the working image.
    bool openImage(const std::string &path);
    void Save_Click();
    void SaveAs_Click();
    void Exit_Click();
    void About_Click();
    void SerialTraffic_Click();
    void CompareWithOrvane_Click();
    void CompareFiles_Click();
    void UnitHistory_Click();
    void openUnitCopy_Click();
    void restoreUnitCopy_Click();
    void ProductionRecords_Click();
    void OrvaneComPort_Click();
    void lblConnected_Click();
    void Timer1_Timer();
    // The connection state, owned by the link.
    const LinkState &link() const;

    std::unique_ptr<Ui::frmMain> m_ui;
    std::array<QPushButton *, kConfigurations> CmdConf1{};
    AppState &m_state;
    Platform &m_platform;
    frmAbout *m_about = nullptr;
    frmSerialTraffic *m_serialTraffic = nullptr;
    frmDamping *m_damping = nullptr;
    frmSenders *m_senders = nullptr;
    frmNmea *m_nmea = nullptr;
    frmTimeOfDayAlarms *m_todAlarms = nullptr;
    frmHalvero *m_halvero = nullptr;
    DisplayPanel *m_panel = nullptr;
    EditMenu *m_editMenu = nullptr;
    std::unique_ptr<MainLinkView> m_linkView;
    TransferController *m_transfers = nullptr;
    frmComparison *m_comparison = nullptr;
    frmUnitHistory *m_unitHistory = nullptr;
    frmProductionRecords *m_productionRecords = nullptr;
    ImageHistory *m_history = nullptr;
    // The running transfer command's name as a step to undo; empty for one
    // that only changes the image in passing (Upload stores the counter).
    QString m_commandName;
    DesktopHabits *m_habits = nullptr;
    QTimer *Timer1 = nullptr;
    bool m_quitting = false;
};

} // namespace orvane
