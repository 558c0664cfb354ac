#include "editors/ui/frmSenders.h"

namespace orvane {

frmSenders::frmSenders(AppState &state, Platform &platform, QWidget *parent)
    : QDialog(parent)
    , m_state(state)
    , m_platform(platform)
{
    ui.setupUi(this);
}

} // namespace orvane
