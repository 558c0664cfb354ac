// Randomized fault soak: many exchanges against orvane-sim over a
// pseudo-terminal, each with one fault injected at a random moment. For every
// run it records the outcome, the time from the fault to the message the user
// sees, whether the PC's image is byte for byte what it was, and how the
// instrument's records stand (new, old or torn). It holds the editor to its
// promises: a failed exchange never hangs, never reports success, never
// changes the PC's image, and says so within a second of the fault.
//
//     orvane_fault_soak [--runs N] [--seed S] [--exchanges upload,download,...]

#include "BenchViews.h"
#include "FolderFiles.h"
#include "SoakRecords.h"
#include "SoakReport.h"
#include "SoakSimulator.h"
#include "WatchedPort.h"

#include "app/AppState.h"
#include "config/Defaults.h"
#include "factory/MemoryDumps.h"
#include "link/ByteLink.h"
#include "link/Connection.h"
#include "link/Resynchronisation.h"
#include "platform/qt/QtPlatform.h"
#include "sim/Instrument.h"
#include "transfer/TransferImage.h"
#include "transfer/Transfers.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <iostream>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace orvane::bench {
namespace {

constexpr int kSoakPort = 11; // COM11: out of the way of a user's ports
// A run that takes this much longer than the same exchange without a fault hangs.
constexpr double kHangMargin = 30.0;
// A fault the exchange meets while it connects or reads may first go through
// the recovery the editor is built to make before it gives up and says so:
// the connection's 50 presence probes and one try at bringing a unit back
// into step (a "#" that finds no echo, then its runs of eight), or the rest
// of the identification (six frames and their pauses) followed by five reads
// of the settings and the end of the exchange. The message is due within the
// deadline after the longer of the two.
constexpr double kFrameSeconds = 5 * ByteLink::kSendBytePause;
constexpr double kProbing
    = Connection::kMaxProbeTries * (ByteLink::kSendBytePause + Connection::kConnectReadPause)
      + ByteLink::kEchoTimeout
      + kRecoveryRuns * (kResyncCount * ByteLink::kSendBytePause + kResyncPause);
constexpr double kIdentificationRest
    = 6 * kFrameSeconds + 4 * Connection::kConnectReadPause + 2 * Connection::kConnectNvmPause;
constexpr double kSettingsReads
    = Exchange::kMaxReadAttempts
      * (Exchange::kSettingsReadLeadPause + kFrameSeconds + Exchange::kSettingsReadPause);
constexpr double kExchangeEnd = Transfers::kEndPause + kFrameSeconds;
constexpr double kRetryAllowance
    = std::max(kProbing, kIdentificationRest + kSettingsReads + kExchangeEnd);
// Echoes this late still beat the echo timeout; they last this long.
constexpr int kLateEchoMs = int(ByteLink::kEchoTimeout * 1000 * 0.7);
constexpr int kLateEchoesLastMs = 1500;
// Data bytes an echo fault lets through at most, and a short answer's most bytes
// (below a 64-byte block, so that every read can be cut).
constexpr int kMostEchoesBeforeStop = 300;
constexpr int kMostShortReadBytes = 63;

using SteadyClock = std::chrono::steady_clock;

double secondsBetween(SteadyClock::time_point from, SteadyClock::time_point to)
{
    return std::chrono::duration<double>(to - from).count();
}

// --- the editor, headless -----------------------------------------------------------

// Records every message and box the user would see. The exchange's own
// confirmation is answered Yes and its own prompts with its answers; every
// other question No (so a connection that keeps failing asks once and gives
// up), every other input box Cancel.
class SoakDialogs : public UserDialogs
{
public:
    struct Shown
    {
        SteadyClock::time_point at;
        std::string title;
        std::string text;
        MessageIcon icon;
    };

    std::string confirmation;
    std::deque<std::string> answers;
    std::vector<Shown> shown;

