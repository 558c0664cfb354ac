#pragma once

#include "transfer/UnitCopies.h"

#include <QDialog>

#include <memory>
#include <optional>
#include <vector>

namespace Ui {
class frmUnitHistory;
}

class QTreeWidgetItem;

namespace orvane {

// File > Unit History: each unit by serial number with the copies kept of
// it, newest first, and the folder they are kept in. Open asks the main
// window to make the chosen copy the working image; Restore This Unit
// Exactly, to write every byte of it back to the unit.
class frmUnitHistory : public QDialog
{
    Q_OBJECT
public:
    explicit frmUnitHistory(QWidget *parent = nullptr);
    ~frmUnitHistory() override;

    void showHistory(std::vector<UnitHistory> units, const std::string &folder);
    // The copy selected in the list; none when a unit's own line or nothing is.
    std::optional<UnitCopy> selectedCopy() const;

signals:
    void openRequested();
    void restoreRequested();

private:
    void followSelection();

    std::unique_ptr<Ui::frmUnitHistory> m_ui;
    std::vector<UnitHistory> m_units;
};

inline constexpr const char *kNoUnitCopies = "No copies yet: one is kept before each upload.";

} // namespace orvane
