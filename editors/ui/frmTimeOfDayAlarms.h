#pragma once

#include "config/ConfigDocument.h"
#include "editors/DampingAndAlarms.h"

#include <QDialog>
#include <QString>

#include <memory>
#include <span>
#include <string_view>

namespace Ui {
class frmTimeOfDayAlarms;
}

namespace orvane {

// The eight time-of-day alarms; created once, then shown and hidden. Every
// edit of the hours or minutes goes straight into the image.
class frmTimeOfDayAlarms : public QDialog
{
    Q_OBJECT
public:
    explicit frmTimeOfDayAlarms(ConfigDocument &document, QWidget *parent = nullptr);
    ~frmTimeOfDayAlarms() override;

    // Selects list position `position` and shows the time stored for it.
    void showStored(int position);
    // Shows the selected alarm's time again after the image was replaced.
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
    void cboTodAlarms_Click();
    void typed(TodField field, const QString &text);

    std::unique_ptr<Ui::frmTimeOfDayAlarms> m_ui;
    ConfigDocument &m_document;
};

} // namespace orvane
