// Stations issuing serial numbers at once from one production register,
// as separate processes, and an audit of what the database holds after.
//
//   orvane_register_stress run --db URL [--processes 4] [--numbers 10000]
//                              [--days 40] [--first-day 250101]
//       starts the stations on an empty database, waits, audits, prints the
//       figures; exits 0 when every number is distinct, none lost and every
//       record verified
//   orvane_register_stress station --db URL --port P --numbers N --days D
//                                  --first-day F --log FILE
//       one station: N units spread evenly over D production days
//   orvane_register_stress until-killed --db URL --port P --day DAY --log FILE
//       one station making units until it is killed (scripts/kill-register.sh)
//   orvane_register_stress check --db URL LOG...
//       the audit alone; exits 0 when the register is consistent
//
// Each unit is made as the factory makes it: issued, its details and files
// recorded, written, verified. A station notes "issued S" in its log once
// the number's transaction committed and "closed S" once the record is
// verified, so that the audit can tell a number lost from one never issued.

#include "RegisterAudit.h"

#include "platform/sql/SqlProductionRegister.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>

#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <iostream>
#include <map>
#include <string>
#include <vector>

namespace orvane::bench {
namespace {

constexpr const char *kFileNames[] = {
    "CALCURVS.DAT",
    "NVMNMEAG.DAT",
    "DECPTSA.DAT",
    "CommandMode.COD",
    "IspSerialLoader.COD",
    "HiLoEditor.COD",
    "CalibrationEditor.COD",
    "EditTachoSensitivity.COD",
    "DampingEditor.COD",
    "TimeAlarmsEditor.COD",
    "ShoBackgroundAlarms.COD",
    "Brenlow_UoM_Editor.COD",
    "KeelOffsetEditor.COD",
};

struct Options
{
    std::string command;
    std::map<std::string, std::string> values;
    std::vector<std::string> rest;

    std::string text(const std::string &name, const std::string &otherwise = "") const
    {
        const auto it = values.find(name);
        return it == values.end() ? otherwise : it->second;
    }
    int number(const std::string &name, int otherwise) const
    {
        const std::string value = text(name);
        return value.empty() ? otherwise : std::stoi(value);
    }
};

Options parse(int argc, char **argv)
{
    Options options;
    if (argc > 1)
        options.command = argv[1];
    for (int i = 2; i < argc; ++i) {
        const std::string word = argv[i];
        if (word.starts_with("--") && i + 1 < argc)
            options.values[word.substr(2)] = argv[++i];
        else
            options.rest.push_back(word);
    }
    return options;
}

// The production day `offset` calendar days after `first` (both YYMMDD).
int dayAfter(int first, int offset)
{
    using namespace std::chrono;
    const year_month_day start{year(2000 + first / 10000),
                               month(unsigned(first / 100 % 100)),
                               day(unsigned(first % 100))};
    const year_month_day date{sys_days(start) + days(offset)};
    return productionDayOf(int(date.year()),
                           int(unsigned(date.month())),
                           int(unsigned(date.day())));
}

// Stand-ins for the files' hashes: the register stores what it is given.
UnitDetails detailsFor(long long serial)
{
    UnitDetails details;
    details.productCode = 7;
    details.firmware = 42;
    details.hardwareVersion = "HW 3";
    details.moduleVersions = "SW 2.41";
    char hash[65];
    std::snprintf(hash, sizeof hash, "%064llx", serial);
    for (const char *name : kFileNames)
        details.files.push_back({name, hash});
    return details;
}

class Station
{
public:
    Station(const std::string &url, int port, const std::string &log)
        : m_port(port)
        , m_log(::open(log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644))
    {
        const auto location = parseRegisterUrl(url);
        if (!location) {
            m_error = location.error();
            return;
        }
        auto opened = SqlProductionRegister::open(*location);
        if (!opened)
            m_error = opened.error();
        else
            m_register = std::move(*opened);
    }
    ~Station() { ::close(m_log); }

    const std::string &error() const { return m_error; }
    int conflicts() const { return m_register ? m_register->conflicts() : 0; }

    // One unit, start to end; false (with error()) when a step failed.
    bool makeUnit(int productionDay)
    {
        const auto issued = m_register->issueNext(productionDay, m_port);
        if (!issued)
            return fail(issued.error());
        const RecordKey key = issued->key;
        note("issued", key.serial);
        if (auto done = m_register->setDetails(key, detailsFor(key.serial)); !done)
            return fail(done.error());
        if (auto done = m_register->markWritten(key); !done)
            return fail(done.error());
        if (auto done = m_register->finish(key, UnitState::Verified, ""); !done)
            return fail(done.error());
        note("closed", key.serial);
        return true;
    }

private:
    bool fail(const std::string &message)
    {
        m_error = message;
        return false;
    }
    // One write per line, so a kill loses at most the line it cut.
    void note(const char *what, long long serial)
    {
        const std::string line = std::string(what) + " " + std::to_string(serial) + "\n";
        if (::write(m_log, line.data(), line.size()) != ssize_t(line.size()))
            std::perror("log");
    }

