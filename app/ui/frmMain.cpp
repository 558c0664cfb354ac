#include "app/ui/frmMain.h"

#include "app/FileMenu.h"
#include "app/ImageComparison.h"
#include "app/PickLists.h"
#include "app/ui/DesktopHabits.h"
#include "app/ui/ImageHistory.h"
#include "app/ui/LinkNmeaLine.h"
#include "app/ui/MainLinkView.h"
#include "app/ui/frmAbout.h"
#include "app/ui/frmComparison.h"
#include "app/ui/frmUnitHistory.h"
#include "config/FileCommands.h"
#include "config/NumberText.h"
#include "editors/ui/DisplayPanel.h"
#include "editors/ui/EditMenu.h"
#include "editors/ui/PickList.h"
#include "editors/ui/Twips.h"
#include "editors/ui/frmDamping.h"
#include "editors/ui/frmNmea.h"
#include "editors/ui/frmNmeaData.h"
#include "editors/ui/frmSenders.h"
#include "editors/ui/frmTimeOfDayAlarms.h"
#include "factory/ui/frmHalvero.h"
#include "factory/ui/frmProductionRecords.h"
#include "link/Exchange.h"
#include "link/LineUser.h"
#include "link/ui/frmSerialTraffic.h"
#include "transfer/UnitCopies.h"
#include "transfer/ui/TransferController.h"
#include "ui_frmMain.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFileInfo>
#include <QPushButton>
#include <QTimer>
#include <QUndoStack>

#include <functional>

