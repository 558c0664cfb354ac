#include "editors/ui/frmDamping.h"
#include "ui_frmDamping.h"

#include "editors/DampingAndAlarms.h"
#include "editors/ui/ImageEdit.h"
#include "editors/ui/PickList.h"

#include <algorithm>

namespace orvane {

frmDamping::frmDamping(ConfigDocument &document, QWidget *parent)
    : QDialog(parent)
    , m_ui(std::make_unique<Ui::frmDamping>())
    , m_document(document)
{
    m_ui->setupUi(this);
    // activated also fires when the selected item is picked again.
    connect(m_ui->cboDamping, &QComboBox::activated, this, &frmDamping::cboDamping_Click);
    connect(m_ui->cboDamping, &QComboBox::currentIndexChanged, this, &frmDamping::cboDamping_Click);
    // textEdited: the user's edits only, not the value shown from the image.
    connect(m_ui->txtDampingValue,
            &QLineEdit::textEdited,
            this,
            &frmDamping::txtDampingValue_Change);
    connect(m_ui->txtDampingValue, &QLineEdit::editingFinished, this, &frmDamping::showStoredValue);
    connect(m_ui->cmdExitDamping, &QPushButton::clicked, this, &QDialog::hide);
}

frmDamping::~frmDamping() = default;

void frmDamping::showStored(int position)
{
    m_ui->cboDamping->setCurrentIndex(position);
    showStoredValue();
}

void frmDamping::reload()
{
    showStoredValue();
}

void frmDamping::fillPickList(std::string_view list,
                              std::span<const std::string_view> items,
                              int initialSelection)
{
    orvane::fillPickList(*this, list, items, initialSelection);
}

void frmDamping::showEvent(QShowEvent *event)
{
    // The image may have been reloaded while the dialog was hidden.
    cboDamping_Click();
    QDialog::showEvent(event);
}

void frmDamping::cboDamping_Click()
{
    showStoredValue();
}

void frmDamping::showStoredValue()
{
    const int position = m_ui->cboDamping->currentIndex();
    m_ui->txtDampingValue->setText(QString::number(dampingValue(m_document.image, position)));
}

void frmDamping::txtDampingValue_Change(const QString &text)
{
    const ImageEdit edit(m_document);
    const uint8_t stored
        = typeDampingValue(m_document, m_ui->cboDamping->currentIndex(), text.toStdString());
    if (edit.changedImage())
        emit imageEdited(QStringLiteral("Damping"));

    // An emptied box stays empty while the user types its new value (0 is
    // stored meanwhile); leaving the box shows the stored value.
    if (text.isEmpty())
        return;
    const QString shown = QString::number(stored);
    if (text == shown)
        return;
    // Keep the caret where it was, counted from the end, so typing goes on
    // where it was going.
    QLineEdit *box = m_ui->txtDampingValue;
    const qsizetype fromEnd = text.size() - box->cursorPosition();
    box->setText(shown);
    box->setCursorPosition(int(std::max<qsizetype>(0, shown.size() - fromEnd)));
}

} // namespace orvane
