#include "editors/ui/frmTimeOfDayAlarms.h"

#include "app/ui/frmMain.h"

namespace orvane {

frmTimeOfDayAlarms::frmTimeOfDayAlarms(AppState &state, Platform &platform, QWidget *parent)
    : QDialog(parent)
    , m_state(state)
    , m_platform(platform)
{
    ui.setupUi(this);
    // activated also fires when the selected alarm is picked again, which
    // replaces an out-of-range text by what was stored.
    connect(ui.cboTodAlarms, &QComboBox::activated, this, &frmTimeOfDayAlarms::cboTodAlarms_Click);
    connect(ui.cboTodAlarms,
            &QComboBox::currentIndexChanged,
            this,
            &frmTimeOfDayAlarms::cboTodAlarms_Click);
    connect(ui.txtTodHours, &QLineEdit::textEdited, this, [this](const QString &text) {
        typed(TodField::Hours, text);
    });
    connect(ui.txtTodMinutes, &QLineEdit::textEdited, this, [this](const QString &text) {
        typed(TodField::Minutes, text);
    });
    connect(ui.cmdExitDamping, &QPushButton::clicked, this, &QDialog::hide);
}

void frmTimeOfDayAlarms::showEvent(QShowEvent *event)
{
    // The image may have been reloaded while the dialog was hidden.
    cboTodAlarms_Click();
    QDialog::showEvent(event);
}

void frmTimeOfDayAlarms::cboTodAlarms_Click()
{
    const TodAlarmText text = todAlarmText(m_state.document.image, ui.cboTodAlarms->currentIndex());
    ui.txtTodHours->setText(QString::fromStdString(text.hours));
    ui.txtTodMinutes->setText(QString::fromStdString(text.minutes));
}

void frmTimeOfDayAlarms::typed(TodField field, const QString &text)
{
    // The text stays as typed; the list shows the stored time when the alarm
    // is picked again.
    typeTodAlarm(m_state.document, ui.cboTodAlarms->currentIndex(), field, text.toStdString());
    if (auto *main = qobject_cast<frmMain *>(parentWidget()))
        main->refreshTitle();
}

} // namespace orvane
