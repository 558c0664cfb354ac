#pragma once

#include "ui_frmProgress.h"

#include <QDialog>

#include <string>

namespace orvane {

// Progress of a transfer, backup or restore: a bar that fills over the whole
// command and a line saying what is being done. No behaviour of its own.
class frmProgress : public QDialog
{
    Q_OBJECT
public:
    explicit frmProgress(QWidget *parent = nullptr);

    void setProgress(int value, int maximum);
    void setText(const std::string &text);

    Ui::frmProgress ui;
};

} // namespace orvane
