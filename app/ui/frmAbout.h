#pragma once

#include <QDialog>

#include <memory>
#include <string>

namespace Ui {
class frmAbout;
}

namespace orvane {

// Program and instrument versions, and the folder the working file lives in.
class frmAbout : public QDialog
{
    Q_OBJECT
public:
    struct Values
    {
        std::string pcSoftwareVersion;
        std::string serialNumber;
        std::string softwareVersion;
        std::string hardwareVersion;
        std::string workingFolder;
    };

    explicit frmAbout(QWidget *parent = nullptr);
    ~frmAbout() override;

    // Copied when the dialog opens; a later connection does not change an
    // open dialog.
    void showValues(const Values &values);

private:
    std::unique_ptr<Ui::frmAbout> m_ui;
};

} // namespace orvane
