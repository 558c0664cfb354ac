#pragma once

#include "app/AppState.h"
#include "platform/Platform.h"
#include "ui_frmTimeOfDayAlarms.h"

#include <QDialog>

namespace orvane {

// The eight time-of-day alarms; created once, then shown and hidden.
class frmTimeOfDayAlarms : public QDialog
{
    Q_OBJECT
public:
    frmTimeOfDayAlarms(AppState &state, Platform &platform, QWidget *parent = nullptr);

    Ui::frmTimeOfDayAlarms ui;

private:
    AppState &m_state;
    Platform &m_platform;
};

} // namespace orvane
