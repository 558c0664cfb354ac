#pragma once

#include "ui_frmSenders.h"

#include <QDialog>

namespace orvane {

// Sender types and the user curve grid; created once, then shown and hidden.
class frmSenders : public QDialog
{
    Q_OBJECT
public:
    explicit frmSenders(QWidget *parent = nullptr);

    Ui::frmSenders ui;
};

} // namespace orvane
