#pragma once

#include "app/AppState.h"
#include "editors/SenderCurves.h"
#include "platform/Platform.h"
#include "ui_frmSenders.h"

#include <QDialog>

#include <array>

class QComboBox;
class QKeyEvent;
class QPushButton;

namespace orvane {

class frmChart;

// Sender types and the user curve grid; created once, then shown and hidden.
class frmSenders : public QDialog
{
    Q_OBJECT
public:
    frmSenders(AppState &state, Platform &platform, QWidget *parent = nullptr);

    // Shows the dialog at its place relative to the main window, not modal.
    void showBeside(QWidget &mainWindow);

    // Close: the dialog's close box (or Escape outside the grid).
    void reject() override;

    const SenderCurveEditor &curveEditor() const { return m_editor; }
    frmChart *chartWindow() const { return m_chart; }

    Ui::frmSenders ui;

signals:
    // The image changed; the main window marks its caption.
    void imageEdited();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void cmdEditCurve_Click(int curve, QPushButton *button);
    void senderList_GotFocus();
    void MSFlexGrid1_KeyPress(QKeyEvent *event);
    void cmdSendersView_Click();
    void cmdSendersExit_Click();

    void closeGrid();
    void showGridCells();
    void placeGrid(QPushButton *button);
    void reportChanges();

    AppState &m_state;
    Platform &m_platform;
    SenderCurveEditor m_editor;
    std::array<QComboBox *, kSenderListCount> m_lists{};
    frmChart *m_chart = nullptr;
};

} // namespace orvane
