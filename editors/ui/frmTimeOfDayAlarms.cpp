#include "editors/ui/frmTimeOfDayAlarms.h"

namespace orvane {

frmTimeOfDayAlarms::frmTimeOfDayAlarms(QWidget *parent)
    : QDialog(parent)
{
    ui.setupUi(this);
}

} // namespace orvane