    void beep() override {}
    MessageAnswer messageBox(const std::string &text,
                             const std::string &title,
                             MessageIcon icon,
                             MessageButtons buttons) override
    {
        if (buttons == MessageButtons::YesNo && title == confirmation)
            return MessageAnswer::Yes;
        shown.push_back({SteadyClock::now(), title, text, icon});
        return buttons == MessageButtons::YesNo ? MessageAnswer::No : MessageAnswer::Ok;
    }
    std::string
    inputBox(const std::string &prompt, const std::string &title, const std::string &) override
    {
        if (!answers.empty()) {
            std::string answer = std::move(answers.front());
            answers.pop_front();
            return answer;
        }
        shown.push_back({SteadyClock::now(), title, prompt, MessageIcon::Question});
        return {};
    }
    std::string openFileName(const std::string &, const std::string &) override { return {}; }
    std::string saveFileName(const std::string &, const std::string &) override { return {}; }
};

// The PC's image during the soak: unlike the instrument's start memories in
// every record and every category, so that new content can be told from old.
ConfigImage soakImage()
{
    AppState state;
    loadFactoryDefaults(state.document, state.editor, false);
    ConfigImage image = state.document.image;
    for (int c = 1; c <= kConfigurations; ++c) {
        for (int n = 1; n < kConfigBytes; ++n)
            image.CDC(c, n) = uint8_t(c * 7 + n * 13);
        image.CDC(c, 0) = image.CDC.checkByte(c);
    }
    for (int i = 1; i < kIntNvmBytes; ++i)
        image.IntNvm[i] = uint8_t(i * 3 + 57);
    image.IntNvm[0] = image.IntNvm.checkByte();
    for (const int curve : kUploadedCurves) {
        for (int p = 1; p <= kCurvePoints; ++p) {
            image.CalCurve(curve, p, 1) = float(10 * p + curve);
            image.CalCurve(curve, p, 2) = float(20 * p);
        }
    }
    return image;
}

// The instrument every run starts from: each area an exchange writes holds
// its own pattern, unlike the PC's image and unlike the other areas, so that
// every record an exchange writes changes. The settings keep a right check
// byte, which the upload insists on.
Memories unlikeAnyExchange(Memories m)
{
    constexpr size_t kLiveArea
        = size_t(Transfers::kEepromBackupBlocks) * size_t(Transfers::kBackupBlockSize);
    constexpr size_t kCurveArea = size_t(kCurves) * size_t(kRecordSize);
    const auto fill = [&m](size_t from, size_t count, unsigned step, unsigned offset) {
        for (size_t a = from; a < from + count; ++a)
            m.eeprom[a] = uint8_t(a * step + offset);
    };
    fill(0, kLiveArea, 7, 3);
    fill(kCurveRecordsAddress, kCurveArea, 11, 5);
    fill(kNvmBackupAddress, kSettingsSize, 13, 1);
    fill(kEepromBackupAddress, kLiveArea, 3, 9);
    uint8_t check = 0;
    for (int i = 1; i < kSettingsSize; ++i) {
        m.internalNvm[size_t(i)] = uint8_t(i * 5 + 17);
        check ^= m.internalNvm[size_t(i)];
    }
    m.internalNvm[0] = check;
    return m;
}

// The connection copies the instrument's upload counter into the image, as
// every connection does; that copy is not a change an exchange makes.
ConfigImage withoutUploadCounter(ConfigImage image)
{
    image.IntNvm[kUploadCounterAddress] = 0;
    image.IntNvm[kUploadCounterAddress + 1] = 0;
    return image;
}

bool sameImage(const ConfigImage &a, const ConfigImage &b)
{
    return withoutUploadCounter(a) == withoutUploadCounter(b);
}

struct SoakEditor
{
    SoakEditor(Platform &platform, const ConfigImage &image)
        : link(platform)
        , connection(platform, link, connectionView)
        , view(state.transfer)
        , transfers(state.document, state.transfer, state.editor, platform, link, connection, view)
        , factory{platform,
                  link,
                  connection,
                  state.document,
                  state.transfer,
                  state.files,
                  factoryView}
    {
        loadFactoryDefaults(state.document, state.editor, state.transfer.NewUnitPending);
        state.document.image = image;
        state.document.changed = false;
        link.setComPortNumber(kSoakPort);
        state.transfer.UploadSelection.fill(1);
        state.transfer.DownloadSelection = {0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 0, 1, 1};
    }
    ~SoakEditor() { link.closePort(); }

