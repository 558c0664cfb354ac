#pragma once

#include "ui_frmDamping.h"

#include <QDialog>

namespace orvane {

// Damping of nine displayed quantities; created once, then shown and hidden.
class frmDamping : public QDialog
{
    Q_OBJECT
public:
    explicit frmDamping(QWidget *parent = nullptr);

    Ui::frmDamping ui;
};

} // namespace orvane
