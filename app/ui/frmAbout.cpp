#include "app/ui/frmAbout.h"

namespace orvane {

frmAbout::frmAbout(QWidget *parent)
    : QDialog(parent)
{
    ui.setupUi(this);
}

} // namespace orvane
