#include "editors/ui/frmTimeOfDayAlarms.h"

namespace orvane {

frmTimeOfDayAlarms::frmTimeOfDayAlarms(AppState &state, Platform &platform, QWidget *parent)
    : QDialog(parent)
    , m_state(state)
    , m_platform(platform)
{
    ui.setupUi(this);
}

} // namespace orvane
