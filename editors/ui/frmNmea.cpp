#include "editors/ui/frmNmea.h"

namespace orvane {

frmNmea::frmNmea(QWidget *parent)
    : QDialog(parent)
{
    ui.setupUi(this);
}

} // namespace orvane
