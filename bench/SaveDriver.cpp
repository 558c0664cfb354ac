// Drives the real main window's File menu on the real Qt platform, so that a
// script can kill the editor with SIGKILL at any moment of a save and then
// check what is left on disk.
//
//     orvane_save_driver save FOLDER BASE    File > Save, again and again
//     orvane_save_driver saveas FOLDER BASE  File > Save As OTHER.CFG, again and again
//     orvane_save_driver check FOLDER        every file whole, old or new?
//
// FOLDER is the program's folder (the working file DEFAULT.CFG lives there).
// Every save carries a new generation number, BASE + 1, BASE + 2, ..., in the
// image, and the driver notes "begin G NAME" before and "end G NAME" after
// each save in FOLDER/saves.log. The check reads each file with the editor's
// own reader: a file is whole and old when it holds the last generation that
// ended, whole and new when it holds the one that began after it.

#include "FolderFiles.h"

#include "app/AppState.h"
#include "app/ui/frmMain.h"
#include "config/ConfigFile.h"
#include "config/Defaults.h"
#include "platform/qt/QtPlatform.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTextStream>

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <iostream>
#include <map>
#include <string>
#include <vector>

namespace orvane::bench {
namespace {

constexpr const char *kWorkingFile = "DEFAULT.CFG";
constexpr const char *kOtherFile = "OTHER.CFG";
constexpr const char *kLog = "saves.log";
// The generation rides in the two tank sizes, high word first.
constexpr int kGenerationHigh = 21;
constexpr int kGenerationLow = 23;

uint32_t generationOf(const ConfigImage &image)
{
    return uint32_t(image.IntNvm.word(kGenerationHigh)) << 16 | image.IntNvm.word(kGenerationLow);
}

// Save As is answered with OTHER.CFG; every question No, every message OK.
class ScriptedDialogs : public UserDialogs
{
public:
    explicit ScriptedDialogs(std::string otherFile)
        : m_otherFile(std::move(otherFile))
    {}
    void beep() override {}
    MessageAnswer messageBox(const std::string &text,
                             const std::string &title,
                             MessageIcon,
                             MessageButtons buttons) override
    {
        std::cerr << title << ": " << text << "\n";
        return buttons == MessageButtons::YesNo ? MessageAnswer::No : MessageAnswer::Ok;
    }
    std::string inputBox(const std::string &, const std::string &, const std::string &) override
    {
        return {};
    }
    std::string openFileName(const std::string &, const std::string &) override { return {}; }
    std::string saveFileName(const std::string &, const std::string &) override
    {
        return m_otherFile;
    }

private:
    std::string m_otherFile;
};

// Appends a line with one unbuffered write, so a kill loses no line that was
// written and tears none.
class SaveLog
{
public:
    explicit SaveLog(const QString &path)
        : m_fd(::open(path.toLocal8Bit().constData(), O_WRONLY | O_CREAT | O_APPEND, 0644))
    {}
    ~SaveLog() { ::close(m_fd); }
    bool ok() const { return m_fd >= 0; }
    void note(const char *what, uint32_t generation, const char *name)
    {
        const std::string line
            = std::string(what) + " " + std::to_string(generation) + " " + name + "\n";
        if (::write(m_fd, line.data(), line.size()) != ssize_t(line.size()))
            std::perror("saves.log");
    }

private:
    int m_fd;
};

int saveForever(const QString &folder, bool saveAs, uint32_t base)
{
    QtPlatform qt;
    FolderFiles files(folder.toStdString());
    ScriptedDialogs dialogs(QDir(folder).filePath(kOtherFile).toStdString());
    Platform platform{qt.clock, qt.pump, dialogs, files, qt.port};
    SaveLog log(QDir(folder).filePath(kLog));
    if (!log.ok()) {
        std::perror("saves.log");
        return 2;
    }

    AppState state;
    frmMain window(state, platform);
    // Start-up rewrites a missing working file: a save like the others.
    const bool rewrite = !QFile::exists(QDir(folder).filePath(kWorkingFile));
    ConfigImage defaults;
    writeDefaultIntNvm(defaults.IntNvm);
    if (rewrite)
        log.note("begin", generationOf(defaults), kWorkingFile);
    if (!window.startup().readDefaultFile && rewrite)
        log.note("end", generationOf(defaults), kWorkingFile);

    QAction *action = window.findChild<QAction *>(saveAs ? "SaveAs" : "Save");
    if (!action) {
        std::cerr << "no File menu action\n";
        return 2;
    }
    const char *name = saveAs ? kOtherFile : kWorkingFile;
    for (uint32_t generation = base + 1;; ++generation) {
        state.document.setIntNvmWord(kGenerationHigh, uint16_t(generation >> 16));
        state.document.setIntNvmWord(kGenerationLow, uint16_t(generation & 0xFFFF));
        log.note("begin", generation, name);
        action->trigger();
        log.note("end", generation, name);
        QCoreApplication::processEvents();
    }
}

// A file holds the generation of its last save that ended, or of any save
// begun after it: a killed save may have replaced the file just before the
// kill, and the next run's saves begin without knowing.
struct Noted
{
    std::vector<uint32_t> begunSinceEnd;
    uint32_t ended = 0;
    bool anyEnded = false;

