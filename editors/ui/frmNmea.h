#pragma once

#include "app/AppState.h"
#include "platform/Platform.h"
#include "ui_frmNmea.h"

#include <QDialog>

namespace orvane {

// Talker, sentence and field of one NMEA input; created once, then shown and hidden.
class frmNmea : public QDialog
{
    Q_OBJECT
public:
    frmNmea(AppState &state, Platform &platform, QWidget *parent = nullptr);

    Ui::frmNmea ui;

private:
    AppState &m_state;
    Platform &m_platform;
};

} // namespace orvane
