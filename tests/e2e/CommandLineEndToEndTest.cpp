// The command-line tool as a script runs it: the real `orvane` binary against
// orvane-sim on a pseudo-terminal, its exit codes, its files and its JSON.

#include "config/ConfigFile.h"
#include "config/Defaults.h"
#include "factory/ProductionRecords.h"
#include "platform/sql/OpenProductionRegister.h"
#include "transfer/TransferCategories.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>

#include "SimProcess.h"

#include <gtest/gtest.h>

#include <csignal>
#include <string>
#include <vector>

namespace orvane::test {
namespace {

constexpr int kPortNumber = 7;
constexpr int kRunMs = 90000;

struct Outcome
{
    int exitCode = -1;
    QString out;
    QString err;
};

// Categories the instrument both takes and gives back.
const std::vector<Category> kRoundTrip
    = {Category::DisplayDamping, Category::RaceTimers, Category::HiLoAlarmValues};
constexpr const char *kRoundTripNames = "damping,race-timers,alarm-values";

class CommandLineEndToEnd : public ::testing::Test
{
protected:
    // Starts the simulator with the extra options, logging every frame it
    // serves, so a test can tell whether anything was sent.
    void startSim(const QStringList &options = {})
    {
        std::string error;
        ASSERT_TRUE(sim.start(kPortNumber, options, &error, true)) << error;
    }

    // orvane with its standard input a pipe (no terminal), its copies of
    // units in the test's folder, and the simulator's COMn link unless the
    // arguments name another folder.
    void start(QProcess &process, QStringList arguments, const QStringList &environment = {})
    {
        QProcessEnvironment variables = QProcessEnvironment::systemEnvironment();
        variables.insert("XDG_DATA_HOME", sim.filePath("data"));
        for (const QString &variable : environment)
            variables.insert(variable.section('=', 0, 0), variable.section('=', 1));
        process.setProcessEnvironment(variables);
        process.setWorkingDirectory(sim.folder());
        if (!arguments.contains("--link-folder"))
            arguments << "--link-folder" << sim.folder();
        process.start(ORVANE_CLI_PATH, arguments);
        process.closeWriteChannel();
    }

    Outcome orvane(const QStringList &arguments, const QStringList &environment = {})
    {
        QProcess process;
        start(process, arguments, environment);
        Outcome run;
        if (!process.waitForFinished(kRunMs)) {
            process.kill();
            process.waitForFinished();
            run.err = "did not finish";
            return run;
        }
        run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2;
        run.out = QString::fromUtf8(process.readAllStandardOutput());
        run.err = QString::fromUtf8(process.readAllStandardError());
        return run;
    }

    QString port() const { return QString::number(kPortNumber); }

    // A configuration file: the factory defaults with every byte of the
    // round-trip categories changed.
    QString writeEditedFile(const QString &name, ConfigImage &image)
    {
        writeDefaultConfigurations(image.CDC);
        writeDefaultIntNvm(image.IntNvm);
        for (const Category c : kRoundTrip)
            for (const int a : categoryAddresses(c))
                image.IntNvm[a] = uint8_t(image.IntNvm[a] + 3 + a % 5);
        FileState files;
        const std::string text = configFileText(image, files, kPortNumber, LocalDateTime{});
        const QString path = sim.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray::fromStdString(text));
        return path;
    }

    static QJsonObject json(const Outcome &run)
    {
        QJsonParseError error;
        const QJsonDocument document = QJsonDocument::fromJson(run.out.toUtf8(), &error);
        EXPECT_EQ(error.error, QJsonParseError::NoError) << run.out.toStdString();
        return document.object();
    }

