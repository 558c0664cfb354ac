#include "app/ui/frmMain.h"

#include "app/FileMenu.h"
#include "app/PickLists.h"
#include "app/ui/MainLinkView.h"
#include "app/ui/Twips.h"
#include "app/ui/frmAbout.h"
#include "config/FileCommands.h"
#include "config/NumberText.h"
#include "editors/ui/DisplayPanel.h"
#include "editors/ui/frmDamping.h"
#include "editors/ui/frmNmea.h"
#include "editors/ui/frmNmeaData.h"
#include "editors/ui/frmSenders.h"
#include "editors/ui/frmTimeOfDayAlarms.h"
#include "factory/ui/frmHalvero.h"
#include "link/LineUser.h"
#include "transfer/LinkNmeaLine.h"
#include "transfer/ui/TransferController.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>

namespace orvane {

namespace {
constexpr const char *kCaption = "Halvero Orvane Display Configuration Editor";
constexpr int kConfigurationButtonsPerRow = 8;
constexpr int kFactoryWindowTopTwips = 550;
constexpr int kFactoryWindowLeftTwips = 425;
constexpr int kTimer1IntervalMs = 500;
} // namespace

frmMain::frmMain(AppState &state, Platform &platform, QWidget *parent)
    : QMainWindow(parent)
    , m_state(state)
    , m_platform(platform)
{
    ui.setupUi(this);
    m_damping = new frmDamping(m_state, m_platform, this);
    m_senders = new frmSenders(m_state, m_platform, this);
    m_nmea = new frmNmea(m_state, m_platform, this);
    m_todAlarms = new frmTimeOfDayAlarms(m_state, m_platform, this);
    createConfigurationButtons();
    m_panel = new DisplayPanel(*this, m_state, m_platform);
    m_linkView = std::make_unique<MainLinkView>(*this, m_state, m_platform);
    m_nmea->dataWindow()->setLineFactory([this] {
        return std::make_unique<LinkNmeaLine>(m_linkView->link(),
                                              m_linkView->connection(),
                                              m_state.document.image);
    });
    createTransfers();
    connectFileMenu();
    connect(ui.OrvaneComPort, &QAction::triggered, this, [this] {
        whenLineFree([this] { OrvaneComPort_Click(); });
    });
    ui.lblConnected->installEventFilter(this);
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    connect(Timer1, &QTimer::timeout, this, &frmMain::Timer1_Timer);
    Timer1->start(kTimer1IntervalMs);
    refreshTitle();
}

frmMain::~frmMain() = default;

void frmMain::createConfigurationButtons()
{
    auto *grid = static_cast<QGridLayout *>(ui.FraEdit->layout());
    for (int i = 0; i < int(CmdConf1.size()); ++i) {
        auto *button = new QPushButton(QString::number(i + 1), ui.FraEdit);
        button->setObjectName(QStringLiteral("CmdConf1_%1").arg(i));
        button->setAccessibleName(QStringLiteral("Configuration %1").arg(i + 1));
        button->setMinimumWidth(34);
        grid->addWidget(button, i / kConfigurationButtonsPerRow, i % kConfigurationButtonsPerRow);
        CmdConf1[size_t(i)] = button;
    }
}

void frmMain::createTransfers()
{
    MainWindowHooks hooks;
    hooks.setConnectedCaption = [this](const std::string &text) {
        m_linkView->setConnectedCaption(text);
    };
    hooks.redraw = [this] {
        redraw();
    };
    hooks.rerunStartup = [this] {
        startup();
    };
    hooks.selectFirstConfiguration = [this] {
        selectFirstConfiguration();
    };
    // The icon boxes follow the image on every redraw, so clearing the icons
    // needs nothing of its own here.
    m_transfers = new TransferController(m_state,
                                         m_platform,
                                         m_linkView->link(),
                                         m_linkView->connection(),
                                         hooks,
                                         this);
    m_linkView->setHideProgress([this] { m_transfers->hideProgress(); });
    connect(m_transfers, &TransferController::commandFinished, this, &frmMain::refreshTitle);
    connect(ui.cmdClearConfig,
            &QPushButton::clicked,
            m_transfers,
            &TransferController::cmdClearConfig_Click);
    // The commands that need the line wait for the live NMEA view to end.
    const auto gated = [window = this](void (TransferController::*command)()) {
        return [window, command] {
            window->whenLineFree([window, command] { (window->m_transfers->*command)(); });
        };
    };
    connect(ui.cmdDownload,
            &QPushButton::clicked,
            this,
            gated(&TransferController::cmdDownload_Click));
    connect(ui.cmdUpload, &QPushButton::clicked, this, gated(&TransferController::cmdUpload_Click));
    connect(ui.ResetDefaults,
            &QAction::triggered,
            this,
            gated(&TransferController::ResetDefaults_Click));
    connect(ui.CreateBackup,
            &QAction::triggered,
            this,
            gated(&TransferController::CreateBackup_Click));
    connect(ui.RestoreBackup,
            &QAction::triggered,
            this,
            gated(&TransferController::RestoreBackup_Click));
    connect(ui.UpdateFirmware,
            &QAction::triggered,
            this,
            gated(&TransferController::UpdateFirmware_Click));
}

void frmMain::connectFileMenu()
{
    connect(ui.New, &QAction::triggered, this, [this] { whenLineFree([this] { New_Click(); }); });
    connect(ui.Open, &QAction::triggered, this, [this] { whenLineFree([this] { Open_Click(); }); });
    connect(ui.Save, &QAction::triggered, this, &frmMain::Save_Click);
    connect(ui.SaveAs, &QAction::triggered, this, &frmMain::SaveAs_Click);
    connect(ui.Exit, &QAction::triggered, this, [this] { whenLineFree([this] { Exit_Click(); }); });
    connect(ui.About, &QAction::triggered, this, &frmMain::About_Click);
    ui.Open->setShortcut(QKeySequence::Open);
    ui.Save->setShortcut(QKeySequence::Save);
}

StartupResult frmMain::startup()
{
    const StartupResult result = runStartup(m_state, m_linkView->link(), m_platform, *this);
    reportStartup(result);
    refreshTitle();
    return result;
}

void frmMain::reportStartup(const StartupResult &result)
{
    if (result.readDefaultFile || result.rewrite.ok())
        return;
    // Without this the user would lose every change at the next exit too.
    m_platform.dialogs.messageBox(
        saveFailureMessage(configFilePath(m_state.files, m_platform), result.rewrite),
        "Orvane Display Configuration Editor",
        MessageIcon::Warning,
        MessageButtons::Ok);
}

const LinkState &frmMain::link() const
{
    return m_linkView->link().linkState();
}

void frmMain::refreshTitle()
{
    const QString caption = QString::fromUtf8(kCaption);
    setWindowTitle(m_state.document.changed ? caption + QStringLiteral(" *") : caption);
}

// --- ShellView --------------------------------------------------------------

void frmMain::createFactoryWindow()
{
    if (m_halvero)
        return;
    m_halvero = new frmHalvero(this);
    m_halvero->move(twipsPoint(kFactoryWindowLeftTwips, kFactoryWindowTopTwips));
    m_halvero->hide();
}

bool frmMain::pickListsFilled()
{
    return ui.ComboDisplay1->count() > 1;
}

void frmMain::fillPickLists()
{
    const std::pair<std::string_view, QWidget *> windows[] = {
        {"frmDamping", m_damping},
        {"frmSenders", m_senders},
        {"frmMain", this},
        {"frmNmea", m_nmea},
        {"frmTimeOfDayAlarms", m_todAlarms},
    };
    for (const picklists::PickListFill &fill : picklists::kFillOrder) {
        QWidget *window = nullptr;
        for (const auto &[name, widget] : windows)
            if (name == fill.window)
                window = widget;
        const QString control = QString::fromUtf8(fill.control.data(), int(fill.control.size()));
        if (fill.kind == picklists::FillKind::GridHeadings) {
            auto *grid = window->findChild<QTableWidget *>(control);
            QStringList headings;
            for (std::string_view text : fill.items)
                headings << QString::fromUtf8(text.data(), int(text.size()));
            grid->setHorizontalHeaderLabels(headings);
            grid->setColumnWidth(0, twipsToPixels(picklists::kSenderGridIndexColumnTwips));
            m_state.editor.CurveInEdit = EditorState::kNoCurve;
            continue;
        }
        auto *list = window->findChild<QComboBox *>(control);
        for (std::string_view text : fill.items)
            list->addItem(QString::fromUtf8(text.data(), int(text.size())));
        list->setCurrentIndex(fill.initialSelection);
    }
}

void frmMain::showIdentity()
{
    const QString unknown = QString::fromStdString(link().SerialNumberText);
    for (QLineEdit *box : {m_halvero->ui.txtOrvaneSN,
                           m_halvero->ui.txtOrvaneSwVer,
                           m_halvero->ui.txtOrvaneHwVer,
                           m_halvero->ui.txtNTimesNewConfigs,
                           m_halvero->ui.txtU101SwVer,
                           m_halvero->ui.txtU201SwVer,
                           m_halvero->ui.txtU301SwVer,
                           m_halvero->ui.txtU401SwVer})
        box->setText(unknown);
}

void frmMain::setDataFrameCaption(const std::string &caption)
{
    ui.fraData->setTitle(QString::fromStdString(caption));
}

void frmMain::setCommsPortLabel(const std::string &caption)
{
    ui.lblCommsPort->setText(QString::fromStdString(caption));
}

void frmMain::showFirstDampingAndAlarm()
{
    const IntNvmTable &nvm = m_state.document.image.IntNvm;
    m_damping->ui.cboDamping->setCurrentIndex(0);
    m_damping->ui.txtDampingValue->setText(QString::number(nvm[106]));
    m_todAlarms->ui.cboTodAlarms->setCurrentIndex(0);
    m_todAlarms->ui.txtTodHours->setText(QString::fromStdString(twoDigits(nvm[46])));
    m_todAlarms->ui.txtTodMinutes->setText(QString::fromStdString(twoDigits(nvm[47])));
}

void frmMain::redraw()
{
    const SenderListPositions &senders = m_state.editor.senderLists;
    m_senders->ui.cboEngineTempSender->setCurrentIndex(senders.engineTemp);
    m_senders->ui.cboFuelSender->setCurrentIndex(senders.fuel);
    m_senders->ui.cboOilPressureSender->setCurrentIndex(senders.oilPressure);
    m_senders->ui.cboTrimSender->setCurrentIndex(senders.trim);
    m_senders->ui.cbo2ndTankSender->setCurrentIndex(senders.secondTank);
    m_panel->reload();
    refreshTitle();
}

void frmMain::selectFirstConfiguration()
{
    CmdConf1[0]->setFocus();
    m_panel->showConfiguration(1);
}

void frmMain::closeAllWindows()
{
    m_quitting = true;
    // Most recently opened first; the main window closes last.
    const QList<QWidget *> windows = findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly);
    for (auto it = windows.rbegin(); it != windows.rend(); ++it)
        if ((*it)->isWindow())
            (*it)->close();
    close();
}

