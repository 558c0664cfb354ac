#pragma once

#include "app/AppState.h"
#include "platform/Platform.h"
#include "ui_frmDamping.h"

#include <QDialog>

namespace orvane {

// Damping of nine displayed quantities; created once, then shown and hidden.
// Every edit of the value goes straight into the image.
class frmDamping : public QDialog
{
    Q_OBJECT
public:
    frmDamping(AppState &state, Platform &platform, QWidget *parent = nullptr);

    Ui::frmDamping ui;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void cboDamping_Click();
    void txtDampingValue_Change(const QString &text);
    void showStoredValue();

    AppState &m_state;
    Platform &m_platform;
};

} // namespace orvane
