#include "app/ui/frmComparison.h"
#include "ui_frmComparison.h"

#include <QPushButton>
#include <QTreeWidgetItem>

namespace orvane {

frmComparison::frmComparison(QWidget *parent)
    : QDialog(parent)
    , m_ui(std::make_unique<Ui::frmComparison>())
{
    m_ui->setupUi(this);
    connect(m_ui->cmdUpload, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_ui->cmdUploadAnyway, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_ui->cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_ui->cmdClose, &QPushButton::clicked, this, &QDialog::reject);
}

frmComparison::~frmComparison() = default;

bool frmComparison::confirmUpload(const Comparison &comparison)
{
    return confirmWrite(kUploadReviewTitle, kUploadChangesHeading, "Upload", comparison);
}

bool frmComparison::confirmRestore(const Comparison &comparison)
{
    return confirmWrite(kRestoreExactlyTitle, kRestoreChangesHeading, "Restore", comparison);
}

bool frmComparison::confirmWrite(const char *title,
                                 const char *heading,
                                 const char *write,
                                 const Comparison &comparison)
{
    setWindowTitle(QString::fromUtf8(title));
    fill(QString::fromUtf8(heading), describeDifferences(comparison));
    m_ui->cmdUpload->setText(QString::fromUtf8(write));
    showButtons(Buttons::UploadOrCancel);
    // Cancel is the default: Enter alone must not write to the instrument.
    m_ui->cmdCancel->setFocus();
    return exec() == QDialog::Accepted;
}

bool frmComparison::uploadUnchanged()
{
    setWindowTitle(QString::fromUtf8(kUploadReviewTitle));
    fill(QString::fromUtf8(kUploadUnchangedHeading), {});
    showButtons(Buttons::UploadAnywayOrCancel);
    m_ui->cmdCancel->setFocus();
    return exec() == QDialog::Accepted;
}

void frmComparison::showReport(const QString &title,
                               const QString &heading,
                               const QString &sameText,
                               const DifferenceReport &report)
{
    setWindowTitle(title);
    fill(report.empty() ? sameText : heading, report);
    showButtons(Buttons::Close);
    show();
    raise();
    activateWindow();
}

void frmComparison::fill(const QString &heading, const DifferenceReport &report)
{
    m_ui->lblComparison->setText(heading);
    QTreeWidget *tree = m_ui->treDifferences;
    tree->clear();
    for (const DifferenceGroup &group : report) {
        auto *category = new QTreeWidgetItem(tree, {QString::fromStdString(group.title)});
        QFont bold = category->font(0);
        bold.setBold(true);
        category->setFont(0, bold);
        for (const std::string &line : group.lines)
            new QTreeWidgetItem(category, {QString::fromStdString(line)});
    }
    tree->expandAll();
    tree->setVisible(!report.empty());
}

void frmComparison::showButtons(Buttons buttons)
{
    m_ui->cmdUpload->setVisible(buttons == Buttons::UploadOrCancel);
    m_ui->cmdUploadAnyway->setVisible(buttons == Buttons::UploadAnywayOrCancel);
    m_ui->cmdCancel->setVisible(buttons != Buttons::Close);
    m_ui->cmdClose->setVisible(buttons == Buttons::Close);
}

} // namespace orvane
