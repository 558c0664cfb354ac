#include "transfer/ui/frmBeingSentReceived.h"
#include "ui_frmBeingSentReceived.h"

#include "transfer/ui/CategoryTips.h"

#include <QCheckBox>
#include <QCloseEvent>

namespace orvane {

frmBeingSentReceived::frmBeingSentReceived(TransferState &transfer, QWidget *parent)
    : QDialog(parent)
    , m_ui(std::make_unique<Ui::frmBeingSentReceived>())
    , m_transfer(transfer)
{
    m_ui->setupUi(this);
    setModal(false);
    // The two "Adjustable on ..." legends of the right column share one name.
    m_ui->BeingSentNotAdjustable_2->setObjectName(QStringLiteral("BeingSentNotAdjustable"));
    // On the form but never shown or used.
    m_ui->chkSentReceivedAlarmValues->hide();

    for (int i = 0; i < kCategoryCount; ++i) {
        const auto name = QString::fromUtf8(kCategories[size_t(i)].checkBox.data(),
                                            qsizetype(kCategories[size_t(i)].checkBox.size()));
        m_boxes[size_t(i)] = findChild<QCheckBox *>(name);
        Q_ASSERT(m_boxes[size_t(i)]);
        m_boxes[size_t(i)]->setToolTip(categoryTip(kCategories[size_t(i)].category));
    }

    connect(m_ui->cmdfraWarningClearAll, &QPushButton::clicked, this, [this] {
        clearAllBoxes(*this);
    });
    connect(m_ui->cmdfraWarningSetAll, &QPushButton::clicked, this, [this] {
        setAllBoxes(m_transfer, *this);
    });
    connect(m_ui->cmdWarningContinue, &QPushButton::clicked, this, [this] {
        chooseContinue(m_transfer);
    });
    connect(m_ui->cmdWarningCancel, &QPushButton::clicked, this, [this] {
        chooseCancel(m_transfer);
    });
    connect(m_ui->chkForceFullWrite, &QCheckBox::toggled, this, [this](bool ticked) {
        m_transfer.forceFullWrite = ticked;
    });
}

frmBeingSentReceived::~frmBeingSentReceived() = default;

void frmBeingSentReceived::setSelectionCaption(const std::string &caption)
{
    setWindowTitle(QString::fromStdString(caption));
}

void frmBeingSentReceived::setBox(int category, bool enabled, bool ticked)
{
    QCheckBox *b = box(category);
    b->setEnabled(enabled);
    b->setChecked(ticked);
}

void frmBeingSentReceived::setBoxTicked(int category, bool ticked)
{
    box(category)->setChecked(ticked);
}

bool frmBeingSentReceived::boxTicked(int category)
{
    return box(category)->isChecked();
}

void frmBeingSentReceived::showSelection()
{
    // Only an upload writes; a download has nothing to force.
    m_ui->chkForceFullWrite->setVisible(!m_transfer.TransferIsDownload);
    m_ui->chkForceFullWrite->setChecked(m_transfer.forceFullWrite);
    show();
    raise();
    activateWindow();
}

void frmBeingSentReceived::hideSelection()
{
    hide();
}

bool frmBeingSentReceived::selectionVisible()
{
    return isVisible();
}

void frmBeingSentReceived::closeEvent(QCloseEvent *event)
{
    selectionDialogClosed(m_transfer);
    QDialog::closeEvent(event);
}

void frmBeingSentReceived::reject()
{
    selectionDialogClosed(m_transfer);
    QDialog::reject();
}

} // namespace orvane
