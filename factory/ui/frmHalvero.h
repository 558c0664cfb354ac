#pragma once

#include "ui_frmHalvero.h"

#include <QDialog>

namespace orvane {

// The maker's production and debug window, reached only in factory mode.
class frmHalvero : public QDialog
{
    Q_OBJECT
public:
    explicit frmHalvero(QWidget *parent = nullptr);

    Ui::frmHalvero ui;
};

} // namespace orvane
