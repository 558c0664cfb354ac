#include "app/ui/frmAbout.h"
#include "ui_frmAbout.h"

namespace orvane {

frmAbout::frmAbout(QWidget *parent)
    : QDialog(parent)
    , m_ui(std::make_unique<Ui::frmAbout>())
{
    m_ui->setupUi(this);
    connect(m_ui->cmdAboutOk, &QPushButton::clicked, this, &QDialog::hide);
}

frmAbout::~frmAbout() = default;

void frmAbout::showValues(const Values &values)
{
    m_ui->txtPcSoftwareVer->setText(QString::fromStdString(values.pcSoftwareVersion));
    m_ui->txtOrvaneSN->setText(QString::fromStdString(values.serialNumber));
    m_ui->txtOrvaneSwVer->setText(QString::fromStdString(values.softwareVersion));
    m_ui->txtOrvaneHwVer->setText(QString::fromStdString(values.hardwareVersion));
    m_ui->lblWorkingFolder->setText(
        tr("Working file folder: %1").arg(QString::fromStdString(values.workingFolder)));
}

} // namespace orvane