// --- menu handlers ----------------------------------------------------------

void frmMain::whenLineFree(std::function<void()> command)
{
    if (link().lineUser != LineUser::LiveNmea) {
        command(); // any other holder is refused by the command itself, with its reason
        return;
    }
    m_platform.dialogs.beep();
    if (m_platform.dialogs.messageBox(kStopLiveNmeaQuestion,
                                      kLineBusyTitle,
                                      MessageIcon::Question,
                                      MessageButtons::YesNo)
        == MessageAnswer::Yes)
        m_nmea->dataWindow()->stopThen(std::move(command));
}

bool frmMain::refuseDuringExchange()
{
    // Reloading the image or changing the port under a running exchange would
    // mix two images or pull the line from under it.
    if (link().lineUser == LineUser::None)
        return false;
    m_platform.dialogs.beep();
    m_platform.dialogs.messageBox(lineBusyMessage(link().lineUser),
                                  kLineBusyTitle,
                                  MessageIcon::Information,
                                  MessageButtons::Ok);
    return true;
}

void frmMain::New_Click()
{
    if (refuseDuringExchange())
        return;
    newConfiguration(m_state, m_linkView->link(), m_platform, *this);
    refreshTitle();
}

void frmMain::Open_Click()
{
    if (refuseDuringExchange())
        return;
    if (openConfigFile(m_state, m_linkView->link(), m_platform) == FileCommandResult::Done) {
        setCommsPortLabel(commsPortCaption(link().ComPortNumber));
        redraw();
    }
}

