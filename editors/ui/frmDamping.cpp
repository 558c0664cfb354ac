#include "editors/ui/frmDamping.h"

namespace orvane {

frmDamping::frmDamping(AppState &state, Platform &platform, QWidget *parent)
    : QDialog(parent)
    , m_state(state)
    , m_platform(platform)
{
    ui.setupUi(this);
}

} // namespace orvane