    SimProcess sim;
};

TEST_F(CommandLineEndToEnd, UploadThenDownloadGivesTheFileBackAndCountsTheUpload)
{
    startSim();
    ConfigImage uploaded;
    const QString file = writeEditedFile("EDITED.CFG", uploaded);

    const Outcome before = orvane({"identify", "--port", port(), "--json"});
    ASSERT_EQ(before.exitCode, 0) << before.err.toStdString();
    const QJsonObject identity = json(before);
    EXPECT_EQ(identity["productCode"].toInt(), 1);
    EXPECT_FALSE(identity["serialNumber"].toString().isEmpty());
    EXPECT_EQ(identity["chipVersions"].toArray().size(), 4);

    const Outcome upload
        = orvane({"upload", "--port", port(), "EDITED.CFG", "--only", kRoundTripNames, "--yes"});
    ASSERT_EQ(upload.exitCode, 0) << upload.err.toStdString();
    EXPECT_TRUE(upload.out.contains("Display Damping")) << upload.out.toStdString();
    // The copy of the unit went to the editor's Unit History.
    EXPECT_TRUE(QFileInfo(sim.filePath("data/Halvero/Orvane Editor/units")).isDir());

    const Outcome download
        = orvane({"download", "--port", port(), "-o", "BACK.CFG", "--only", kRoundTripNames});
    ASSERT_EQ(download.exitCode, 0) << download.err.toStdString();
    ConfigImage back;
    FileState files;
    QFile backFile(sim.filePath("BACK.CFG"));
    ASSERT_TRUE(backFile.open(QIODevice::ReadOnly));
    const ConfigRead read = readConfigText(back, files, backFile.readAll().toStdString());
    ASSERT_FALSE(read.failure);
    for (const Category c : kRoundTrip)
        for (const int a : categoryAddresses(c))
            EXPECT_EQ(back.IntNvm[a], uploaded.IntNvm[a]) << "IntNvm byte " << a;

    const Outcome compare
        = orvane({"compare", file, "--port", port(), "--only", kRoundTripNames, "--json"});
    EXPECT_EQ(compare.exitCode, 0) << compare.err.toStdString();
    EXPECT_TRUE(json(compare)["identical"].toBool());

    const Outcome after = orvane({"identify", "--json"}, {"ORVANE_PORT=" + port()});
    ASSERT_EQ(after.exitCode, 0) << after.err.toStdString();
    EXPECT_EQ(json(after)["uploadCount"].toInt(), identity["uploadCount"].toInt() + 1);
}

TEST_F(CommandLineEndToEnd, BadCommandLinesAreRefusedWithoutSendingAByte)
{
    startSim();
    ConfigImage image;
    writeEditedFile("GOOD.CFG", image);
    QFile broken(sim.filePath("BROKEN.CFG"));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("Orvane Display Configuration File - Do NOT make any changes!\r\nVer 1.4.31\r\n"
                 "Date created: x\r\n*\r\n*\r\nCOMport=, 7 \r\n 0 , nonsense \r\n");
    broken.close();
    ASSERT_TRUE(QFile::link("GOOD.CFG", sim.filePath("ALIAS.CFG")));
    QFile good(sim.filePath("GOOD.CFG"));
    ASSERT_TRUE(good.open(QIODevice::ReadOnly));
    const QByteArray goodBytes = good.readAll();
    good.close();

    struct Case
    {
        QStringList arguments;
        int exitCode;
        QString says;
    };
    const std::vector<Case> cases = {
        {{}, 2, "No command"},
        {{"frobnicate"}, 2, "not a command"},
        {{"identify", "--port", port(), "--colour"}, 2, "Unknown option"},
        {{"identify", "--port", "seven"}, 2, "--port takes a COM number"},
        {{"identify"}, 2, "needs --port"},
        {{"upload", "--port", port()}, 2, "Usage: orvane upload"},
        {{"download", "--port", port()}, 2, "needs -o"},
        {{"compare", "GOOD.CFG"}, 2, "Usage: orvane compare"},
        {{"ports", "--yes"}, 2, "takes no --yes"},
        {{"dump", "--port", port(), "iram", "0", "16"}, 1, "add --factory"},
        {{"dump", "--port", port(), "--factory", "disk", "0", "16"}, 1, "not a memory"},
        {{"dump", "--port", port(), "--factory", "eeprom", "65530", "16"}, 1, "within eeprom"},
        {{"upload", "--port", "17", "GOOD.CFG"}, 1, "COM17 is not a port"},
        {{"upload", "--port", port(), "GOOD.CFG", "--only", "damping,colours"}, 1, "\"colours\""},
        {{"download", "--port", port(), "-o", "X.CFG", "--only", "configurations"},
         1,
         "cannot be chosen here"},
        {{"download", "--port", port(), "-o", "no/such/folder/X.CFG"}, 1, "cannot be written"},
        {{"upload", "--port", port(), "BROKEN.CFG"}, 1, "Line 7: expected a byte"},
        {{"upload", "--port", port(), "MISSING.CFG"}, 1, "MISSING.CFG"},
        {{"compare", "GOOD.CFG", "BROKEN.CFG"}, 1, "Line 7: expected a byte"},
        {{"backup", "--port", port(), "--log", "no/such/folder/log.txt"}, 1, "cannot be written"},
        {{"identify", "--port", "1000"}, 1, "COM1000 is not a port"},
        {{"identify", "--port", port(), "--link-folder", "no/such/folder"}, 1, "does not exist"},
        // A log or an output never replaces a file the command reads, or the other.
        {{"compare", "GOOD.CFG", "--port", port(), "--only", "damping", "--log", "GOOD.CFG"},
         1,
         "would be overwritten"},
        {{"upload", "--port", port(), "./GOOD.CFG", "--yes", "--log", "ALIAS.CFG"},
         1,
         "would be overwritten"},
        {{"download", "--port", port(), "-o", "ALIAS.CFG", "--base", "GOOD.CFG"},
         1,
         "would be overwritten"},
        {{"read-all", "--port", port(), "-o", "X.CFG", "--log", "./X.CFG"}, 1, "the same file"},
        {{"read-all", "--port", port(), "-o", "."}, 1, "is a folder"},
        {{"upload", "--port", port(), "GOOD.CFG"}, 1, "refused before anything was sent"},
        {{"restore-copy", "--port", port(), "GOOD.CFG"}, 1, "raw copy (.RAW) is missing"},
        {{"restore-copy", "--port", port(), "GOOD"}, 1, "is not a copy of a unit"},
    };
    for (const Case &c : cases) {
        const Outcome run = orvane(c.arguments);
        const std::string what = c.arguments.join(' ').toStdString();
        EXPECT_EQ(run.exitCode, c.exitCode) << what << "\n" << run.err.toStdString();
        EXPECT_TRUE(run.err.contains(c.says)) << what << "\n" << run.err.toStdString();
    }
    // Any exchange begins with presence probes, which the simulator logs.
    EXPECT_FALSE(sim.waitForLog("presence probe")) << sim.log().toStdString();
    ASSERT_TRUE(good.open(QIODevice::ReadOnly));
    EXPECT_EQ(good.readAll(), goodBytes);
}

TEST_F(CommandLineEndToEnd, ExitCodesTellNoInstrumentFromAFailureHalfWay)
{
    // A COMn link to a device that is not there: the port does not open.
    ASSERT_TRUE(QFile::link("/nonexistent/tty", sim.filePath("COM9")));
    startSim({"--echoes-stop-after", "20"});

    const Outcome noPort = orvane({"identify", "--port", "9"});
    EXPECT_EQ(noPort.exitCode, 3) << noPort.err.toStdString();
    EXPECT_TRUE(noPort.err.contains("could not be opened")) << noPort.err.toStdString();

    ConfigImage image;
    writeEditedFile("GOOD.CFG", image);
    const Outcome upload = orvane(
        {"upload", "--port", port(), "GOOD.CFG", "--only", "damping", "--yes", "--log", "up.txt"});
    EXPECT_EQ(upload.exitCode, 4) << upload.err.toStdString();
    EXPECT_TRUE(upload.err.contains("No answer from the Orvane while writing"))
        << upload.err.toStdString();
    // The log was written all the same, for support.
    QFile log(sim.filePath("up.txt"));
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    EXPECT_TRUE(log.readAll().contains("echo"));

    const Outcome refused = orvane({"backup", "--port", port()});
    EXPECT_EQ(refused.exitCode, 1) << refused.err.toStdString();
    EXPECT_TRUE(refused.err.contains("--yes")) << refused.err.toStdString();
}

// Ctrl+C half-way through an upload ends it as a fault would, keeps the
// traffic log, and leaves the unit answering.
TEST_F(CommandLineEndToEnd, CtrlCMidUploadLeavesTheUnitAnswering)
{
    startSim();
    ConfigImage image;
    writeEditedFile("GOOD.CFG", image);
    QProcess upload;
    start(upload, {"upload", "--port", port(), "GOOD.CFG", "--full", "--yes", "--log", "up.txt"});
    // Each wait is shorter than the simulator's log wait: the unit is read,
    // then the second configuration record is being written.
    for (const char *served : {"read internal NVM 256 @0",
                               "read EEPROM 256 @5888",
                               "write internal NVM 256 @0",
                               "write EEPROM 128 @4224"})
        ASSERT_TRUE(sim.waitForLog(served)) << served << "\n" << sim.log().toStdString();
    ASSERT_EQ(::kill(pid_t(upload.processId()), SIGINT), 0);
    ASSERT_TRUE(upload.waitForFinished(kRunMs));
    const QString err = QString::fromUtf8(upload.readAllStandardError());
    EXPECT_EQ(upload.exitCode(), 130) << err.toStdString();
    EXPECT_TRUE(err.contains("Stopped by Ctrl+C while writing display configuration"))
        << err.toStdString();
    EXPECT_TRUE(err.contains("the Orvane was told the exchange is over")) << err.toStdString();
    // The unit got the soft reset, and no record after the one in flight.
    ASSERT_TRUE(sim.waitForLog("soft reset")) << sim.log().toStdString();
    EXPECT_FALSE(sim.log().contains("write EEPROM")) << sim.log().toStdString();
    QFile log(sim.filePath("up.txt"));
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    EXPECT_TRUE(log.readAll().trimmed().endsWith("3D FB 00 00 00  =...."));

    const Outcome identify = orvane({"identify", "--port", port()});
    EXPECT_EQ(identify.exitCode, 0) << identify.err.toStdString();
}

TEST_F(CommandLineEndToEnd, SilentInstrumentIsNoInstrument)
{
    startSim({"--no-answer"});
    const Outcome run = orvane({"identify", "--port", port()});
    EXPECT_EQ(run.exitCode, 3) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains("No Orvane answered")) << run.err.toStdString();
}

