#pragma once

#include "ui_frmTimeOfDayAlarms.h"

#include <QDialog>

namespace orvane {

// The eight time-of-day alarms; created once, then shown and hidden.
class frmTimeOfDayAlarms : public QDialog
{
    Q_OBJECT
public:
    explicit frmTimeOfDayAlarms(QWidget *parent = nullptr);

    Ui::frmTimeOfDayAlarms ui;
};

} // namespace orvane
