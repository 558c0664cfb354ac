#pragma once

#include "config/ConfigDocument.h"

#include <QDialog>
#include <QString>

#include <memory>
#include <span>
#include <string_view>

namespace Ui {
class frmDamping;
}

namespace orvane {

// Damping of nine displayed quantities; created once, then shown and hidden.
// Every edit of the value goes straight into the image.
class frmDamping : public QDialog
{
    Q_OBJECT
public:
    explicit frmDamping(ConfigDocument &document, QWidget *parent = nullptr);
    ~frmDamping() override;

    // Selects list position `position` and shows the value stored for it.
    void showStored(int position);
    // Shows the selected entry's value again after the image was replaced.
    void reload();

    void fillPickList(std::string_view list,
                      std::span<const std::string_view> items,
                      int initialSelection);

signals:
    // One user action changed the image; `what` names the change.
    void imageEdited(const QString &what);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void cboDamping_Click();
    void txtDampingValue_Change(const QString &text);
    void showStoredValue();

    std::unique_ptr<Ui::frmDamping> m_ui;
    ConfigDocument &m_document;
};

} // namespace orvane
