#include "editors/ui/frmTimeOfDayAlarms.h"
#include "ui_frmTimeOfDayAlarms.h"

#include "editors/ui/ImageEdit.h"
#include "editors/ui/PickList.h"

namespace orvane {

frmTimeOfDayAlarms::frmTimeOfDayAlarms(ConfigDocument &document, QWidget *parent)
    : QDialog(parent)
    , m_ui(std::make_unique<Ui::frmTimeOfDayAlarms>())
    , m_document(document)
{
    m_ui->setupUi(this);
    // activated also fires when the selected alarm is picked again, which
    // replaces an out-of-range text by what was stored.
    connect(m_ui->cboTodAlarms,
            &QComboBox::activated,
            this,
            &frmTimeOfDayAlarms::cboTodAlarms_Click);
    connect(m_ui->cboTodAlarms,
            &QComboBox::currentIndexChanged,
            this,
            &frmTimeOfDayAlarms::cboTodAlarms_Click);
    connect(m_ui->txtTodHours, &QLineEdit::textEdited, this, [this](const QString &text) {
        typed(TodField::Hours, text);
    });
    connect(m_ui->txtTodMinutes, &QLineEdit::textEdited, this, [this](const QString &text) {
        typed(TodField::Minutes, text);
    });
    connect(m_ui->cmdExitDamping, &QPushButton::clicked, this, &QDialog::hide);
}

frmTimeOfDayAlarms::~frmTimeOfDayAlarms() = default;

void frmTimeOfDayAlarms::showStored(int position)
{
    m_ui->cboTodAlarms->setCurrentIndex(position);
    cboTodAlarms_Click();
}

void frmTimeOfDayAlarms::reload()
{
    cboTodAlarms_Click();
}

void frmTimeOfDayAlarms::fillPickList(std::string_view list,
                                      std::span<const std::string_view> items,
                                      int initialSelection)
{
    orvane::fillPickList(*this, list, items, initialSelection);
}

void frmTimeOfDayAlarms::showEvent(QShowEvent *event)
{
    // The image may have been reloaded while the dialog was hidden.
    cboTodAlarms_Click();
    QDialog::showEvent(event);
}

void frmTimeOfDayAlarms::cboTodAlarms_Click()
{
    const TodAlarmText text = todAlarmText(m_document.image, m_ui->cboTodAlarms->currentIndex());
    m_ui->txtTodHours->setText(QString::fromStdString(text.hours));
    m_ui->txtTodMinutes->setText(QString::fromStdString(text.minutes));
}

void frmTimeOfDayAlarms::typed(TodField field, const QString &text)
{
    // The text stays as typed; the list shows the stored time when the alarm
    // is picked again.
    const ImageEdit edit(m_document);
    const int position = m_ui->cboTodAlarms->currentIndex();
    typeTodAlarm(m_document, position, field, text.toStdString());
    if (edit.changedImage())
        emit imageEdited(QStringLiteral("Time of day alarm %1").arg(position + 1));
}

} // namespace orvane
