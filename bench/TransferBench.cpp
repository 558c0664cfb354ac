// Wall time and CPU time of a full upload, a full download and a system
// backup over a pseudo-terminal against orvane-sim, each set against the time
// the protocol's fixed pauses and the wire impose: the same command run on
// the virtual clock of the fake platform, where nothing else costs time. Then
// the upload with the comparison window attached: a full one, which reads
// what the instrument holds before writing everything, and one after a
// single edit, which writes only the record that differs; both set against
// the full upload without the comparison. Last, the full upload again with
// the Serial Traffic window open (offscreen), to show what logging costs.

#include "BenchViews.h"
#include "CpuTime.h"
#include "app/AppState.h"

#include "config/Defaults.h"
#include "link/ByteLink.h"
#include "link/Connection.h"
#include "link/ui/frmSerialTraffic.h"
#include "platform/qt/QtPlatform.h"
#include "support/FakePlatform.h"
#include "transfer/Transfers.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <chrono>
#include <cstdio>
#include <functional>
#include <iostream>
#include <string>
#include <vector>

namespace orvane::bench {
namespace {

constexpr int kBenchPort = 10; // COM10: out of the way of a user's COM1
constexpr int kSimStartMs = 10000;

void prepare(AppState &state, ByteLink &link)
{
    loadFactoryDefaults(state.document, state.editor, state.transfer.NewUnitPending);
    link.setComPortNumber(kBenchPort);
    state.transfer.UploadSelection.fill(1);
    state.transfer.DownloadSelection = {0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 0, 1, 1};
}

// One editor's worth of logic over a given platform.
struct Editor
{
    explicit Editor(Platform &platform)
        : link(platform)
        , connection(platform, link, connectionView)
        , view(state.transfer)
        , transfers(state.document, state.transfer, state.editor, platform, link, connection, view)
    {
        prepare(state, link);
    }

