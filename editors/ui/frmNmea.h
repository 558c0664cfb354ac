#pragma once

#include "app/AppState.h"
#include "platform/Platform.h"
#include "ui_frmNmea.h"

#include <QDialog>

namespace orvane {

class frmNmeaData;

// Talker, sentence and field of one NMEA input; created once, then shown and
// hidden. Owns the live data window that shows what the input hears.
class frmNmea : public QDialog
{
    Q_OBJECT
public:
    frmNmea(AppState &state, Platform &platform, QWidget *parent = nullptr);

    frmNmeaData *dataWindow() const { return m_data; }

    Ui::frmNmea ui;

private:
    void cmdNmeaAccept_Click();
    void cmdNmeaCancel_Click();

    AppState &m_state;
    Platform &m_platform;
    frmNmeaData *m_data = nullptr;
};

} // namespace orvane
