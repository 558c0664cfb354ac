#pragma once

#include "link/TrafficLog.h"
#include "platform/Platform.h"

#include <QWidget>

#include <memory>

class QTimer;

namespace Ui {
class frmSerialTraffic;
}

namespace orvane {

// "Serial Traffic": the bytes on the line as they pass, one frame or run per
// line. The log is attached to the link only while the window is open and
// not paused, so a closed window costs nothing; new lines are shown a few
// times a second, not byte by byte. The window asks for the tap by a signal;
// whoever owns the link attaches it.
class frmSerialTraffic : public QWidget
{
    Q_OBJECT
public:
    explicit frmSerialTraffic(Platform &platform, QWidget *parent = nullptr);
    ~frmSerialTraffic() override;

    static constexpr int kRefreshMs = 250;

    const TrafficLog &log() const { return m_log; }

signals:
    // The tap to attach to the link: the log, or none while closed or paused.
    void tapChanged(orvane::TrafficTap *tap);

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void cmdPause_Click(bool paused);
    void cmdClear_Click();
    void cmdSave_Click();
    // Appends the lines logged since the last refresh.
    void refresh();
    void attach(bool on);

    std::unique_ptr<Ui::frmSerialTraffic> m_ui;
    Platform &m_platform;
    TrafficLog m_log;
    QTimer *m_refresh;
    // How many of the log's entries (dropped ones included) are shown, and
    // the size the last of them had then.
    size_t m_shown = 0;
    size_t m_lastSize = 0;
};

} // namespace orvane