    AppState state;
    ByteLink link;
    test::QuietConnectionView connectionView;
    Connection connection;
    HeadlessTransferView view;
    Transfers transfers;
    ReportingFactoryView factoryView;
    FactoryServices factory;
};

// --- what is soaked: one row per exchange, one per fault ---------------------------------

// How an exchange ended, whichever tool ran it.
struct Ended
{
    std::string outcome; // "completed", "cancelled", "failed", ...
    std::string error;   // the message of a failure
    bool completed() const { return outcome == "completed"; }
};

template<typename Outcome>
Ended ended(const Result<Outcome> &result)
{
    if (!result)
        return {"failed", result.error()};
    switch (*result) {
    case Outcome::Completed:
        return {"completed", {}};
    case Outcome::Cancelled:
        return {"cancelled", {}};
    case Outcome::NotConnected:
        return {"not connected", {}};
    case Outcome::Busy:
        return {"busy", {}};
    }
    return {"?", {}};
}

struct Exchange
{
    const char *name;
    const char *confirmation; // the title of its "are you sure" question
    Ended (*run)(SoakEditor &);
    // What the technician types into its prompts, in turn.
    std::vector<std::string> answers = {};
    // Reads of the settings are repeated until whole and right; a dump's one
    // read is not, so a spoilt read stops it.
    bool repeatsReads = true;
};

template<FactoryMemory memory>
Ended dump(SoakEditor &e)
{
    return ended(dumpMemory(e.factory, memory));
}

// The dumps read 256 bytes each. The internal NVM's is of the half past the
// settings image: a dump carries no check byte, so a spoilt check byte there
// would be a change nobody on the PC side could see, not a fault to report.
const std::vector<Exchange> kExchanges = {
    {"upload",
     "",
     [](SoakEditor &e) {
         return ended(e.transfers.cmdUpload());
     }},
    {"download",
     "",
     [](SoakEditor &e) {
         return ended(e.transfers.cmdDownload());
     }},
    {"backup",
     "Create System Backup",
     [](SoakEditor &e) {
         return ended(e.transfers.CreateBackup());
     }},
    {"restore",
     "Restore All from Backup",
     [](SoakEditor &e) {
         return ended(e.transfers.RestoreBackup());
     }},
    {"read-back",
     "",
     [](SoakEditor &e) {
         return ended(e.transfers.ReadEverything());
     }},
    {"iram-dump", "", dump<FactoryMemory::Iram>, {"0", "256"}, false},
    {"xram-dump", "", dump<FactoryMemory::Xram>, {"0", "256"}, false},
    {"nvm-dump", "", dump<FactoryMemory::InternalNvm>, {"256", "256"}, false},
    {"24c512-dump",
     "",
     dump<FactoryMemory::Eeprom>,
     {std::to_string(kNvmBackupAddress), "256"},
     false},
    {"flash-dump", "", dump<FactoryMemory::Flash>, {"0", "256"}, false},
};

struct FaultContext
{
    SoakSimulator &sim;
    std::mt19937 &random;
    std::string detail;
};

struct Fault
{
    const char *name;
    bool harmless;    // the exchange must still succeed...
    bool spoilsReads; // ...unless the fault spoils a read the exchange makes once
    void (*inject)(FaultContext &);
};

bool harmlessTo(const Fault &fault, const Exchange &exchange)
{
    return fault.harmless && (exchange.repeatsReads || !fault.spoilsReads);
}

int uniform(std::mt19937 &random, int lowest, int highest)
{
    return std::uniform_int_distribution<int>(lowest, highest)(random);
}

const std::vector<Fault> kFaults = {
    {"no answer",
     false,
     false,
     [](FaultContext &f) {
         f.sim.control("fault no-answer on");
     }},
    {"echoes stop",
     false,
     false,
     [](FaultContext &f) {
         const int echoes = uniform(f.random, 0, kMostEchoesBeforeStop);
         f.detail = "after " + std::to_string(echoes);
         f.sim.control("fault echoes-stop-after " + std::to_string(echoes));
     }},
    {"late echoes",
     true,
     false,
     [](FaultContext &f) {
         f.detail = std::to_string(kLateEchoMs) + " ms";
         f.sim.control("fault echo-delay-ms " + std::to_string(kLateEchoMs));
         QTimer::singleShot(kLateEchoesLastMs,
                            [&sim = f.sim] { sim.control("fault echo-delay-ms off"); });
     }},
    {"short read",
     true,
     true,
     [](FaultContext &f) {
         const int bytes = uniform(f.random, 0, kMostShortReadBytes);
         f.detail = std::to_string(bytes) + " bytes";
         f.sim.control("fault short-reads " + std::to_string(bytes) + " next 1");
     }},
    {"bad check byte",
     true,
     true,
     [](FaultContext &f) {
         f.sim.control("fault bad-check-byte 1");
     }},
    {"port vanishes",
     false,
     false,
     [](FaultContext &f) {
         f.sim.stop();
     }},
    {"restart",
     false,
     false,
     [](FaultContext &f) {
         f.sim.stop();
         f.sim.startDetached();
     }},
};

// --- one run ------------------------------------------------------------------------

struct Reference
{
    Memories after;
    ConfigImage pcAfter;
    std::string report; // the factory window's
    double seconds = 0;
};

// Ends the process when a run outlives its deadline: a hang is the one
// failure a run cannot report itself.
class Watchdog
{
public:
    Watchdog(double seconds, std::string what)
        : m_thread([this, seconds, what = std::move(what)] {
            std::unique_lock lock(m_mutex);
            if (!m_done.wait_for(lock, std::chrono::duration<double>(seconds), [this] {
                    return m_finished;
                })) {
                std::fprintf(stderr, "HANG: %s did not end within %.0f s\n", what.c_str(), seconds);
                std::_Exit(3);
            }
        })
    {}
    ~Watchdog()
    {
        {
            std::lock_guard lock(m_mutex);
            m_finished = true;
        }
        m_done.notify_one();
        m_thread.join();
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_done;
    bool m_finished = false;
    std::thread m_thread;
};

class Soak
{
public:
    explicit Soak(QtPlatform &qt)
        : m_qt(qt)
        , m_linkPath(m_folder.filePath(QStringLiteral("COM%1").arg(kSoakPort)))
        , m_startState(m_folder.filePath(QStringLiteral("start.state")))
        , m_runState(m_folder.filePath(QStringLiteral("run.state")))
        , m_control(m_folder.filePath(QStringLiteral("control")))
        , m_files(m_folder.path().toStdString())
        , m_pcImage(soakImage())
    {
        qt.port.setLinkFolder(m_folder.path());
    }

