#include "transfer/ui/frmProgress.h"
#include "ui_frmProgress.h"

namespace orvane {

frmProgress::frmProgress(QWidget *parent)
    : QDialog(parent)
    , m_ui(std::make_unique<Ui::frmProgress>())
{
    m_ui->setupUi(this);
    setModal(false);
}

frmProgress::~frmProgress() = default;

void frmProgress::setProgress(int value, int maximum)
{
    m_ui->ProgressBar1->setRange(0, maximum);
    m_ui->ProgressBar1->setValue(value);
}

void frmProgress::setText(const std::string &text)
{
    m_ui->lblProgress->setText(QString::fromStdString(text));
}

} // namespace orvane