TEST_F(CommandLineEndToEnd, JsonOfPortsAndOfTwoFilesParsesBack)
{
    startSim();
    const Outcome ports = orvane({"ports", "--json"});
    ASSERT_EQ(ports.exitCode, 0) << ports.err.toStdString();
    const QJsonArray list = json(ports)["ports"].toArray();
    ASSERT_EQ(list.size(), 16);
    const QJsonObject ours = list[kPortNumber - 1].toObject();
    EXPECT_EQ(ours["port"].toInt(), kPortNumber);
    EXPECT_EQ(ours["device"].toString(), sim.device());
    EXPECT_TRUE(ours["warnings"].isArray());
    EXPECT_TRUE(json(ports)["devices"].isArray());

    ConfigImage image;
    writeEditedFile("A.CFG", image);
    writeEditedFile("B.CFG", image);
    const Outcome same = orvane({"compare", "A.CFG", "B.CFG", "--json"});
    EXPECT_EQ(same.exitCode, 0) << same.err.toStdString();
    EXPECT_TRUE(json(same)["identical"].toBool());

    image.IntNvm[categoryAddresses(Category::FuelTankSize).front()] ^= 0x10;
    FileState files;
    QFile b(sim.filePath("B.CFG"));
    ASSERT_TRUE(b.open(QIODevice::WriteOnly));
    b.write(QByteArray::fromStdString(configFileText(image, files, kPortNumber, LocalDateTime{})));
    b.close();
    const Outcome differ = orvane({"compare", "A.CFG", "B.CFG", "--json"});
    EXPECT_EQ(differ.exitCode, 1) << differ.err.toStdString();
    const QJsonObject report = json(differ);
    EXPECT_FALSE(report["identical"].toBool());
    const QJsonArray groups = report["groups"].toArray();
    ASSERT_EQ(groups.size(), 1);
    EXPECT_EQ(groups[0].toObject()["category"].toString(), "Fuel Tank Size");
    EXPECT_EQ(groups[0].toObject()["differences"].toArray().size(), 1);
    EXPECT_FALSE(sim.waitForLog("presence probe"));
}