    // The instrument every run starts from, and each exchange once without a
    // fault, for what it should leave behind.
    bool prepare(const std::vector<const Exchange *> &exchanges, std::string *error)
    {
        if (!sim::Instrument().saveState(m_startState.toStdString(), error))
            return false;
        auto start = readMemories(m_startState, error);
        if (!start)
            return false;
        m_start = unlikeAnyExchange(*start);
        if (!writeMemories(m_startState, m_start, error))
            return false;

        for (const Exchange *e : exchanges) {
            if (!startRun(error))
                return false;
            SoakSimulator run(m_linkPath, m_runState, m_control);
            if (!run.start(error))
                return false;
            Reference reference;
            const auto began = SteadyClock::now();
            const Ended result = runClean(*e, &reference.pcAfter, &reference.report);
            reference.seconds = secondsBetween(began, SteadyClock::now());
            run.stop();
            if (!result.completed()) {
                *error = std::string("without a fault, ") + e->name + " ended " + result.outcome
                         + ": " + result.error;
                return false;
            }
            const auto after = readMemories(m_runState, error);
            if (!after)
                return false;
            reference.after = *after;
            m_references[e->name] = reference;
            std::printf("%-10s without a fault: %6.2f s\n", e->name, reference.seconds);
        }
        return true;
    }

