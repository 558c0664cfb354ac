#include "editors/ui/frmNmea.h"

namespace orvane {

frmNmea::frmNmea(AppState &state, Platform &platform, QWidget *parent)
    : QDialog(parent)
    , m_state(state)
    , m_platform(platform)
{
    ui.setupUi(this);
}

} // namespace orvane
