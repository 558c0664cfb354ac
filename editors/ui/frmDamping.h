#pragma once

#include "app/AppState.h"
#include "platform/Platform.h"
#include "ui_frmDamping.h"

#include <QDialog>

namespace orvane {

// Damping of nine displayed quantities; created once, then shown and hidden.
class frmDamping : public QDialog
{
    Q_OBJECT
public:
    frmDamping(AppState &state, Platform &platform, QWidget *parent = nullptr);

    Ui::frmDamping ui;

private:
    AppState &m_state;
    Platform &m_platform;
};

} // namespace orvane