    RunRecord run(int number, const Exchange &exchange, const Fault &fault, std::mt19937 &random)
    {
        RunRecord record;
        record.number = number;
        record.exchange = exchange.name;
        record.fault = fault.name;
        const Reference &reference = m_references.at(exchange.name);
        record.moment = std::uniform_real_distribution<double>(0.0, reference.seconds)(random);

        std::string error;
        if (!startRun(&error)) {
            record.violations.push_back(error);
            return record;
        }
        SoakSimulator sim(m_linkPath, m_runState, m_control);
        if (!sim.start(&error)) {
            record.violations.push_back(error);
            return record;
        }

        SoakDialogs dialogs;
        dialogs.confirmation = exchange.confirmation;
        dialogs.answers.assign(exchange.answers.begin(), exchange.answers.end());
        WatchedPort port(m_qt.port);
        Platform platform{m_qt.clock, m_qt.pump, dialogs, m_files, port};
        SoakEditor editor(platform, m_pcImage);
        const ConfigImage imageBefore = editor.state.document.image;

        FaultContext context{sim, random, {}};
        std::optional<SteadyClock::time_point> faultAt;
        QTimer faultTimer;
        faultTimer.setSingleShot(true);
        faultTimer.setTimerType(Qt::PreciseTimer);
        QObject::connect(&faultTimer, &QTimer::timeout, [&] {
            faultAt = SteadyClock::now();
            fault.inject(context);
        });
        faultTimer.start(int(record.moment * 1000));

        const auto began = SteadyClock::now();
        Ended result{"not run", {}};
        {
            const Watchdog watchdog(reference.seconds + kHangMargin,
                                    "run " + std::to_string(number) + " (" + exchange.name + ", "
                                        + fault.name + ")");
            result = exchange.run(editor);
        }
        const auto ended = SteadyClock::now();
        faultTimer.stop();
        // Late echoes may still be switched off by a pending timer; the
        // simulator is stopped either way.
        QCoreApplication::processEvents();
        editor.link.closePort();
        sim.stop();

        record.seconds = secondsBetween(began, ended);
        record.detail = context.detail;
        record.outcome = result.outcome;
        record.faulted = faultAt.has_value();
        if (!dialogs.shown.empty()) {
            record.message = dialogs.shown.front().title + ": " + dialogs.shown.front().text;
            record.warned
                = std::any_of(dialogs.shown.begin(), dialogs.shown.end(), [](const auto &s) {
                      return s.icon != MessageIcon::Information;
                  });
            if (faultAt)
                record.faultToMessage
                    = secondsBetween(port.quietSince(*faultAt, dialogs.shown.front().at),
                                     dialogs.shown.front().at);
        }
        record.imageUnchanged = sameImage(editor.state.document.image, imageBefore);

        const auto after = readMemories(m_runState, &error);
        if (!after) {
            record.violations.push_back("the simulator's memories could not be read: " + error);
            return record;
        }
        record.records = countRecords(m_start, reference.after, *after);
        judge(record,
              harmlessTo(fault, exchange),
              result,
              sameImage(editor.state.document.image, reference.pcAfter)
                  && editor.factoryView.report == reference.report);
        return record;
    }

private:
    bool startRun(std::string *error)
    {
        QFile::remove(m_runState);
        if (!QFile::copy(m_startState, m_runState)) {
            *error = "cannot copy the start state";
            return false;
        }
        return true;
    }

    Ended runClean(const Exchange &exchange, ConfigImage *pc, std::string *report)
    {
        SoakDialogs dialogs;
        dialogs.confirmation = exchange.confirmation;
        dialogs.answers.assign(exchange.answers.begin(), exchange.answers.end());
        Platform platform{m_qt.clock, m_qt.pump, dialogs, m_files, m_qt.port};
        SoakEditor editor(platform, m_pcImage);
        const Ended result = exchange.run(editor);
        *pc = editor.state.document.image;
        *report = editor.factoryView.report;
        if (!dialogs.shown.empty())
            std::cerr << dialogs.shown.front().title << ": " << dialogs.shown.front().text << "\n";
        return result;
    }

