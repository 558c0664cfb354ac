#include "factory/ui/frmProductionRecords.h"
#include "factory/ui/WaitCursor.h"
#include "ui_frmProductionRecords.h"

#include <QHeaderView>
#include <QPushButton>

namespace orvane {

namespace {

constexpr const char *kTitle = "Production Records";
constexpr const char *kAllOutcomes = "All outcomes";

QString qtText(const std::string &text)
{
    return QString::fromStdString(text);
}

QString counted(size_t records)
{
    return records == 1 ? QStringLiteral("1 record") : QStringLiteral("%1 records").arg(records);
}

} // namespace

frmProductionRecords::frmProductionRecords(Platform &platform, QWidget *parent)
    : QDialog(parent)
    , m_ui(std::make_unique<Ui::frmProductionRecords>())
    , m_platform(platform)
{
    m_ui->setupUi(this);
    m_ui->cboOutcome->addItem(QString::fromUtf8(kAllOutcomes));
    for (const UnitOutcome outcome : kRecordOutcomes)
        m_ui->cboOutcome->addItem(QString::fromUtf8(outcomeName(outcome)));
    QStringList headings;
    for (const std::string_view heading : recordLineHeadings())
        headings << QString::fromUtf8(heading.data(), qsizetype(heading.size()));
    m_ui->grdRecords->setColumnCount(int(headings.size()));
    m_ui->grdRecords->setHorizontalHeaderLabels(headings);
    m_ui->grdRecords->horizontalHeader()->setStretchLastSection(true);
    m_ui->grdRecords->verticalHeader()->hide();

    connect(m_ui->cmdShowRecords, &QPushButton::clicked, this, &frmProductionRecords::refresh);
    connect(m_ui->grdRecords, &QTableWidget::cellDoubleClicked, this, [this](int row) {
        showQuery(unitHistoryQuery(m_records[size_t(row)].key.serial));
        refresh();
    });
    connect(m_ui->cmdUnitHistory,
            &QPushButton::clicked,
            this,
            &frmProductionRecords::cmdUnitHistory_Click);
    connect(m_ui->cmdExportCsv,
            &QPushButton::clicked,
            this,
            &frmProductionRecords::cmdExportCsv_Click);
    connect(m_ui->cmdClose, &QPushButton::clicked, this, &QDialog::hide);
}

frmProductionRecords::~frmProductionRecords() = default;

void frmProductionRecords::showRecords()
{
    show();
    raise();
    activateWindow();
    refresh();
}

RecordsQuery frmProductionRecords::query() const
{
    RecordsQuery query;
    query.fromDate = m_ui->txtFromDate->text().toStdString();
    query.toDate = m_ui->txtToDate->text().toStdString();
    query.serial = m_ui->txtSerial->text().toStdString();
    const int outcome = m_ui->cboOutcome->currentIndex();
    if (outcome > 0)
        query.outcome = kRecordOutcomes[size_t(outcome - 1)];
    return query;
}

void frmProductionRecords::showQuery(const RecordsQuery &query)
{
    m_ui->txtFromDate->setText(qtText(query.fromDate));
    m_ui->txtToDate->setText(qtText(query.toDate));
    m_ui->txtSerial->setText(qtText(query.serial));
    int outcome = 0;
    for (size_t i = 0; i < kRecordOutcomes.size(); ++i)
        if (query.outcome == kRecordOutcomes[i])
            outcome = int(i) + 1;
    m_ui->cboOutcome->setCurrentIndex(outcome);
}

void frmProductionRecords::refresh()
{
    Result<RecordsListing> listing = failure({});
    {
        const WaitCursor waiting;
        listing = listRecords(m_platform.production, {}, query());
    }
    if (!listing) {
        showFailure(listing.error());
        return;
    }
    m_records = std::move(listing->records);
    m_ui->lblDatabase->setText(QStringLiteral("Database: ") + qtText(listing->database));
    QTableWidget &grid = *m_ui->grdRecords;
    grid.setRowCount(int(m_records.size()));
    for (int row = 0; row < int(m_records.size()); ++row) {
        const std::vector<std::string> cells = recordLineCells(m_records[size_t(row)]);
        for (int column = 0; column < int(cells.size()); ++column)
            grid.setItem(row, column, new QTableWidgetItem(qtText(cells[size_t(column)])));
    }
    grid.resizeColumnsToContents();
    m_ui->lblRecordCount->setText(counted(m_records.size()));
    m_ui->cmdExportCsv->setEnabled(!m_records.empty());
}

// Rows from before would read as the answer to the query that failed.
void frmProductionRecords::showFailure(const std::string &message)
{
    m_records.clear();
    m_ui->grdRecords->setRowCount(0);
    m_ui->cmdExportCsv->setEnabled(false);
    m_ui->lblRecordCount->setText(qtText(message));
    m_platform.dialogs.messageBox(message, kTitle, MessageIcon::Warning, MessageButtons::Ok);
}

void frmProductionRecords::cmdUnitHistory_Click()
{
    const int row = m_ui->grdRecords->currentRow();
    const bool selected = row >= 0 && row < int(m_records.size())
                          && m_ui->grdRecords->selectionModel()->hasSelection();
    RecordsQuery history;
    history.serial = selected ? std::to_string(m_records[size_t(row)].key.serial)
                              : trimmedField(m_ui->txtSerial->text().toStdString());
    if (history.serial.empty()) {
        m_platform.dialogs.messageBox("Choose a unit first: select its row, or type its serial "
                                      "number.",
                                      kTitle,
                                      MessageIcon::Information,
                                      MessageButtons::Ok);
        return;
    }
    showQuery(history);
    refresh();
}

void frmProductionRecords::cmdExportCsv_Click()
{
    const Result<std::string> exported = exportRecordsCsv(m_platform, m_records);
    if (!exported) {
        m_platform.dialogs.messageBox(exported.error(),
                                      kTitle,
                                      MessageIcon::Warning,
                                      MessageButtons::Ok);
        return;
    }
    if (!exported->empty())
        m_ui->lblRecordCount->setText(QStringLiteral("%1 records exported to %2")
                                          .arg(m_records.size())
                                          .arg(qtText(*exported)));
}

} // namespace orvane
