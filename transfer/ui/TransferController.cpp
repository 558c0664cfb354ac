#include "transfer/ui/TransferController.h"

#include "transfer/ui/frmBeingSentReceived.h"
#include "transfer/ui/frmProgress.h"

namespace orvane {

TransferController::TransferController(ConfigDocument &document,
                                       TransferState &transfer,
                                       EditorState &editor,
                                       Platform &platform,
                                       ByteLink &link,
                                       Connection &connection,
                                       MainWindowHooks hooks,
                                       QWidget *mainWindow)
    : QObject(mainWindow)
    , m_hooks(std::move(hooks))
    , m_selection(new frmBeingSentReceived(transfer, mainWindow))
    , m_progress(new frmProgress(mainWindow))
    , m_transfers(std::make_unique<Transfers>(document,
                                              transfer,
                                              editor,
                                              platform,
                                              link,
                                              connection,
                                              *this))
{}

TransferController::~TransferController() = default;

void TransferController::finish(const TransferResult &result)
{
    m_lastResult = result;
    emit commandFinished();
}

void TransferController::cmdDownload_Click()
{
    finish(m_transfers->cmdDownload());
}

void TransferController::cmdUpload_Click()
{
    finish(m_transfers->cmdUpload());
}

void TransferController::ResetDefaults_Click()
{
    finish(m_transfers->ResetDefaults());
}

void TransferController::cmdClearConfig_Click()
{
    finish(m_transfers->cmdClearConfig());
}

void TransferController::CreateBackup_Click()
{
    finish(m_transfers->CreateBackup());
}

void TransferController::RestoreBackup_Click()
{
    finish(m_transfers->RestoreBackup());
}

void TransferController::UpdateFirmware_Click()
{
    finish(m_transfers->UpdateFirmware());
}

void TransferController::ReadEverything_Click()
{
    finish(m_transfers->ReadEverything());
}

void TransferController::restoreUnitExactly(const UnitCopy &copy)
{
    finish(m_transfers->RestoreUnitExactly(copy));
}

void TransferController::setSelectionCaption(const std::string &caption)
{
    m_selection->setSelectionCaption(caption);
}

void TransferController::setBox(int category, bool enabled, bool ticked)
{
    m_selection->setBox(category, enabled, ticked);
}

void TransferController::setBoxTicked(int category, bool ticked)
{
    m_selection->setBoxTicked(category, ticked);
}

bool TransferController::boxTicked(int category)
{
    return m_selection->boxTicked(category);
}

void TransferController::showSelection()
{
    m_selection->showSelection();
}

void TransferController::hideSelection()
{
    m_selection->hideSelection();
}

bool TransferController::selectionVisible()
{
    return m_selection->selectionVisible();
}

void TransferController::showProgress()
{
    m_progress->show();
}

void TransferController::setProgress(int value, int maximum)
{
    m_progress->setProgress(value, maximum);
}

void TransferController::setProgressText(const std::string &text)
{
    m_progress->setText(text);
}

void TransferController::hideProgress()
{
    m_progress->hide();
}

void TransferController::setConnectedCaption(const std::string &text)
{
    if (m_hooks.setConnectedCaption)
        m_hooks.setConnectedCaption(text);
}

void TransferController::redraw()
{
    if (m_hooks.redraw)
        m_hooks.redraw();
}

void TransferController::clearDisplayIcons()
{
    if (m_hooks.clearDisplayIcons)
        m_hooks.clearDisplayIcons();
}

void TransferController::rerunStartup()
{
    if (m_hooks.rerunStartup)
        m_hooks.rerunStartup();
}

void TransferController::selectFirstConfiguration()
{
    if (m_hooks.selectFirstConfiguration)
        m_hooks.selectFirstConfiguration();
}

} // namespace orvane
