#pragma once

#include "app/AppState.h"
#include "editors/DampingAndAlarms.h"
#include "platform/Platform.h"
#include "ui_frmTimeOfDayAlarms.h"

#include <QDialog>

namespace orvane {

// The eight time-of-day alarms; created once, then shown and hidden. Every
// edit of the hours or minutes goes straight into the image.
class frmTimeOfDayAlarms : public QDialog
{
    Q_OBJECT
public:
    frmTimeOfDayAlarms(AppState &state, Platform &platform, QWidget *parent = nullptr);

    Ui::frmTimeOfDayAlarms ui;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void cboTodAlarms_Click();
    void typed(TodField field, const QString &text);

    AppState &m_state;
    Platform &m_platform;
};

} // namespace orvane
