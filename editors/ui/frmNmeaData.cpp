#include "editors/ui/frmNmeaData.h"
#include "ui_frmNmeaData.h"

#include <QFontDatabase>
#include <QScrollBar>

#include <utility>

namespace orvane {

frmNmeaData::frmNmeaData(EditorState &editor, Platform &platform, QWidget *parent)
    : QDialog(parent)
    , m_ui(std::make_unique<Ui::frmNmeaData>())
    , m_live(editor, platform, *this)
{
    m_ui->setupUi(this);
    // Sentences line up field by field in a fixed-width font.
    m_ui->txtNmeaData->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    connect(m_ui->cmdNmeaDataFreeze, &QPushButton::clicked, this, [this] { m_live.Pause(); });
    connect(m_ui->cmdNmeaDataResume, &QPushButton::clicked, this, [this] { m_live.Resume(); });
    connect(m_ui->cmdNmeaDataCancel, &QPushButton::clicked, this, [this] { m_live.Cancel(); });
}

frmNmeaData::~frmNmeaData() = default;

void frmNmeaData::ViewData()
{
    if (!m_line && m_lineFactory)
        m_line = m_lineFactory();
    if (!m_line)
        return; // not wired to a link: nothing to show
    m_live.ViewData(*m_line);
    if (m_live.running())
        return; // a nested click handed its channel to the running loop
    if (auto next = std::exchange(m_afterStop, nullptr))
        next();
}

void frmNmeaData::stopThen(std::function<void()> next)
{
    if (!m_live.running()) {
        next();
        return;
    }
    m_afterStop = std::move(next);
    m_live.Cancel();
}

void frmNmeaData::setCaption(const std::string &caption)
{
    setWindowTitle(QString::fromStdString(caption));
}

void frmNmeaData::showWindow()
{
    show();
    raise();
}

void frmNmeaData::hideWindow()
{
    hide();
}

bool frmNmeaData::windowShown() const
{
    return isVisible();
}

void frmNmeaData::showText(const std::string &text)
{
    // Sentences end in CR LF; the box breaks lines at LF alone.
    QString shown = QString::fromLatin1(text.data(), qsizetype(text.size()));
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    m_ui->txtNmeaData->setPlainText(shown);
    QScrollBar *bar = m_ui->txtNmeaData->verticalScrollBar();
    bar->setValue(bar->maximum());
}

} // namespace orvane