namespace orvane {

namespace {
constexpr const char *kCaption = "Halvero Orvane Display Configuration Editor";
constexpr int kConfigurationButtonsPerRow = 8;
constexpr int kFactoryWindowTopTwips = 550;
constexpr int kFactoryWindowLeftTwips = 425;
constexpr int kTimer1IntervalMs = 500;
constexpr const char *kCompareWithOrvaneTitle = "Compare with Orvane";
constexpr const char *kCompareWithOrvaneHeading
    = "Uploading the configuration shown here would change these settings in the Orvane:";
constexpr const char *kCompareWithOrvaneSame
    = "The Orvane holds everything the configuration shown here would write.";
constexpr const char *kCompareFilesTitle = "Compare Two Files";
constexpr const char *kCompareFirstFileTitle = "Compare configuration file (before):";
constexpr const char *kCompareSecondFileTitle = "With configuration file (after):";
constexpr const char *kCompareFilesSame = "The two files hold the same settings.";
} // namespace

frmMain::frmMain(AppState &state, Platform &platform, QWidget *parent)
    : QMainWindow(parent)
    , m_ui(std::make_unique<Ui::frmMain>())
    , m_state(state)
    , m_platform(platform)
{
    m_ui->setupUi(this);
    m_history = new ImageHistory(
        m_state.document,
        [this] { showRestoredImage(); },
        this);
    m_damping = new frmDamping(m_state.document, this);
    m_senders = new frmSenders(m_state.document, m_state.editor, m_platform.dialogs, this);
    m_nmea = new frmNmea(m_state.document, m_state.editor, m_platform, this);
    m_todAlarms = new frmTimeOfDayAlarms(m_state.document, this);
    createConfigurationButtons();
    createPanelAndMenu();
    m_linkView = std::make_unique<MainLinkView>(*this,
                                                MainLinkView::Indicators{m_ui->shpCommsConnected,
                                                                         m_ui->lblConnected,
                                                                         m_ui->lblCommsPort,
                                                                         m_ui->lblOrvaneSN},
                                                m_state,
                                                m_platform);
    connect(m_panel, &DisplayPanel::factoryModeRequested, this, [this] {
        m_linkView->link().setFactoryMode(true);
    });
    // The live NMEA view polls over the main window's link.
    m_nmea->dataWindow()->setLineFactory([this] {
        return std::make_unique<LinkNmeaLine>(m_linkView->link(),
                                              m_linkView->connection(),
                                              m_state.document.image);
    });
    createTransfers();
    createHistory();
    connectFileMenu();
    m_habits = new DesktopHabits(*this, m_platform, [this](const std::string &path) {
        whenLineFree([this, path] { openFile(path); });
    });
    connect(m_ui->OrvaneComPort, &QAction::triggered, this, [this] {
        whenLineFree([this] { OrvaneComPort_Click(); });
    });
    m_ui->lblConnected->installEventFilter(this);
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    connect(Timer1, &QTimer::timeout, this, &frmMain::Timer1_Timer);
    Timer1->start(kTimer1IntervalMs);
    refreshTitle();
}

frmMain::~frmMain()
{
    // The undo stack reports itself clean while it is torn down, after this
    // window's own part is gone: nothing may redraw the caption then.
    m_history->disconnect(this);
}

void frmMain::createConfigurationButtons()
{
    auto *grid = static_cast<QGridLayout *>(m_ui->FraEdit->layout());
    for (int i = 0; i < int(CmdConf1.size()); ++i) {
        auto *button = new QPushButton(QString::number(i + 1), m_ui->FraEdit);
        button->setObjectName(QStringLiteral("CmdConf1_%1").arg(i));
        button->setAccessibleName(QStringLiteral("Configuration %1").arg(i + 1));
        button->setMinimumWidth(34);
        grid->addWidget(button, i / kConfigurationButtonsPerRow, i % kConfigurationButtonsPerRow);
        CmdConf1[size_t(i)] = button;
    }
}

void frmMain::createPanelAndMenu()
{
    DisplayPanel::Controls controls;
    controls.window = this;
    controls.preview = m_ui->picTessaro;
    controls.configurationButtons = CmdConf1;
    controls.dataFrame = m_ui->fraData;
    controls.clearIcons = m_ui->cmdResetCurrentConfig;
    controls.setIcons = m_ui->cmdSetCurrentConfig;
    controls.clearConfiguration = m_ui->cmdClearConfig;
    m_panel
        = new DisplayPanel(controls, *m_nmea, m_state.document, m_state.editor, m_platform.dialogs);
    m_editMenu = new EditMenu(*this,
                              m_state.document,
                              m_platform.dialogs,
                              {m_damping, m_senders, m_todAlarms});
    // A reload redraws the menu marks, and the sender dialog's unit captions
    // follow them; a menu choice redraws the preview's units and bars.
    connect(m_panel, &DisplayPanel::settingsShown, m_editMenu, &EditMenu::showSettings);
    connect(m_editMenu, &EditMenu::settingsShown, m_senders, &frmSenders::showUnits);
    connect(m_editMenu, &EditMenu::settingsChosen, m_panel, &DisplayPanel::followSettings);
    // Every edit of the image is a step to undo and marks the caption.
    connect(m_panel, &DisplayPanel::imageEdited, this, &frmMain::recordEdit);
    connect(m_editMenu, &EditMenu::imageEdited, this, &frmMain::recordEdit);
    connect(m_damping, &frmDamping::imageEdited, this, &frmMain::recordEdit);
    connect(m_senders, &frmSenders::imageEdited, this, &frmMain::recordEdit);
    connect(m_nmea, &frmNmea::imageEdited, this, &frmMain::recordEdit);
    connect(m_todAlarms, &frmTimeOfDayAlarms::imageEdited, this, &frmMain::recordEdit);
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
    m_transfers = new TransferController(m_state.document,
                                         m_state.transfer,
                                         m_state.editor,
                                         m_platform,
                                         m_linkView->link(),
                                         m_linkView->connection(),
                                         hooks,
                                         this);
    m_linkView->setHideProgress([this] { m_transfers->hideProgress(); });
    connect(m_transfers, &TransferController::commandFinished, this, &frmMain::recordCommand);
    // Before an upload writes anything it shows what will change.
    m_comparison = new frmComparison(this);
    m_transfers->transfers().setUploadReview(m_comparison);
    // The commands that need the line wait for the live NMEA view to end. (A
    // pointer to member captured in a lambda is miscompiled by GCC 12 under
    // ASan with UBSan, so the commands are bound instead.)
    const auto gated = [this](std::function<void()> command) {
        return [this, command] {
            whenLineFree(command);
        };
    };
    const auto transfer
        = [this, gated](void (TransferController::*command)(), const QString &name = {}) {
              std::function<void()> run = std::bind(command, m_transfers);
              return gated([this, run, name] {
                  m_commandName = name;
                  run();
              });
          };
    std::function<void()> clearConfiguration
        = std::bind(&TransferController::cmdClearConfig_Click, m_transfers);
    connect(m_ui->cmdClearConfig, &QPushButton::clicked, this, [this, clearConfiguration] {
        m_commandName = m_ui->cmdClearConfig->text();
        clearConfiguration();
    });
    connect(m_ui->cmdDownload,
            &QPushButton::clicked,
            this,
            transfer(&TransferController::cmdDownload_Click, QStringLiteral("Download")));
    connect(m_ui->cmdUpload,
            &QPushButton::clicked,
            this,
            transfer(&TransferController::cmdUpload_Click));
    // Read Everything is both a button under the two transfers and a File menu item.
    const auto readEverything
        = transfer(&TransferController::ReadEverything_Click, QStringLiteral("Read Everything"));
    connect(m_ui->cmdReadEverything, &QPushButton::clicked, this, readEverything);
    connect(m_ui->ReadEverything, &QAction::triggered, this, readEverything);
    connect(m_ui->ResetDefaults,
            &QAction::triggered,
            this,
            transfer(&TransferController::ResetDefaults_Click,
                     QStringLiteral("Reset to Factory Defaults")));
    connect(m_ui->CreateBackup,
            &QAction::triggered,
            this,
            transfer(&TransferController::CreateBackup_Click));
    connect(m_ui->RestoreBackup,
            &QAction::triggered,
            this,
            transfer(&TransferController::RestoreBackup_Click));
    connect(m_ui->UpdateFirmware,
            &QAction::triggered,
            this,
            transfer(&TransferController::UpdateFirmware_Click));
}

void frmMain::createHistory()
{
    QUndoStack &stack = m_history->stack();
    QAction *undo = stack.createUndoAction(this, QStringLiteral("&Undo"));
    QAction *redo = stack.createRedoAction(this, QStringLiteral("&Redo"));
    undo->setObjectName(QStringLiteral("Undo"));
    redo->setObjectName(QStringLiteral("Redo"));
    undo->setShortcut(QKeySequence::Undo);
    // Ctrl+Shift+Z everywhere, besides the platform's own keys; a key listed
    // twice would make the shortcut ambiguous and do nothing.
    QList<QKeySequence> redoKeys = QKeySequence::keyBindings(QKeySequence::Redo);
    const QKeySequence ctrlShiftZ(Qt::CTRL | Qt::SHIFT | Qt::Key_Z);
    if (!redoKeys.contains(ctrlShiftZ))
        redoKeys.prepend(ctrlShiftZ);
    redo->setShortcuts(redoKeys);
    // Also while a settings dialog has the focus: every one edits the same image.
    undo->setShortcutContext(Qt::ApplicationShortcut);
    redo->setShortcutContext(Qt::ApplicationShortcut);
    QAction *first = m_ui->Edit->actions().value(0);
    m_ui->Edit->insertAction(first, undo);
    m_ui->Edit->insertAction(first, redo);
    m_ui->Edit->insertSeparator(first);
    connect(m_history, &ImageHistory::changedStateChanged, this, &frmMain::refreshTitle);
}

void frmMain::recordEdit(const QString &what)
{
    m_history->record(what);
    refreshTitle();
}

void frmMain::recordCommand()
{
    if (!m_commandName.isEmpty())
        m_history->record(m_commandName);
    m_commandName.clear();
    m_history->rebase();
    refreshTitle();
}

void frmMain::showRestoredImage()
{
    imageReplaced(m_state.editor, m_state.document.image);
    m_damping->reload();
    m_todAlarms->reload();
    redraw();
}

void frmMain::connectFileMenu()
{
    connect(m_ui->New, &QAction::triggered, this, [this] {
        whenLineFree([this] { New_Click(); });
    });
    connect(m_ui->Open, &QAction::triggered, this, [this] {
        whenLineFree([this] { Open_Click(); });
    });
    connect(m_ui->Save, &QAction::triggered, this, &frmMain::Save_Click);
    connect(m_ui->SaveAs, &QAction::triggered, this, &frmMain::SaveAs_Click);
    connect(m_ui->Exit, &QAction::triggered, this, [this] {
        whenLineFree([this] { Exit_Click(); });
    });
    connect(m_ui->About, &QAction::triggered, this, &frmMain::About_Click);
    connect(m_ui->SerialTraffic, &QAction::triggered, this, &frmMain::SerialTraffic_Click);
    connect(m_ui->CompareWithOrvane, &QAction::triggered, this, [this] {
        whenLineFree([this] { CompareWithOrvane_Click(); });
    });
    connect(m_ui->CompareFiles, &QAction::triggered, this, &frmMain::CompareFiles_Click);
    connect(m_ui->UnitHistory, &QAction::triggered, this, &frmMain::UnitHistory_Click);
    connect(m_ui->ProductionRecords, &QAction::triggered, this, &frmMain::ProductionRecords_Click);
    // The factory's records are for factory mode only, however it was set.
    connect(m_ui->File, &QMenu::aboutToShow, this, [this] {
        m_ui->ProductionRecords->setVisible(link().FactoryMode);
    });
    m_ui->Open->setShortcut(QKeySequence::Open);
    m_ui->Save->setShortcut(QKeySequence::Save);
}

StartupResult frmMain::startup()
{
    const StartupResult result = runStartup(m_state, m_linkView->link(), m_platform, *this);
    // The factory reset runs start-up again inside its own step.
    if (m_commandName.isEmpty())
        m_history->rebase();
    reportStartup(result);
    refreshTitle();
    return result;
}

void frmMain::usePort(uint8_t port)
{
    m_linkView->link().setComPortNumber(port);
    setCommsPortLabel(commsPortCaption(port));
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
    m_halvero = new frmHalvero(m_platform,
                               m_linkView->link(),
                               m_linkView->connection(),
                               m_state.document,
                               m_state.transfer,
                               m_state.files,
                               this);
    m_halvero->move(twipsPoint(kFactoryWindowLeftTwips, kFactoryWindowTopTwips));
    m_halvero->hide();
    // The factory tools show their progress in the transfers' progress window.
    connect(m_halvero, &frmHalvero::progressShowRequested, m_transfers, [this] {
        m_transfers->showProgress();
    });
    connect(m_halvero, &frmHalvero::progressChanged, m_transfers, [this](int value, int maximum) {
        m_transfers->setProgress(value, maximum);
    });
    connect(m_halvero, &frmHalvero::progressTextChanged, m_transfers, [this](const QString &text) {
        m_transfers->setProgressText(text.toStdString());
    });
    connect(m_halvero, &frmHalvero::progressHideRequested, m_transfers, [this] {
        m_transfers->hideProgress();
    });
    connect(m_halvero, &frmHalvero::connectedCaptionChanged, this, [this](const QString &text) {
        m_linkView->setConnectedCaption(text.toStdString());
    });
    connect(m_halvero, &frmHalvero::imageReplaced, this, [this] { redraw(); });
    // A factory tool may store what it read in the image; that is no step of its own.
    connect(m_halvero, &frmHalvero::toolFinished, this, [this] {
        m_history->rebase();
        refreshTitle();
    });
}

bool frmMain::pickListsFilled()
{
    return m_ui->ComboDisplay1->count() > 1;
}

void frmMain::fillPickLists()
{
    // Each window fills its own lists.
    using Fill = std::function<void(std::string_view, picklists::Items, int)>;
    const std::pair<std::string_view, Fill> windows[] = {
        {"frmDamping", std::bind_front(&frmDamping::fillPickList, m_damping)},
        {"frmSenders", std::bind_front(&frmSenders::fillPickList, m_senders)},
        {"frmMain", std::bind_front(&orvane::fillPickList, std::ref(*this))},
        {"frmNmea", std::bind_front(&frmNmea::fillPickList, m_nmea)},
        {"frmTimeOfDayAlarms", std::bind_front(&frmTimeOfDayAlarms::fillPickList, m_todAlarms)},
    };
    for (const picklists::PickListFill &fill : picklists::kFillOrder) {
        if (fill.kind == picklists::FillKind::GridHeadings) {
            m_senders->setGridHeadings(fill.items, picklists::kSenderGridIndexColumnTwips);
            m_state.editor.CurveInEdit = EditorState::kNoCurve;
            continue;
        }
        for (const auto &[name, fillList] : windows)
            if (name == fill.window)
                fillList(fill.control, fill.items, fill.initialSelection);
    }
}

void frmMain::showIdentity()
{
    // Nothing is identified yet: every read-out shows the serial number's
    // start text ("Unknown").
    const std::string &unknown = link().SerialNumberText;
    m_halvero->showIdentity(unknown, unknown, unknown);
    m_halvero->showChipVersions({unknown, unknown, unknown, unknown});
    m_halvero->showUploadCount(unknown);
}

void frmMain::setDataFrameCaption(const std::string &caption)
{
    m_ui->fraData->setTitle(QString::fromStdString(caption));
}

void frmMain::setCommsPortLabel(const std::string &caption)
{
    m_ui->lblCommsPort->setText(QString::fromStdString(caption));
}

void frmMain::showFirstDampingAndAlarm()
{
    m_damping->showStored(0);
    m_todAlarms->showStored(0);
}

void frmMain::redraw()
{
    m_senders->showStored();
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
    return refuseWhileBusy(m_platform.dialogs, lineBusyMessage(link().lineUser));
}

void frmMain::New_Click()
{
    if (refuseDuringExchange())
        return;
    if (newConfiguration(m_state, m_linkView->link(), m_platform, *this))
        m_history->record(QStringLiteral("New"));
    refreshTitle();
}

void frmMain::Open_Click()
{
    if (refuseDuringExchange())
        return;
    const std::string name = askConfigFileToOpen(m_platform);
    if (!name.empty())
        openFile(name);
}

bool frmMain::openImage(const std::string &name)
{
    if (refuseDuringExchange() || !mayReplaceUnsavedImage(m_state.document, m_platform, name))
        return false;
    if (openConfigFileAt(m_state, m_linkView->link(), m_platform, name) != FileCommandResult::Done)
        return false;
    setCommsPortLabel(commsPortCaption(link().ComPortNumber));
    redraw();
    return true;
}

void frmMain::openFile(const std::string &name)
{
    if (!openImage(name))
        return;
    m_habits->fileOpened(m_platform.files.resolve(m_state.files.WorkingFolder, name));
    const QString path = QString::fromStdString(m_state.files.OpenedFileName);
    m_history->record(QStringLiteral("Open %1").arg(QFileInfo(path).fileName()));
    refreshTitle();
}

void frmMain::Save_Click()
{
    if (saveConfigFile(m_state, m_linkView->link(), m_platform) == FileCommandResult::Done)
        m_history->saved();
    refreshTitle();
}

void frmMain::SaveAs_Click()
{
    saveConfigFileAs(m_state, m_linkView->link(), m_platform);
    // The working file did not take the image, so nothing is clean now; the
    // check bytes written are no step of their own.
    m_history->rebase();
}

void frmMain::Exit_Click()
{
    QuitProgram(m_state, m_linkView->link(), m_platform, *this);
}

void frmMain::About_Click()
{
    if (!m_about)
        m_about = new frmAbout(this);
    m_about->showValues({m_state.files.VersionText,
                         link().SerialNumberText,
                         link().SoftwareVersionText,
                         link().HardwareVersionText,
                         m_state.files.WorkingFolder});
    m_about->show();
    m_about->raise();
}

void frmMain::SerialTraffic_Click()
{
    if (!m_serialTraffic) {
        m_serialTraffic = new frmSerialTraffic(m_platform, this);
        connect(m_serialTraffic, &frmSerialTraffic::tapChanged, this, [this](TrafficTap *tap) {
            m_linkView->link().setTrafficTap(tap);
        });
    }
    m_serialTraffic->show();
    m_serialTraffic->raise();
}

void frmMain::CompareWithOrvane_Click()
{
    Selection everything;
    everything.fill(1);
    const std::optional<DifferenceReport> report
        = compareWithOrvane(m_transfers->transfers(), everything);
    // Connecting stores the upload counter in the image.
    m_history->rebase();
    refreshTitle();
    if (report)
        m_comparison->showReport(QString::fromUtf8(kCompareWithOrvaneTitle),
                                 QString::fromUtf8(kCompareWithOrvaneHeading),
                                 QString::fromUtf8(kCompareWithOrvaneSame),
                                 *report);
}

void frmMain::CompareFiles_Click()
{
    const std::string before
        = m_platform.dialogs.openFileName(kCompareFirstFileTitle, kConfigFileFilter);
    if (before.empty())
        return;
    const std::string after
        = m_platform.dialogs.openFileName(kCompareSecondFileTitle, kConfigFileFilter);
    if (after.empty())
        return;
    const Result<DifferenceReport> report = compareConfigFiles(m_platform, before, after);
    if (!report) {
        m_platform.dialogs.messageBox(report.error(),
                                      kCompareFilesTitle,
                                      MessageIcon::Warning,
                                      MessageButtons::Ok);
        return;
    }
    const QString heading = QStringLiteral("Going from %1 to %2 changes:")
                                .arg(QString::fromStdString(before), QString::fromStdString(after));
    m_comparison->showReport(QString::fromUtf8(kCompareFilesTitle),
                             heading,
                             QString::fromUtf8(kCompareFilesSame),
                             *report);
}

void frmMain::UnitHistory_Click()
{
    if (!m_unitHistory) {
        m_unitHistory = new frmUnitHistory(this);
        connect(m_unitHistory, &frmUnitHistory::openRequested, this, [this] {
            whenLineFree([this] { openUnitCopy_Click(); });
        });
        connect(m_unitHistory, &frmUnitHistory::restoreRequested, this, [this] {
            whenLineFree([this] { restoreUnitCopy_Click(); });
        });
    }
    m_unitHistory->showHistory(listUnitHistory(m_platform.files),
                               unitCopiesFolder(m_platform.files));
}

void frmMain::openUnitCopy_Click()
{
    const std::optional<UnitCopy> copy = m_unitHistory->selectedCopy();
    if (!copy || !openImage(copy->configFile))
        return;
    m_history->record(
        QStringLiteral("Open copy of unit %1 of %2")
            .arg(QString::fromStdString(copy->serial), QString::fromStdString(copy->taken)));
    refreshTitle();
}

void frmMain::restoreUnitCopy_Click()
{
    const std::optional<UnitCopy> copy = m_unitHistory->selectedCopy();
    if (!copy)
        return;
    m_transfers->restoreUnitExactly(*copy);
    // The copy of what the unit held just before is listed too.
    m_unitHistory->showHistory(listUnitHistory(m_platform.files),
                               unitCopiesFolder(m_platform.files));
}

void frmMain::ProductionRecords_Click()
{
    if (!link().FactoryMode)
        return;
    if (!m_productionRecords)
        m_productionRecords = new frmProductionRecords(m_platform, this);
    m_productionRecords->showRecords();
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
    if (watched == m_ui->lblConnected && event->type() == QEvent::MouseButtonRelease)
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