    // `asIntended`: the PC's image and the factory window's report are what
    // the exchange leaves without a fault.
    static void judge(RunRecord &r, bool harmless, const Ended &result, bool asIntended)
    {
        std::vector<std::string> &v = r.violations;
        const bool completed = result.completed();
        if (r.records.stray > 0)
            v.push_back("records the exchange never writes changed");
        if (completed) {
            if (r.records.old + r.records.torn > 0)
                v.push_back("success reported, yet records are not new");
            if (!asIntended)
                v.push_back(
                    "success reported, yet the PC's image or the report is not as intended");
            if (r.warned)
                v.push_back("success reported after a warning");
            return;
        }
        if (!r.faulted)
            v.push_back("stopped without a fault");
        if (r.faulted && harmless)
            v.push_back("a harmless fault stopped the exchange");
        if (r.message.empty())
            v.push_back("stopped without a message");
        if (!r.imageUnchanged)
            v.push_back("a failed exchange changed the PC's image");
        if (r.faultToMessage && *r.faultToMessage > kMessageDeadline + kRetryAllowance)
            v.push_back("message late");
    }

    QtPlatform &m_qt;
    QTemporaryDir m_folder;
    QString m_linkPath;
    QString m_startState;
    QString m_runState;
    QString m_control;
    // The copies an upload keeps of the unit go here, not to the user's folder.
    FolderFiles m_files;
    ConfigImage m_pcImage;
    Memories m_start;
    std::map<std::string, Reference> m_references;
};

struct Options
{
    int runs = 200;
    int first = 1; // the number of the first run, which picks its pairing
    int jobs = 1;
    unsigned seed = 1;
    QString rowsFile; // a job's runs go here instead of into a report
    QStringList exchangeNames;
    std::vector<const Exchange *> exchanges;
};

std::optional<Options> parseOptions(const QStringList &arguments)
{
    Options options;
    for (int i = 1; i + 1 < arguments.size(); i += 2) {
        const QString &a = arguments[i];
        const QString &value = arguments[i + 1];
        if (a == "--runs")
            options.runs = value.toInt();
        else if (a == "--first")
            options.first = value.toInt();
        else if (a == "--jobs")
            options.jobs = value.toInt();
        else if (a == "--seed")
            options.seed = value.toUInt();
        else if (a == "--rows")
            options.rowsFile = value;
        else if (a == "--exchanges")
            options.exchangeNames = value.split(',');
        else
            return std::nullopt;
    }
    if (arguments.size() % 2 == 0)
        return std::nullopt;
    for (const Exchange &e : kExchanges) {
        if (options.exchangeNames.isEmpty() || options.exchangeNames.contains(e.name))
            options.exchanges.push_back(&e);
    }
    if (options.exchanges.size() != size_t(options.exchangeNames.size())
        && !options.exchangeNames.isEmpty())
        return std::nullopt;
    if (options.runs < 1 || options.first < 1 || options.jobs < 1)
        return std::nullopt;
    return options;
}

std::vector<std::string> faultNames()
{
    std::vector<std::string> names;
    for (const Fault &fault : kFaults)
        names.emplace_back(fault.name);
    return names;
}

int verdict(const std::vector<RunRecord> &runs, const Options &options)
{
    printReport(runs, faultNames(), kRetryAllowance);
    const bool failed = std::any_of(runs.begin(), runs.end(), [](const RunRecord &r) {
        return !r.violations.empty();
    });
    std::printf("\nseed %u, %d runs in %d jobs: %s\n",
                options.seed,
                int(runs.size()),
                options.jobs,
                failed ? "FAILED" : "passed");
    return failed || int(runs.size()) != options.runs ? 1 : 0;
}

// Runs its share of the runs in this process.
int runHere(const Options &options)
{
    QtPlatform qt;
    Soak soak(qt);
    std::string error;
    if (!soak.prepare(options.exchanges, &error)) {
        std::cerr << error << "\n";
        return 2;
    }
    QFile rows(options.rowsFile);
    if (!options.rowsFile.isEmpty() && !rows.open(QIODevice::WriteOnly | QIODevice::Append)) {
        std::cerr << "cannot write " << options.rowsFile.toStdString() << "\n";
        return 2;
    }
    std::mt19937 random(options.seed);
    std::vector<RunRecord> runs;
    for (int number = options.first; number < options.first + options.runs; ++number) {
        // Every pairing of exchange and fault comes round in turn; the
        // moment and the fault's size are random.
        const size_t turn = size_t(number - 1);
        const Exchange &exchange = *options.exchanges[turn % options.exchanges.size()];
        const Fault &fault = kFaults[turn % kFaults.size()];
        runs.push_back(soak.run(number, exchange, fault, random));
        const RunRecord &r = runs.back();
        std::fprintf(stderr,
                     "run %d: %s, %s at %.2f s: %s%s\n",
                     number,
                     r.exchange.c_str(),
                     r.fault.c_str(),
                     r.moment,
                     r.outcome.c_str(),
                     r.violations.empty() ? "" : " FAILED");
        if (rows.isOpen()) {
            rows.write(QByteArray::fromStdString(rowText(r) + "\n"));
            rows.flush();
        }
    }
    return rows.isOpen() ? 0 : verdict(runs, options);
}

// Splits the runs among jobs, each a process of its own with its own
// simulator: the exchanges mostly wait on the line, so jobs side by side cost
// little and shorten the soak as many times.
int runInJobs(const Options &options)
{
    QTemporaryDir folder;
    std::vector<std::unique_ptr<QProcess>> jobs;
    std::vector<QString> rowFiles;
    int first = options.first;
    for (int job = 0; job < options.jobs; ++job) {
        const int share = options.runs / options.jobs + (job < options.runs % options.jobs ? 1 : 0);
        if (share == 0)
            continue;
        rowFiles.push_back(folder.filePath(QString("job%1.rows").arg(job)));
        QStringList arguments = {"--runs",
                                 QString::number(share),
                                 "--first",
                                 QString::number(first),
                                 "--seed",
                                 QString::number(options.seed * 1000 + unsigned(job)),
                                 "--rows",
                                 rowFiles.back()};
        if (!options.exchangeNames.isEmpty())
            arguments += {"--exchanges", options.exchangeNames.join(',')};
        auto process = std::make_unique<QProcess>();
        process->setProcessChannelMode(QProcess::ForwardedChannels);
        process->start(QCoreApplication::applicationFilePath(), arguments);
        jobs.push_back(std::move(process));
        first += share;
    }
    for (const auto &process : jobs) {
        process->waitForFinished(-1);
        if (process->exitStatus() != QProcess::NormalExit || process->exitCode() != 0)
            std::cerr << "a job ended with status " << process->exitCode() << "\n";
    }
    std::vector<RunRecord> runs;
    for (const QString &path : rowFiles) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            continue;
        while (!file.atEnd()) {
            QByteArray row = file.readLine();
            row.chop(row.endsWith('\n') ? 1 : 0);
            if (const auto r = runFromRow(row.toStdString()))
                runs.push_back(*r);
        }
    }
    std::sort(runs.begin(), runs.end(), [](const RunRecord &a, const RunRecord &b) {
        return a.number < b.number;
    });
    return verdict(runs, options);
}

} // namespace
} // namespace orvane::bench

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const auto options = orvane::bench::parseOptions(QCoreApplication::arguments());
    if (!options) {
        std::cerr << "usage: orvane_fault_soak [--runs N] [--jobs J] [--seed S] "
                     "[--exchanges upload,download,backup,restore,read-back,\n"
                     "  iram-dump,xram-dump,nvm-dump,24c512-dump,flash-dump]\n";
        return 2;
    }
    return options->jobs > 1 ? orvane::bench::runInJobs(*options)
                             : orvane::bench::runHere(*options);
}
