#pragma once

#include "ui_frmNmea.h"

#include <QDialog>

namespace orvane {

// Talker, sentence and field of one NMEA input; created once, then shown and hidden.
class frmNmea : public QDialog
{
    Q_OBJECT
public:
    explicit frmNmea(QWidget *parent = nullptr);

    Ui::frmNmea ui;
};

} // namespace orvane
