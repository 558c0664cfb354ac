#include "editors/ui/frmSenders.h"

namespace orvane {

frmSenders::frmSenders(QWidget *parent)
    : QDialog(parent)
{
    ui.setupUi(this);
}

} // namespace orvane
