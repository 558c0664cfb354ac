#pragma once

#include "transfer/SelectionDialog.h"
#include "transfer/TransferState.h"

#include <QDialog>

#include <array>
#include <memory>

class QCheckBox;

namespace Ui {
class frmBeingSentReceived;
}

namespace orvane {

// The warning dialog shown before every download and upload, in which the
// user unticks the categories that must not be overwritten. Shown without
// being modal; its buttons only set the answer that the transfer waits for.
class frmBeingSentReceived : public QDialog, public SelectionDialogView
{
    Q_OBJECT
public:
    explicit frmBeingSentReceived(TransferState &transfer, QWidget *parent = nullptr);
    ~frmBeingSentReceived() override;

    // The check box of category 0..13, in the order of the selection tables.
    QCheckBox *box(int category) const { return m_boxes.at(size_t(category)); }

    // SelectionDialogView
    void setSelectionCaption(const std::string &caption) override;
    void setBox(int category, bool enabled, bool ticked) override;
    void setBoxTicked(int category, bool ticked) override;
    bool boxTicked(int category) override;
    void showSelection() override;
    void hideSelection() override;
    bool selectionVisible() override;

protected:
    void closeEvent(QCloseEvent *event) override;

public slots:
    void reject() override; // Escape

private:
    std::unique_ptr<Ui::frmBeingSentReceived> m_ui;
    TransferState &m_transfer;
    std::array<QCheckBox *, kCategoryCount> m_boxes{};
};

} // namespace orvane
