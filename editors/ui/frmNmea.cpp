#include "editors/ui/frmNmea.h"

#include "app/ui/frmMain.h"
#include "editors/NmeaSelection.h"
#include "editors/ui/frmNmeaData.h"

namespace orvane {

frmNmea::frmNmea(AppState &state, Platform &platform, QWidget *parent)
    : QDialog(parent)
    , m_state(state)
    , m_platform(platform)
{
    ui.setupUi(this);
    // A sibling window of the main window, so that closing the main window's
    // windows on exit closes it too and ends its loop.
    m_data = new frmNmeaData(state, platform, parent ? parent : this);
    connect(ui.cmdNmeaAccept, &QPushButton::clicked, this, &frmNmea::cmdNmeaAccept_Click);
    connect(ui.cmdNmeaCancel, &QPushButton::clicked, this, &frmNmea::cmdNmeaCancel_Click);
    connect(ui.cmdNmeaViewData, &QPushButton::clicked, m_data, &frmNmeaData::ViewData);
}

void frmNmea::cmdNmeaAccept_Click()
{
    AcceptNmeaChoices(m_state.document,
                      m_state.editor,
                      {ui.cmbNmeaTalker->currentIndex(),
                       ui.cmbNmeaID->currentIndex(),
                       ui.cmdNmeaCommas->currentIndex()});
    hide();
    m_data->hide();
    if (auto *main = qobject_cast<frmMain *>(parentWidget()))
        main->refreshTitle();
}

void frmNmea::cmdNmeaCancel_Click()
{
    hide();
    m_data->hide();
}

} // namespace orvane
