#include "editors/ui/frmDamping.h"

#include "app/ui/frmMain.h"
#include "editors/DampingAndAlarms.h"

#include <algorithm>

namespace orvane {

frmDamping::frmDamping(AppState &state, Platform &platform, QWidget *parent)
    : QDialog(parent)
    , m_state(state)
    , m_platform(platform)
{
    ui.setupUi(this);
    // activated also fires when the selected item is picked again.
    connect(ui.cboDamping, &QComboBox::activated, this, &frmDamping::cboDamping_Click);
    connect(ui.cboDamping, &QComboBox::currentIndexChanged, this, &frmDamping::cboDamping_Click);
    // textEdited: the user's edits only, not the value shown from the image.
    connect(ui.txtDampingValue, &QLineEdit::textEdited, this, &frmDamping::txtDampingValue_Change);
    connect(ui.txtDampingValue, &QLineEdit::editingFinished, this, &frmDamping::showStoredValue);
    connect(ui.cmdExitDamping, &QPushButton::clicked, this, &QDialog::hide);
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
    const int position = ui.cboDamping->currentIndex();
    ui.txtDampingValue->setText(QString::number(dampingValue(m_state.document.image, position)));
}

void frmDamping::txtDampingValue_Change(const QString &text)
{
    const uint8_t stored
        = typeDampingValue(m_state.document, ui.cboDamping->currentIndex(), text.toStdString());
    if (auto *main = qobject_cast<frmMain *>(parentWidget()))
        main->refreshTitle();

    // An emptied box stays empty while the user types its new value (0 is
    // stored meanwhile); leaving the box shows the stored value.
    if (text.isEmpty())
        return;
    const QString shown = QString::number(stored);
    if (text == shown)
        return;
    // Keep the caret where it was, counted from the end, so typing goes on
    // where it was going.
    QLineEdit *box = ui.txtDampingValue;
    const qsizetype fromEnd = text.size() - box->cursorPosition();
    box->setText(shown);
    box->setCursorPosition(int(std::max<qsizetype>(0, shown.size() - fromEnd)));
}

} // namespace orvane