    int m_port;
    int m_log;
    std::unique_ptr<SqlProductionRegister> m_register;
    std::string m_error;
};

int station(const Options &options)
{
    Station station(options.text("db"), options.number("port", 1), options.text("log"));
    const int numbers = options.number("numbers", 0);
    const int days = options.number("days", 1);
    const int first = options.number("first-day", 250101);
    for (int k = 0; k < numbers && station.error().empty(); ++k)
        station.makeUnit(dayAfter(first, int(static_cast<long long>(k) * days / numbers)));
    std::cout << "conflicts " << station.conflicts() << std::endl;
    if (!station.error().empty()) {
        std::cerr << station.error() << std::endl;
        return 1;
    }
    return 0;
}

int untilKilled(const Options &options)
{
    Station station(options.text("db"), options.number("port", 1), options.text("log"));
    // A fast station fills a day's 254 numbers before its kill; it moves on
    // to the next day every 100 units, so two stations never fill one.
    const int first = options.number("day", 250101);
    for (int made = 0; station.error().empty() && station.makeUnit(dayAfter(first, made / 100));
         ++made) {
    }
    std::cerr << station.error() << std::endl;
    return 1;
}

int check(const Options &options)
{
    const auto audit = auditRegister(options.text("db"), options.rest);
    if (!audit) {
        std::cerr << audit.error() << std::endl;
        return 1;
    }
    std::cout << describe(*audit);
    return audit->consistent() ? 0 : 1;
}

int run(const Options &options)
{
    const std::string url = options.text("db");
    const int processes = options.number("processes", 4);
    const int numbers = options.number("numbers", 10000);
    const int days = options.number("days", 40);
    const int first = options.number("first-day", 250101);
    const int share = numbers / processes;
    if (share * processes != numbers || (share + days - 1) / days * processes > kLastIssuedUnit) {
        std::cerr << "--numbers must split evenly over the processes, at most " << kLastIssuedUnit
                  << " a day" << std::endl;
        return 2;
    }
    // The audit counts the whole database, so it must start empty; opening
    // it once makes its schema.
    const auto location = parseRegisterUrl(url);
    if (!location) {
        std::cerr << location.error() << std::endl;
        return 1;
    }
    if (const auto made = SqlProductionRegister::open(*location); !made) {
        std::cerr << made.error() << std::endl;
        return 1;
    }
    if (const auto before = auditRegister(url, {}); !before || before->numbersTaken > 0) {
        std::cerr << (before ? "run needs an empty database: " + url : before.error()) << std::endl;
        return 2;
    }
    QTemporaryDir work;
    std::vector<std::string> logs;
    std::vector<std::unique_ptr<QProcess>> stations;
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < processes; ++i) {
        logs.push_back(work.filePath(QStringLiteral("station-%1.log").arg(i + 1)).toStdString());
        auto process = std::make_unique<QProcess>();
        process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process->start(QCoreApplication::applicationFilePath(),
                       {QStringLiteral("station"),
                        QStringLiteral("--db"),
                        QString::fromStdString(url),
                        QStringLiteral("--port"),
                        QString::number(i + 1),
                        QStringLiteral("--numbers"),
                        QString::number(share),
                        QStringLiteral("--days"),
                        QString::number(days),
                        QStringLiteral("--first-day"),
                        QString::number(first),
                        QStringLiteral("--log"),
                        QString::fromStdString(logs.back())});
        stations.push_back(std::move(process));
    }
    int failedStations = 0;
    int conflicts = 0;
    for (auto &process : stations) {
        process->waitForFinished(-1);
        failedStations += process->exitStatus() != QProcess::NormalExit || process->exitCode() != 0;
        int mine = 0;
        if (std::sscanf(process->readAllStandardOutput().constData(), "conflicts %d", &mine) == 1)
            conflicts += mine;
    }
    const double seconds = double(clock.elapsed()) / 1000;

    const auto audit = auditRegister(url, logs);
    if (!audit) {
        std::cerr << audit.error() << std::endl;
        return 1;
    }
    std::printf("%d processes, %d numbers over %d production days from %d\n",
                processes,
                numbers,
                days,
                first);
    std::printf("wall time %.1f s, %.0f units/s (each issued, described, written, verified)\n",
                seconds,
                numbers / seconds);
    std::printf("numbers lost to another station and tried again: %d\n", conflicts);
    std::printf("stations that failed: %d\n", failedStations);
    std::cout << describe(*audit);
    const bool complete = audit->consistent() && failedStations == 0
                          && audit->numbersTaken == numbers && audit->reportedDistinct == numbers
                          && audit->verified == numbers;
    std::printf("%s\n", complete ? "PASS: every number distinct, none lost, all verified" : "FAIL");
    return complete ? 0 : 1;
}

} // namespace
} // namespace orvane::bench

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const auto options = orvane::bench::parse(argc, argv);
    if (options.text("db").empty()) {
        std::cerr << "usage: see the top of bench/RegisterStress.cpp (--db URL is needed)\n";
        return 2;
    }
    if (options.command == "run")
        return orvane::bench::run(options);
    if (options.command == "station")
        return orvane::bench::station(options);
    if (options.command == "until-killed")
        return orvane::bench::untilKilled(options);
    if (options.command == "check")
        return orvane::bench::check(options);
    std::cerr << "unknown command: " << options.command << "\n";
    return 2;
}