    AppState state;
    ByteLink link;
    test::QuietConnectionView connectionView;
    Connection connection;
    HeadlessTransferView view;
    Transfers transfers;
    UploadingReview review;
};

struct Command
{
    std::string name;
    std::function<TransferResult(Editor &)> run;
};

// Uploads with the comparison window attached, writing everything or only
// what differs.
TransferResult comparedUpload(Editor &editor, bool fullWrite)
{
    editor.transfers.setUploadReview(&editor.review);
    editor.state.transfer.forceFullWrite = fullWrite;
    return editor.transfers.cmdUpload();
}

// The full upload with the Serial Traffic window open on the editor's link,
// refreshing as it does for a user.
TransferResult uploadWithTrafficWindow(Editor &editor, Platform &platform)
{
    frmSerialTraffic window(platform);
    QObject::connect(&window, &frmSerialTraffic::tapChanged, [&editor](TrafficTap *tap) {
        editor.link.setTrafficTap(tap);
    });
    window.show();
    editor.transfers.setUploadReview(nullptr);
    const TransferResult result = editor.transfers.cmdUpload();
    window.close();
    return result;
}

struct Figures
{
    double wall = 0;
    double protocol = 0;
    double cpu = 0;
};

bool startSimulator(QProcess &sim, const QString &linkPath)
{
    sim.setProgram(QStringLiteral(ORVANE_SIM_PATH));
    sim.setArguments({QStringLiteral("--link"), linkPath, QStringLiteral("--quiet")});
    sim.start();
    if (!sim.waitForStarted(kSimStartMs))
        return false;
    // The first line names the terminal once the link is in place.
    while (!sim.canReadLine()) {
        if (!sim.waitForReadyRead(kSimStartMs))
            return false;
    }
    std::cout << sim.readLine().trimmed().toStdString() << "\n";
    return QFileInfo(linkPath).isSymLink();
}

int run()
{
    QTemporaryDir folder;
    if (!folder.isValid()) {
        std::cerr << "cannot make a temporary folder\n";
        return 1;
    }
    const QString linkPath = QDir(folder.path()).filePath(QStringLiteral("COM%1").arg(kBenchPort));
    QProcess sim;
    if (!startSimulator(sim, linkPath)) {
        std::cerr << "orvane-sim did not start: " << sim.errorString().toStdString() << "\n";
        return 1;
    }

    QtPlatform qt;
    YesDialogs dialogs;
    qt.port.setLinkFolder(folder.path());
    // The copies each compared upload keeps go to scratch folders.
    ScratchDataFileSystem files(QDir(folder.path()).filePath(QStringLiteral("pty")).toStdString());
    Platform real{qt.clock, qt.pump, dialogs, files, qt.port};
    Editor overPty(real);

    test::FakePlatform fake;
    fake.files.userDataDir = QDir(folder.path()).filePath(QStringLiteral("virtual")).toStdString();
    Platform ideal{fake.clock, fake.pump, dialogs, fake.files, fake.port};
    Editor onVirtualClock(ideal);

    const std::vector<Command> commands = {
        {"full upload",
         [](Editor &e) {
             e.transfers.setUploadReview(nullptr);
             return e.transfers.cmdUpload();
         }},
        {"full download",
         [](Editor &e) {
             return e.transfers.cmdDownload();
         }},
        {"system backup",
         [](Editor &e) {
             return e.transfers.CreateBackup();
         }},
        {"compared upload",
         [](Editor &e) {
             return comparedUpload(e, true);
         }},
        {"one-edit upload",
         [](Editor &e) {
             e.state.document.image.CDC(3, 28) ^= 8; // display 1: Engine RPM <-> Boat Speed
             return comparedUpload(e, false);
         }},
        {"traffic upload",
         [&](Editor &e) {
             return uploadWithTrafficWindow(e, &e == &overPty ? real : ideal);
         }},
    };

    std::vector<Figures> figures;
    for (const Command &command : commands) {
        Figures f;
        const double virtualStart = fake.scheduler.now();
        const TransferResult idealResult = command.run(onVirtualClock);
        f.protocol = fake.scheduler.now() - virtualStart;

        const double cpuStart = processCpuSeconds();
        const auto wallStart = std::chrono::steady_clock::now();
        const TransferResult result = command.run(overPty);
        f.wall
            = std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
        f.cpu = processCpuSeconds() - cpuStart;

        const auto completed = [](const TransferResult &r) {
            return r.ok() && *r == TransferOutcome::Completed;
        };
        if (!completed(idealResult) || !completed(result)) {
            std::cerr << command.name << " did not complete: " << result.error()
                      << idealResult.error() << "\n";
            sim.terminate();
            sim.waitForFinished();
            return 1;
        }
        figures.push_back(f);
    }
    sim.terminate();
    sim.waitForFinished();

    std::printf("%-15s %10s %12s %8s %8s %9s\n",
                "command",
                "wall s",
                "protocol s",
                "ratio",
                "CPU s",
                "CPU/wall");
    for (size_t i = 0; i < commands.size(); ++i) {
        const Figures &f = figures[i];
        std::printf("%-15s %10.3f %12.3f %8.3f %8.3f %8.2f%%\n",
                    commands[i].name.c_str(),
                    f.wall,
                    f.protocol,
                    f.wall / f.protocol,
                    f.cpu,
                    100.0 * f.cpu / f.wall);
    }
    std::printf("Each command connects, runs and disconnects as the editor's buttons do. "
                "\"protocol\" is the same command on the virtual clock: its fixed pauses and "
                "the wire time of 115200 8N1 alone. \"compared upload\" reads what the "
                "instrument holds, keeps a copy of it and then writes everything; \"one-edit "
                "upload\" does the same after one configuration was edited and writes only "
                "what differs.\n");
    const auto wall = [&](const std::string &name) {
        for (size_t i = 0; i < commands.size(); ++i)
            if (commands[i].name == name)
                return figures[i].wall;
        return 0.0;
    };
    const double full = wall("full upload");
    std::printf("The comparison's reads cost %.3f s: compared upload / full upload = %.2f "
                "(budget 1.5); one-edit upload / full upload = %.2f (budget 0.5).\n",
                wall("compared upload") - full,
                wall("compared upload") / full,
                wall("one-edit upload") / full);
    const auto cpu = [&](const std::string &name) {
        for (size_t i = 0; i < commands.size(); ++i)
            if (commands[i].name == name)
                return figures[i].cpu;
        return 0.0;
    };
    std::printf("\"traffic upload\" is the full upload with the Serial Traffic window open: "
                "%.3f CPU s against %.3f closed (%+.3f s, %.2f%% of the upload's wall time).\n",
                cpu("traffic upload"),
                cpu("full upload"),
                cpu("traffic upload") - cpu("full upload"),
                100.0 * (cpu("traffic upload") - cpu("full upload")) / full);
    return 0;
}

} // namespace
} // namespace orvane::bench

int main(int argc, char **argv)
{
    // The traffic window is drawn offscreen: no display is needed.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    return orvane::bench::run();
}
