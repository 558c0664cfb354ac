#pragma once

#include <QDialog>

#include <memory>
#include <string>

namespace Ui {
class frmShowConnecting;
}

namespace orvane {

// "Connection to Orvane": the notice shown while the presence probes run.
class frmShowConnecting : public QDialog
{
    Q_OBJECT
public:
    explicit frmShowConnecting(QWidget *parent = nullptr);
    ~frmShowConnecting() override;

    // lblShowConnecting.
    void setCaption(const std::string &text);
    std::string caption() const;

private:
    std::unique_ptr<Ui::frmShowConnecting> m_ui;
};

} // namespace orvane
