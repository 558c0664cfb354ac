// orvane provision against eight orvane-sim units at once, one of which
// loses its cable half-way: the others are made and verified all the same,
// and the production database records that one as failed, with the reason.

#include "factory/CodeModules.h"
#include "factory/FactoryFixtures.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include "SimProcess.h"

#include <gtest/gtest.h>

#include <array>
#include <fstream>
#include <set>

namespace orvane::test {
namespace {

constexpr int kUnits = 8;
constexpr int kPulledPort = 3;
// Well inside the making of about half a minute, and after its first write.
constexpr int kPullAfterMs = 15000;
constexpr int kRunMs = 110000;
constexpr int kPollMs = 200;

TEST(ProvisionEndToEnd, APulledCableOnOnePortLeavesTheOthersVerified)
{
    QTemporaryDir folder;
    const QDir root(folder.path());
    ASSERT_TRUE(root.mkpath("links") && root.mkpath("data"));
    for (const char *name : {"CALCURVS.DAT", "NVMNMEAG.DAT", "DECPTSA.DAT"})
        std::ofstream(root.filePath(QString("data/") + name).toStdString(), std::ios::binary)
            << fixture(name);
    for (const CodeModule &module : kNewUnitCodeModules) {
        const std::string name(module.fileName);
        std::ofstream(root.filePath(QString::fromStdString("data/" + name)).toStdString(),
                      std::ios::binary)
            << fixture("modules/" + name);
    }
    std::array<SimProcess, kUnits> sims;
    for (int port = 1; port <= kUnits; ++port) {
        std::string error;
        SimProcess &sim = sims[size_t(port - 1)];
        ASSERT_TRUE(sim.start(port, {}, &error)) << error;
        ASSERT_TRUE(QFile::link(sim.device(), root.filePath(QString("links/COM%1").arg(port))));
    }

    const QString db = "sqlite:" + root.filePath("production.sqlite");
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("XDG_DATA_HOME", root.filePath("home"));
    environment.insert("XDG_CONFIG_HOME", root.filePath("config"));
    QProcess provision;
    provision.setProcessEnvironment(environment);
    provision.start(ORVANE_CLI_PATH,
                    {"provision",
                     "--ports",
                     "1-8",
                     "--product-code",
                     "2",
                     "--firmware",
                     "42",
                     "--data",
                     root.filePath("data"),
                     "--db",
                     db,
                     "--link-folder",
                     root.filePath("links"),
                     "--yes",
                     "--json"});
    provision.closeWriteChannel();
    ASSERT_TRUE(provision.waitForStarted());
    QElapsedTimer waited;
    waited.start();
    bool pulled = false;
    while (!provision.waitForFinished(kPollMs) && waited.elapsed() < kRunMs) {
        // The cable of unit 3 is pulled: its pseudo-terminal goes.
        if (!pulled && waited.elapsed() >= kPullAfterMs) {
            sims[kPulledPort - 1].process().kill();
            pulled = true;
        }
    }
    ASSERT_EQ(provision.state(), QProcess::NotRunning) << "did not finish";
    EXPECT_EQ(provision.exitCode(), 4) << provision.readAllStandardError().toStdString();

    std::set<qint64> serials;
    std::set<int> portsSeen;
    QString pulledMessage;
    for (const QByteArray &text : provision.readAllStandardOutput().trimmed().split('\n')) {
        const QJsonObject line = QJsonDocument::fromJson(text).object();
        const int port = line["port"].toInt();
        portsSeen.insert(port);
        std::printf("COM%d %s in %.1f s\n",
                    port,
                    qPrintable(line["outcome"].toString()),
                    line["seconds"].toDouble());
        if (port == kPulledPort) {
            EXPECT_EQ(line["outcome"].toString(), "failed");
            pulledMessage = line["message"].toString();
            EXPECT_TRUE(pulledMessage.contains("lost")) << pulledMessage.toStdString();
        } else {
            EXPECT_EQ(line["outcome"].toString(), "verified") << port;
        }
        serials.insert(qint64(line["serial"].toDouble()));
    }
    EXPECT_EQ(portsSeen.size(), size_t(kUnits));
    EXPECT_EQ(serials.size(), size_t(kUnits)) << "every unit has a number of its own";

    // The database says the same.
    QProcess units;
    units.setProcessEnvironment(environment);
    units.start(ORVANE_CLI_PATH, {"units", "--db", db, "--json"});
    ASSERT_TRUE(units.waitForFinished());
    const QJsonArray records
        = QJsonDocument::fromJson(units.readAllStandardOutput()).object()["records"].toArray();
    ASSERT_EQ(records.size(), kUnits);
    for (const QJsonValue &value : records) {
        const QJsonObject record = value.toObject();
        const bool pulled = record["port"].toInt() == kPulledPort;
        EXPECT_EQ(record["state"].toString(), pulled ? "failed" : "verified");
        EXPECT_EQ(record["productCode"].toInt(), 2);
        EXPECT_EQ(record["files"].toArray().size(), 13);
        if (pulled) {
            EXPECT_EQ(record["message"].toString(), pulledMessage);
        }
    }
}

} // namespace
} // namespace orvane::test
