#include "transfer/ui/frmProgress.h"

namespace orvane {

frmProgress::frmProgress(QWidget *parent)
    : QDialog(parent)
{
    ui.setupUi(this);
    setModal(false);
}

void frmProgress::setProgress(int value, int maximum)
{
    ui.ProgressBar1->setRange(0, maximum);
    ui.ProgressBar1->setValue(value);
}

void frmProgress::setText(const std::string &text)
{
    ui.lblProgress->setText(QString::fromStdString(text));
}

} // namespace orvane
