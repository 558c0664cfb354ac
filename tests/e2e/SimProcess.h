#pragma once

#include <QElapsedTimer>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

#include <string>

namespace orvane::test {

// orvane-sim as a child process, its pseudo-terminal linked as COMn in a
// fresh folder.
class SimProcess
{
public:
    static constexpr int kWaitMs = 5000;

    ~SimProcess() { stop(); }

    // Starts the simulator with --link for the port number and the extra
    // options; false with the reason when it did not come up.
    // With `logFrames` every frame served goes to its log (see waitForLog).
    bool
    start(int portNumber, const QStringList &options, std::string *error, bool logFrames = false)
    {
        m_process.setProcessChannelMode(QProcess::SeparateChannels);
        QStringList arguments{"--link", linkPath(portNumber)};
        if (!logFrames)
            arguments << "--quiet";
        m_process.start(ORVANE_SIM_PATH, arguments + options);
        if (!m_process.waitForStarted(kWaitMs)) {
            *error = "orvane-sim did not start";
            return false;
        }
        // The first line names the pseudo-terminal once the link exists.
        while (!m_process.canReadLine() && m_process.waitForReadyRead(kWaitMs)) {
        }
        if (!m_process.canReadLine()) {
            *error = m_process.readAllStandardError().toStdString();
            return false;
        }
        m_device = QString::fromUtf8(m_process.readLine()).trimmed().section(' ', 1);
        return true;
    }

    // Ends the simulator, which saves its memories to its state file.
    void stop()
    {
        if (m_process.state() == QProcess::NotRunning)
            return;
        m_process.terminate();
        if (!m_process.waitForFinished(kWaitMs))
            m_process.kill();
        m_process.waitForFinished(kWaitMs);
    }

    // Waits until the simulator's log (its standard error) shows text, and
    // forgets the log up to there; false when it did not come in time.
    bool waitForLog(const QString &text)
    {
        QElapsedTimer waited;
        waited.start();
        while (true) {
            m_log += QString::fromUtf8(m_process.readAllStandardError());
            if (const auto at = m_log.indexOf(text); at >= 0) {
                m_log.remove(0, at + text.size());
                return true;
            }
            const auto left = kWaitMs - waited.elapsed();
            if (left <= 0 || m_process.state() != QProcess::Running)
                return false;
            m_process.setReadChannel(QProcess::StandardError);
            m_process.waitForReadyRead(static_cast<int>(left));
            m_process.setReadChannel(QProcess::StandardOutput);
        }
    }
    const QString &log() const { return m_log; }

    QString folder() const { return m_folder.path(); }
    QString filePath(const QString &name) const { return m_folder.filePath(name); }
    QString linkPath(int portNumber) const
    {
        return filePath(QStringLiteral("COM%1").arg(portNumber));
    }
    const QString &device() const { return m_device; }
    QProcess &process() { return m_process; }

private:
    QTemporaryDir m_folder;
    QProcess m_process;
    QString m_device;
    QString m_log;
};

} // namespace orvane::test