// The records a station made, read back as the technician and a script
// read them: by the factory window's setting when no --db is given, every
// field in the CSV and JSON, and a database that is not there refused.
TEST_F(CommandLineEndToEnd, UnitsListsTheRecordsOfTheStationsDatabase)
{
    const std::string path = sim.filePath("production.sqlite").toStdString();
    {
        auto opened = openProductionRegister("sqlite:" + path, {});
        ASSERT_TRUE(opened) << opened.error();
        ProductionRegister &bench = **opened;
        const auto made = bench.issueNext(250314, 1);
        UnitDetails details;
        details.productCode = 2;
        details.firmware = 17;
        details.files = {{"CALCURVS.DAT", std::string(64, 'c')}};
        ASSERT_TRUE(bench.setDetails(made->key, details));
        ASSERT_TRUE(bench.markWritten(made->key));
        ASSERT_TRUE(bench.finish(made->key, UnitState::Verified, ""));
        const auto cut = bench.issueNext(250314, 2);
        ASSERT_TRUE(bench.finish(cut->key, UnitState::Failed, "Cable pulled, \"port 2\"\nat 40%"));
    }
    // The window's setting comes before the variable.
    QDir().mkpath(sim.filePath("config/Halvero"));
    QFile settings(sim.filePath("config/Halvero/Orvane Editor.conf"));
    ASSERT_TRUE(settings.open(QIODevice::WriteOnly));
    settings.write(QByteArray("[factory]\nproductionDatabase=sqlite:") + path.c_str() + "\n");
    settings.close();
    const QStringList station = {"XDG_CONFIG_HOME=" + sim.filePath("config"),
                                 "ORVANE_PRODUCTION_DB=sqlite:/nowhere/production.sqlite"};

    const Outcome lines = orvane({"units"}, station);
    ASSERT_EQ(lines.exitCode, 0) << lines.err.toStdString();
    const QStringList shown = lines.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(shown.size(), 3) << lines.out.toStdString();
    EXPECT_TRUE(shown[0].startsWith("Serial  "));
    EXPECT_TRUE(shown[1].contains(QRegularExpression("^250314001 +1 +verified +verified ")));
    EXPECT_TRUE(shown[2].endsWith("Cable pulled, \"port 2\" at 40%"));

    const Outcome csv
        = orvane({"units", "--csv", "--db", QString::fromStdString("sqlite:" + path)});
    ASSERT_EQ(csv.exitCode, 0) << csv.err.toStdString();
    auto reread = openProductionRegister("sqlite:" + path, {});
    EXPECT_EQ(csv.out.toStdString(), recordsCsv(*(*reread)->records({})));

    const Outcome history = orvane({"units", "--json", "--serial", "250314001"}, station);
    ASSERT_EQ(history.exitCode, 0) << history.err.toStdString();
    const QJsonArray records = json(history)["records"].toArray();
    ASSERT_EQ(records.size(), 1);
    const QJsonObject unit = records[0].toObject();
    EXPECT_EQ(unit["serial"].toInteger(), 250314001);
    EXPECT_EQ(unit["outcome"].toString(), "verified");
    EXPECT_EQ(unit["productCode"].toInt(), 2);
    EXPECT_EQ(unit["files"].toArray()[0].toObject()["sha256"].toString(), QString(64, 'c'));
    EXPECT_TRUE(json(history)["database"].toString().endsWith("(this station's setting)"));

    const Outcome missing = orvane({"units", "--db", "sqlite:" + sim.filePath("typo.sqlite")});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_TRUE(missing.err.contains("No unit has been recorded in the SQLite file"))
        << missing.err.toStdString();
    EXPECT_FALSE(QFile::exists(sim.filePath("typo.sqlite")));
    const Outcome unreachable
        = orvane({"units", "--db", "postgresql://nobody@/x?host=" + sim.folder()});
    EXPECT_EQ(unreachable.exitCode, 1);
    EXPECT_TRUE(unreachable.err.contains("cannot be reached")) << unreachable.err.toStdString();
}

} // namespace
} // namespace orvane::test