void frmMain::Save_Click()
{
    saveConfigFile(m_state, m_linkView->link(), m_platform);
    refreshTitle();
}

void frmMain::SaveAs_Click()
{
    saveConfigFileAs(m_state, m_linkView->link(), m_platform);
}

void frmMain::Exit_Click()
{
    QuitProgram(m_state, m_linkView->link(), m_platform, *this);
}

void frmMain::About_Click()
{
    if (!m_about) {
        m_about = new frmAbout(this);
        connect(m_about->ui.cmdAboutOk, &QPushButton::clicked, m_about, &QDialog::hide);
    }
    // The values are copied when the dialog opens; a later connection does
    // not change an open dialog.
    m_about->ui.txtPcSoftwareVer->setText(QString::fromStdString(m_state.files.VersionText));
    m_about->ui.txtOrvaneSN->setText(QString::fromStdString(link().SerialNumberText));
    m_about->ui.txtOrvaneSwVer->setText(QString::fromStdString(link().SoftwareVersionText));
    m_about->ui.txtOrvaneHwVer->setText(QString::fromStdString(link().HardwareVersionText));
    m_about->ui.lblWorkingFolder->setText(
        tr("Working file folder: %1").arg(QString::fromStdString(m_state.files.WorkingFolder)));
    m_about->show();
    m_about->raise();
}

void frmMain::Timer1_Timer()
{
    m_panel->blinkTick();
    m_linkView->showLamp();
}

void frmMain::OrvaneComPort_Click()
{
    if (refuseDuringExchange())
        return;
    m_linkView->connection().OrvaneComPort();
}

void frmMain::lblConnected_Click()
{
    if (!link().FactoryMode)
        return;
    m_halvero->show();
    m_halvero->raise();
}

bool frmMain::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == ui.lblConnected && event->type() == QEvent::MouseButtonRelease)
        lblConnected_Click();
    return QMainWindow::eventFilter(watched, event);
}

void frmMain::closeEvent(QCloseEvent *event)
{
    if (!m_quitting && link().lineUser == LineUser::LiveNmea) {
        event->ignore();
        whenLineFree([this] { close(); });
        return;
    }
    if (!m_quitting && !QuitProgram(m_state, m_linkView->link(), m_platform, *this)) {
        event->ignore();
        return;
    }
    event->accept();
}

} // namespace orvane
