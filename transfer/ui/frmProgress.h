#pragma once

#include <QDialog>

#include <memory>
#include <string>

namespace Ui {
class frmProgress;
}

namespace orvane {

// Progress of a transfer, backup or restore: a bar that fills over the whole
// command and a line saying what is being done. No behaviour of its own.
class frmProgress : public QDialog
{
    Q_OBJECT
public:
    explicit frmProgress(QWidget *parent = nullptr);
    ~frmProgress() override;

    void setProgress(int value, int maximum);
    void setText(const std::string &text);

private:
    std::unique_ptr<Ui::frmProgress> m_ui;
};

} // namespace orvane
