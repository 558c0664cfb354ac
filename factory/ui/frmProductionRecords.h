#pragma once

#include "factory/ProductionRecords.h"

#include <QDialog>

#include <memory>
#include <vector>

namespace Ui {
class frmProductionRecords;
}

namespace orvane {

// File > Production Records (factory mode): the records of the units made,
// filtered by date, serial and outcome, a unit's whole history, and the
// rows shown as a CSV file. Reads the database this station records in.
class frmProductionRecords : public QDialog
{
    Q_OBJECT
public:
    explicit frmProductionRecords(Platform &platform, QWidget *parent = nullptr);
    ~frmProductionRecords() override;

    // Shows the window with the records its filters ask for, read afresh.
    void showRecords();
    // The rows shown.
    const std::vector<UnitRecord> &records() const { return m_records; }

private:
    RecordsQuery query() const;
    void showQuery(const RecordsQuery &query);
    void refresh();
    void showFailure(const std::string &message);
    void cmdUnitHistory_Click();
    void cmdExportCsv_Click();

    std::unique_ptr<Ui::frmProductionRecords> m_ui;
    Platform &m_platform;
    std::vector<UnitRecord> m_records;
};

} // namespace orvane
