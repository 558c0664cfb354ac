#pragma once

#include "config/ConfigDocument.h"
#include "editors/EditMenuSettings.h"
#include "editors/EditorState.h"
#include "editors/SenderCurves.h"
#include "platform/Platform.h"

#include <QDialog>
#include <QString>

#include <array>
#include <memory>
#include <span>
#include <string_view>

class QComboBox;
class QKeyEvent;
class QPushButton;

namespace Ui {
class frmSenders;
}

namespace orvane {

class frmChart;

// Sender types and the user curve grid; created once, then shown and hidden.
class frmSenders : public QDialog
{
    Q_OBJECT
public:
    frmSenders(ConfigDocument &document,
               EditorState &editor,
               UserDialogs &dialogs,
               QWidget *parent = nullptr);
    ~frmSenders() override;

    // Shows the dialog at its place relative to the main window, not modal.
    void showBeside(QWidget &mainWindow);

    // Close: the dialog's close box (or Escape outside the grid).
    void reject() override;

    frmChart *chartWindow() const { return m_chart; }

    // Selects the five lists at the positions the editor state keeps, and
    // closes the curve grid once a new image has closed the curve editor.
    void showStored();
    // The unit captions above the lists, as the menus stand.
    void showUnits(const SettingsView &view);

    void fillPickList(std::string_view list,
                      std::span<const std::string_view> items,
                      int initialSelection);
    // Row 0 of the curve grid, and the width of its point number column.
    void setGridHeadings(std::span<const std::string_view> headings, int indexColumnTwips);

signals:
    // One user action changed the image; `what` names the change.
    void imageEdited(const QString &what);

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

    std::unique_ptr<Ui::frmSenders> m_ui;
    ConfigDocument &m_document;
    EditorState &m_editorState;
    UserDialogs &m_dialogs;
    SenderCurveEditor m_editor;
    std::array<QComboBox *, kSenderListCount> m_lists{};
    frmChart *m_chart = nullptr;
};

} // namespace orvane
