#include "factory/ui/frmHalvero.h"

namespace orvane {

frmHalvero::frmHalvero(QWidget *parent)
    : QDialog(parent)
{
    ui.setupUi(this);
}

} // namespace orvane
