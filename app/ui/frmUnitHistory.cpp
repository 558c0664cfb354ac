#include "app/ui/frmUnitHistory.h"
#include "ui_frmUnitHistory.h"

#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidgetItem>

namespace orvane {

namespace {
// Where a copy's line keeps its place in the list: unit, then copy.
constexpr int kUnitRole = Qt::UserRole;
constexpr int kCopyRole = Qt::UserRole + 1;
} // namespace

frmUnitHistory::frmUnitHistory(QWidget *parent)
    : QDialog(parent)
    , m_ui(std::make_unique<Ui::frmUnitHistory>())
{
    m_ui->setupUi(this);
    m_ui->treUnitCopies->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    connect(m_ui->treUnitCopies,
            &QTreeWidget::itemSelectionChanged,
            this,
            &frmUnitHistory::followSelection);
    connect(m_ui->treUnitCopies, &QTreeWidget::itemActivated, this, [this] {
        if (selectedCopy())
            emit openRequested();
    });
    connect(m_ui->cmdOpenCopy, &QPushButton::clicked, this, &frmUnitHistory::openRequested);
    connect(m_ui->cmdRestoreExactly,
            &QPushButton::clicked,
            this,
            &frmUnitHistory::restoreRequested);
    connect(m_ui->cmdClose, &QPushButton::clicked, this, &QDialog::hide);
}

frmUnitHistory::~frmUnitHistory() = default;

void frmUnitHistory::showHistory(std::vector<UnitHistory> units, const std::string &folder)
{
    m_units = std::move(units);
    m_ui->txtFolder->setText(QString::fromStdString(folder));
    QTreeWidget *tree = m_ui->treUnitCopies;
    tree->clear();
    for (int u = 0; u < int(m_units.size()); ++u) {
        const UnitHistory &unit = m_units[size_t(u)];
        auto *unitItem = new QTreeWidgetItem(
            tree,
            {QStringLiteral("Unit %1").arg(QString::fromStdString(unit.serial)),
             unit.copies.size() == 1 ? QStringLiteral("1 copy")
                                     : QStringLiteral("%1 copies").arg(unit.copies.size())});
        for (int c = 0; c < int(unit.copies.size()); ++c) {
            const UnitCopy &copy = unit.copies[size_t(c)];
            auto *copyItem = new QTreeWidgetItem(
                unitItem,
                {QString::fromStdString(copy.taken), QString::fromStdString(copy.changes)});
            copyItem->setData(0, kUnitRole, u);
            copyItem->setData(0, kCopyRole, c);
        }
    }
    if (m_units.empty())
        new QTreeWidgetItem(tree, {QString::fromUtf8(kNoUnitCopies)});
    tree->expandAll();
    followSelection();
    show();
    raise();
    activateWindow();
}

std::optional<UnitCopy> frmUnitHistory::selectedCopy() const
{
    const QTreeWidgetItem *item = m_ui->treUnitCopies->currentItem();
    if (!item || !item->data(0, kCopyRole).isValid() || !item->isSelected())
        return std::nullopt;
    const int u = item->data(0, kUnitRole).toInt();
    const int c = item->data(0, kCopyRole).toInt();
    if (u < 0 || u >= int(m_units.size()) || c < 0 || c >= int(m_units[size_t(u)].copies.size()))
        return std::nullopt;
    return m_units[size_t(u)].copies[size_t(c)];
}

void frmUnitHistory::followSelection()
{
    const bool copy = selectedCopy().has_value();
    m_ui->cmdOpenCopy->setEnabled(copy);
    m_ui->cmdRestoreExactly->setEnabled(copy);
}

} // namespace orvane
