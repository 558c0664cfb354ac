#pragma once

#include "factory/FactoryExchange.h"
#include "factory/FactoryView.h"

#include <QDialog>

#include <array>
#include <functional>
#include <optional>
#include <string>

namespace Ui {
class frmHalvero;
}

namespace orvane {

// The maker's production and debug window, reached only in factory mode. Each
// button runs one factory tool; the window shows the report, the identity
// read-outs, and forwards what concerns other windows (progress, the
// connection caption, a replaced image) as signals for the main window.
class frmHalvero : public QDialog, private FactoryView
{
    Q_OBJECT
public:
    frmHalvero(Platform &platform,
               ByteLink &link,
               Connection &connection,
               ConfigDocument &document,
               TransferState &transfer,
               const FileState &files,
               QWidget *parent = nullptr);
    ~frmHalvero() override;

    // Identification read-outs, as connecting fills them.
    void showIdentity(const std::string &serialNumber,
                      const std::string &softwareVersion,
                      const std::string &hardwareVersion);
    void showChipVersions(const std::array<std::string, 4> &versions);
    void showProductCode(const std::string &text) override;
    void showUploadCount(const std::string &text);

    // The report box's text, line ends as written (CR LF).
    const std::string &report() const { return m_report; }
    // What the last tool ended with; nothing before the first.
    const std::optional<FactoryResult> &lastResult() const { return m_lastResult; }

signals:
    void progressShowRequested();
    void progressChanged(int value, int maximum);
    void progressTextChanged(const QString &text);
    void progressHideRequested();
    void connectedCaptionChanged(const QString &text);
    // The editor's image was replaced (the new-unit defaults): redraw.
    void imageReplaced();
    // A tool ended (completed, cancelled, refused or failed).
    void toolFinished();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void connectButtons();
    // The station's production database: its setting and the one in use.
    void showProductionDatabase();
    void cmdUseProductionDb_Click();
    void cmdCheckProductionDb_Click();
    void run(const std::function<FactoryResult(FactoryServices &)> &tool);

    // ExchangeView
    void showProgress() override;
    void setProgress(int value, int maximum) override;
    void setProgressText(const std::string &text) override;
    void hideProgress() override;
    void setConnectedCaption(const std::string &text) override;
    // FactoryView
    void setReport(const std::string &text) override;
    void appendReport(const std::string &text) override;
    void imageChanged() override;
    void hideWindow() override;

    Ui::frmHalvero *ui;
    FactoryServices m_services;
    std::string m_report;
    std::optional<FactoryResult> m_lastResult;
};

} // namespace orvane
