#include "MainWindowFixture.h"

#include "factory/ui/frmHalvero.h"
#include "factory/ui/frmProductionRecords.h"

#include <QMenu>
#include <QTableWidget>

namespace orvane::test {
namespace {

using namespace std::chrono;

class ProductionRecordsWindowTest : public MainWindowFixture
{
protected:
    // Four units on one bench, the third left open when the bench started
    // the fourth on its port (interrupted), and the first made again.
    void makeUnits()
    {
        fake.production.options.now = [this] {
            return now;
        };
        FakeProductionRegister bench(fake.production.options, fake.production.store);
        now = sys_days{2025y / 3 / 14} + 9h;
        for (const int port : {1, 2}) {
            const auto made = bench.issueNext(250314, port);
            ASSERT_TRUE(bench.markWritten(made->key));
            ASSERT_TRUE(bench.finish(made->key, UnitState::Verified, ""));
            now += 5min;
        }
        ASSERT_TRUE(bench.issueNext(250314, 1));
        now += 5min;
        ASSERT_TRUE(bench.issueNext(250314, 1));
        now += 5min;
        ASSERT_TRUE(bench.claim(250314001, 3, ClaimKind::RemakeReturned));
    }

    // What a user sees in the File menu.
    bool productionRecordsOffered()
    {
        emit control<QMenu>("File")->aboutToShow();
        return control<QAction>("ProductionRecords")->isVisible();
    }

    QStringList column(const QTableWidget &grid, const char *heading)
    {
        int c = 0;
        while (c < grid.columnCount() && grid.horizontalHeaderItem(c)->text() != heading)
            ++c;
        QStringList cells;
        for (int row = 0; row < grid.rowCount() && c < grid.columnCount(); ++row)
            cells << grid.item(row, c)->text();
        return cells;
    }

    system_clock::time_point now;
};

TEST_F(ProductionRecordsWindowTest, ListsFiltersShowsAUnitsHistoryAndExportsInFactoryModeOnly)
{
    makeUnits();
    frmMain &w = started();
    EXPECT_FALSE(productionRecordsOffered());
    control<QAction>("ProductionRecords")->trigger();
    EXPECT_EQ(w.productionRecordsWindow(), nullptr) << "not in factory mode";

    link().setFactoryMode(true);
    ASSERT_TRUE(productionRecordsOffered());
    control<QAction>("ProductionRecords")->trigger();
    frmProductionRecords *records = w.productionRecordsWindow();
    ASSERT_TRUE(records && records->isVisible());
    auto *grid = control<QTableWidget>(*records, "grdRecords");
    EXPECT_EQ(column(*grid, "Serial"),
              (QStringList{"250314001", "250314002", "250314003", "250314004", "250314001"}));
    EXPECT_EQ(column(*grid, "Outcome"),
              (QStringList{"verified", "verified", "interrupted", "in progress", "in progress"}));
    EXPECT_TRUE(control<QLabel>(*records, "lblDatabase")->text().endsWith("(the default)"));

    control<QComboBox>(*records, "cboOutcome")->setCurrentText("interrupted");
    control<QPushButton>(*records, "cmdShowRecords")->click();
    EXPECT_EQ(column(*grid, "Serial"), QStringList{"250314003"});

    control<QComboBox>(*records, "cboOutcome")->setCurrentText("verified");
    control<QLineEdit>(*records, "txtFromDate")->setText("2025-03-14");
    control<QPushButton>(*records, "cmdShowRecords")->click();
    ASSERT_EQ(grid->rowCount(), 2);
    emit grid->cellDoubleClicked(0, 0);
    EXPECT_EQ(column(*grid, "Making"), (QStringList{"1", "2 re-made"})) << "its whole history";
    EXPECT_EQ(control<QLineEdit>(*records, "txtSerial")->text(), "250314001");
    EXPECT_EQ(control<QLineEdit>(*records, "txtFromDate")->text(), "");
    EXPECT_EQ(control<QComboBox>(*records, "cboOutcome")->currentIndex(), 0);

    const std::string path
        = (std::filesystem::path(userDataDir.path().toStdString()) / "records.csv").string();
    fake.dialogs.fileAnswers = {path};
    control<QPushButton>(*records, "cmdExportCsv")->click();
    EXPECT_EQ(readAll(path), recordsCsv(records->records()));
    EXPECT_EQ(records->records().size(), 2u);

    // A typed serial that is no serial, then a database gone: said, and no
    // rows left that would read as the answer.
    control<QLineEdit>(*records, "txtSerial")->setText("25031400");
    control<QPushButton>(*records, "cmdShowRecords")->click();
    ASSERT_EQ(fake.dialogs.messages().size(), 1u);
    EXPECT_NE(fake.dialogs.messages().back().text.find("is not YYMMDDnnn"), std::string::npos);
    fake.production.store->unreachable = "The production register cannot be reached: timeout. "
                                         "Check that the server runs.";
    control<QLineEdit>(*records, "txtSerial")->clear();
    control<QPushButton>(*records, "cmdShowRecords")->click();
    EXPECT_EQ(fake.dialogs.messages().back().text, *fake.production.store->unreachable);
    EXPECT_EQ(grid->rowCount(), 0);
    EXPECT_FALSE(control<QPushButton>(*records, "cmdExportCsv")->isEnabled());
    EXPECT_EQ(control<QLabel>(*records, "lblRecordCount")->text().toStdString(),
              *fake.production.store->unreachable);
    EXPECT_EQ(fake.dialogs.unexpected, 0);
}

// The factory window keeps where this station records; a URL that does not
// read is refused and stays in the box to be put right.
TEST_F(ProductionRecordsWindowTest, FactoryWindowKeepsTheStationsDatabase)
{
    started();
    frmHalvero *factory = window().factoryWindow();
    fake.production.environment = "postgresql://factory@dbhost/production";
    factory->show();
    auto *inUse = control<QLabel>(*factory, "lblProductionDbInUse");
    EXPECT_TRUE(inUse->text().endsWith("(from ORVANE_PRODUCTION_DB)"))
        << inUse->text().toStdString();

    auto *url = control<QLineEdit>(*factory, "txtProductionDb");
    url->setText("mysql://dbhost/production");
    control<QPushButton>(*factory, "cmdUseProductionDb")->click();
    ASSERT_EQ(fake.dialogs.messages().size(), 1u);
    EXPECT_NE(fake.dialogs.messages()[0].text.find("The setting was not changed"),
              std::string::npos);
    EXPECT_EQ(url->text(), "mysql://dbhost/production");
    EXPECT_TRUE(fake.settings.text(kProductionDbSetting).empty());

    url->setText("sqlite:/srv/orvane/production.sqlite");
    control<QPushButton>(*factory, "cmdUseProductionDb")->click();
    EXPECT_EQ(fake.settings.text(kProductionDbSetting), "sqlite:/srv/orvane/production.sqlite");
    EXPECT_EQ(inUse->text(),
              "In use: the SQLite file /srv/orvane/production.sqlite (this station's setting)");
    control<QPushButton>(*factory, "cmdCheckProductionDb")->click();
    EXPECT_EQ(fake.dialogs.messages().back().text,
              "This station records in the SQLite file /srv/orvane/production.sqlite (this "
              "station's setting). It answered.");
    EXPECT_EQ(fake.dialogs.unexpected, 0);
}

} // namespace
} // namespace orvane::test