    bool isNewest(uint32_t generation) const
    {
        return !begunSinceEnd.empty() && generation == begunSinceEnd.back();
    }
    bool isOlder(uint32_t generation) const
    {
        return (anyEnded && generation == ended)
               || std::find(begunSinceEnd.begin(), begunSinceEnd.end(), generation)
                      != begunSinceEnd.end();
    }
};

// Prints one line per file and returns the number of faults.
int check(const QString &folder)
{
    std::map<std::string, Noted> noted;
    QFile logFile(QDir(folder).filePath(kLog));
    if (logFile.open(QIODevice::ReadOnly)) {
        QTextStream lines(&logFile);
        while (!lines.atEnd()) {
            const QStringList words = lines.readLine().split(' ');
            if (words.size() != 3)
                continue; // a line the kill cut short carries nothing
            Noted &n = noted[words[2].toStdString()];
            if (words[0] == "begin")
                n.begunSinceEnd.push_back(words[1].toUInt());
            else if (words[0] == "end") {
                n.ended = words[1].toUInt();
                n.anyEnded = true;
                n.begunSinceEnd.clear();
            }
        }
    }
    // Without a log (the editor itself started), the working file is new
    // once written: the factory defaults.
    if (noted.empty()) {
        ConfigImage defaults;
        writeDefaultIntNvm(defaults.IntNvm);
        noted[kWorkingFile].begunSinceEnd = {generationOf(defaults)};
    }

    int faults = 0;
    QtFileSystem files;
    for (const auto &[name, n] : noted) {
        const QString path = QDir(folder).filePath(QString::fromStdString(name));
        if (!QFile::exists(path)) {
            const bool fine = !n.anyEnded;
            std::printf("%s missing %s\n", name.c_str(), fine ? "old" : "LOST");
            faults += fine ? 0 : 1;
            continue;
        }
        const Result<std::string> text = files.readFile(path.toStdString());
        ConfigImage image;
        FileState state;
        const ConfigRead read = text ? readConfigText(image, state, *text) : ConfigRead{};
        if (!text || read.failure) {
            std::printf("%s DAMAGED at line %d\n",
                        name.c_str(),
                        read.failure ? read.failure->line : 0);
            ++faults;
            continue;
        }
        const uint32_t generation = generationOf(image);
        const char *age = n.isNewest(generation) ? "new" : n.isOlder(generation) ? "old" : nullptr;
        std::printf("%s whole %s\n", name.c_str(), age ? age : "FOREIGN");
        faults += age ? 0 : 1;
    }

    const QStringList known = {kWorkingFile, kOtherFile, kLog, "DEFAULT.CFG.bad", "orvane-editor"};
    for (const QString &entry : QDir(folder).entryList(QDir::Files | QDir::Hidden)) {
        if (!known.contains(entry))
            std::printf("%s temporary\n", entry.toLocal8Bit().constData());
    }
    return faults;
}

} // namespace
} // namespace orvane::bench

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    const QString mode = arguments.value(1);
    const QString folder = arguments.value(2);
    if (mode == "check" && !folder.isEmpty())
        return orvane::bench::check(folder) == 0 ? 0 : 1;
    if ((mode == "save" || mode == "saveas") && !folder.isEmpty() && arguments.size() == 4)
        return orvane::bench::saveForever(folder, mode == "saveas", arguments[3].toUInt());
    std::cerr << "usage: orvane_save_driver save|saveas FOLDER BASE | check FOLDER\n";
    return 2;
}
