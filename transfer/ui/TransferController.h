#pragma once

#include "config/ConfigDocument.h"
#include "editors/EditorState.h"
#include "link/ByteLink.h"
#include "link/Connection.h"
#include "platform/Platform.h"
#include "transfer/TransferState.h"
#include "transfer/TransferView.h"
#include "transfer/Transfers.h"

#include <QObject>

#include <functional>
#include <memory>
#include <optional>
#include <string>

class QWidget;

namespace orvane {

class frmBeingSentReceived;
class frmProgress;

// The parts of the main window that the transfers redraw or re-run.
struct MainWindowHooks
{
    std::function<void(const std::string &)> setConnectedCaption; // lblConnected
    std::function<void()> redraw;                   // UpdateInstrumentDisplay + ShowAlarmAndLimits
    std::function<void()> clearDisplayIcons;        // ClearDisplayIcons on the panel
    std::function<void()> rerunStartup;             // the main window's start-up sequence
    std::function<void()> selectFirstConfiguration; // CmdConf1(0) focus and captions of #1
};

// Owns the selection dialog and the progress window and runs the transfer and
// maintenance commands for the main window, whose buttons and menu items
// connect to the slots below.
class TransferController : public QObject, public TransferView
{
    Q_OBJECT
public:
    TransferController(ConfigDocument &document,
                       TransferState &transfer,
                       EditorState &editor,
                       Platform &platform,
                       ByteLink &link,
                       Connection &connection,
                       MainWindowHooks hooks,
                       QWidget *mainWindow);
    ~TransferController() override;

    frmBeingSentReceived *selectionWindow() const { return m_selection; }
    frmProgress *progressWindow() const { return m_progress; }
    Transfers &transfers() { return *m_transfers; }
    // What the last command ended with; nothing before the first.
    const std::optional<TransferResult> &lastResult() const { return m_lastResult; }

public slots:
    void cmdDownload_Click();    // "Download Display Configurations From Orvane"
    void cmdUpload_Click();      // "Upload Display Configurations To Orvane"
    void ResetDefaults_Click();  // "Reset to Factory Defaults"
    void cmdClearConfig_Click(); // "Clear Configuration #"
    void CreateBackup_Click();   // "Create System Backup"
    void RestoreBackup_Click();  // "Restore All from Backup"
    void UpdateFirmware_Click(); // "&Update Orvane Firmware"
    void ReadEverything_Click(); // "Read Everything from Orvane"
    // Unit History's "Restore This Unit Exactly…" for the copy chosen there.
    void restoreUnitExactly(const UnitCopy &copy);

signals:
    // A command ended (completed, cancelled, refused or failed).
    void commandFinished();

public:
    // TransferView
    void setSelectionCaption(const std::string &caption) override;
    void setBox(int category, bool enabled, bool ticked) override;
    void setBoxTicked(int category, bool ticked) override;
    bool boxTicked(int category) override;
    void showSelection() override;
    void hideSelection() override;
    bool selectionVisible() override;
    void redraw() override;
    void clearDisplayIcons() override;
    void rerunStartup() override;
    void selectFirstConfiguration() override;
    // ExchangeView
    void showProgress() override;
    void setProgress(int value, int maximum) override;
    void setProgressText(const std::string &text) override;
    void hideProgress() override;
    void setConnectedCaption(const std::string &text) override;

private:
    void finish(const TransferResult &result);

    MainWindowHooks m_hooks;
    frmBeingSentReceived *m_selection = nullptr;
    frmProgress *m_progress = nullptr;
    std::unique_ptr<Transfers> m_transfers;
    std::optional<TransferResult> m_lastResult;
};

} // namespace orvane
