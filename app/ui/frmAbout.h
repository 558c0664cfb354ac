#pragma once

#include "ui_frmAbout.h"

#include <QDialog>

namespace orvane {

// Program and instrument versions, and the folder the working file lives in.
class frmAbout : public QDialog
{
    Q_OBJECT
public:
    explicit frmAbout(QWidget *parent = nullptr);

    Ui::frmAbout ui;
};

} // namespace orvane
