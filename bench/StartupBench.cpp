// Start-up of the editor and the configuration file's write and read, as a
// user feels them. Reports numbers; never fails on a timing.

#include "app/AppState.h"
#include "app/ui/frmMain.h"
#include "config/ConfigFile.h"
#include "config/Defaults.h"
#include "platform/qt/QtPlatform.h"
#include "support/FakePlatform.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int kRuns = 20;

// The median of a few runs, in milliseconds.
template<typename Work>
double medianMs(Work work)
{
    std::vector<double> times;
    for (int i = 0; i < kRuns; ++i) {
        QElapsedTimer timer;
        timer.start();
        work();
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir folder;
    orvane::test::FakePlatform fake;
    fake.files.programDir = folder.path().toStdString();
    fake.files.userDataDir = folder.path().toStdString();

    const double firstStart = medianMs([&] {
        QFile::remove(folder.filePath("DEFAULT.CFG"));
        orvane::AppState state;
        orvane::frmMain window(state, fake.platform);
        window.startup();
        window.show();
        QCoreApplication::processEvents();
    });
    const double laterStart = medianMs([&] {
        orvane::AppState state;
        orvane::frmMain window(state, fake.platform);
        window.startup();
        window.show();
        QCoreApplication::processEvents();
    });

    orvane::AppState state;
    orvane::loadFactoryDefaults(state.document, state.editor, false);
    orvane::QtFileSystem files;
    const std::string path = folder.filePath("BENCH.CFG").toStdString();
    orvane::Platform platform{fake.clock, fake.pump, fake.dialogs, files, fake.port};
    const double write = medianMs([&] {
        (void)orvane::saveConfigsFileAs(state.document.image, state.files, 0, platform, path);
    });
    const double read = medianMs(
        [&] { orvane::readConfigFile(state.document.image, state.files, platform, path); });

    std::printf("editor start-up, first run (defaults written): %8.1f ms\n", firstStart);
    std::printf("editor start-up, reading DEFAULT.CFG:          %8.1f ms\n", laterStart);
    std::printf("configuration file write (3351 lines):         %8.2f ms\n", write);
    std::printf("configuration file read:                       %8.2f ms\n", read);
    return 0;
}
