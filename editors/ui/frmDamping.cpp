#include "editors/ui/frmDamping.h"

namespace orvane {

frmDamping::frmDamping(QWidget *parent)
    : QDialog(parent)
{
    ui.setupUi(this);
}

} // namespace orvane
