#pragma once

#include "app/AppState.h"
#include "platform/Platform.h"
#include "ui_frmSenders.h"

#include <QDialog>

namespace orvane {

// Sender types and the user curve grid; created once, then shown and hidden.
class frmSenders : public QDialog
{
    Q_OBJECT
public:
    frmSenders(AppState &state, Platform &platform, QWidget *parent = nullptr);

    Ui::frmSenders ui;

private:
    AppState &m_state;
    Platform &m_platform;
};

} // namespace orvane
