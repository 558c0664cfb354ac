#include "link/ui/frmSerialTraffic.h"

#include "ui_frmSerialTraffic.h"

#include <QCloseEvent>
#include <QTextCursor>
#include <QTimer>

namespace orvane {

namespace {
constexpr const char *kSaveTitle = "Save Serial Traffic";
constexpr const char *kTextFilter = "Text Files (*.txt)| *.txt";
constexpr const char *kNotSavedTitle = "Serial Traffic Not Saved";
} // namespace

frmSerialTraffic::frmSerialTraffic(Platform &platform, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_ui(std::make_unique<Ui::frmSerialTraffic>())
    , m_platform(platform)
    , m_refresh(new QTimer(this))
{
    m_ui->setupUi(this);
    m_ui->lblHeading->setText(QString::fromStdString(trafficHeading()));
    // The text is kept in bounds: the oldest lines go first.
    m_ui->txtTraffic->setMaximumBlockCount(int(TrafficLog::kMaxEntries));
    m_refresh->setInterval(kRefreshMs);
    connect(m_refresh, &QTimer::timeout, this, &frmSerialTraffic::refresh);
    connect(m_ui->cmdPause, &QPushButton::toggled, this, &frmSerialTraffic::cmdPause_Click);
    connect(m_ui->cmdClear, &QPushButton::clicked, this, &frmSerialTraffic::cmdClear_Click);
    connect(m_ui->cmdSave, &QPushButton::clicked, this, &frmSerialTraffic::cmdSave_Click);
}

frmSerialTraffic::~frmSerialTraffic() = default;

void frmSerialTraffic::attach(bool on)
{
    emit tapChanged(on ? &m_log : nullptr);
    if (on)
        m_refresh->start();
    else
        m_refresh->stop();
}

void frmSerialTraffic::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    attach(!m_ui->cmdPause->isChecked());
}

void frmSerialTraffic::closeEvent(QCloseEvent *event)
{
    refresh();
    attach(false);
    event->accept();
}

void frmSerialTraffic::cmdPause_Click(bool paused)
{
    refresh();
    attach(!paused && isVisible());
}

void frmSerialTraffic::cmdClear_Click()
{
    m_log.clear();
    m_shown = 0;
    m_lastSize = 0;
    m_ui->txtTraffic->clear();
}

void frmSerialTraffic::cmdSave_Click()
{
    refresh();
    const std::string path = m_platform.dialogs.saveFileName(kSaveTitle, kTextFilter);
    if (path.empty())
        return;
    const Result<> saved = m_platform.files.writeFileAtomically(
        path,
        trafficText(m_log, m_platform.clock.localDateTime()));
    if (!saved)
        m_platform.dialogs.messageBox(path + " could not be written: " + saved.error(),
                                      kNotSavedTitle,
                                      MessageIcon::Warning,
                                      MessageButtons::Ok);
}

void frmSerialTraffic::refresh()
{
    const auto &entries = m_log.entries();
    const size_t dropped = m_log.dropped();
    size_t first = m_shown > dropped ? m_shown - dropped : 0;
    // The last line shown may have grown since: it is shown again.
    if (first > 0 && first <= entries.size() && entries[first - 1].bytes.size() != m_lastSize) {
        QPlainTextEdit &box = *m_ui->txtTraffic;
        if (box.document()->blockCount() <= 1) {
            box.clear();
        } else {
            QTextCursor cursor(box.document());
            cursor.movePosition(QTextCursor::End);
            cursor.select(QTextCursor::BlockUnderCursor);
            cursor.removeSelectedText();
        }
        --first;
    }
    if (first >= entries.size())
        return;
    QString text;
    for (size_t i = first; i < entries.size(); ++i) {
        if (i > first)
            text += '\n';
        text += QString::fromStdString(trafficLine(entries[i]));
    }
    m_ui->txtTraffic->appendPlainText(text);
    m_shown = dropped + entries.size();
    m_lastSize = entries.back().bytes.size();
}

} // namespace orvane
