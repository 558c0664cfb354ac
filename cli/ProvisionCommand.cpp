#include "cli/ProvisionCommand.h"

#include "app/Startup.h"
#include "cli/Commands.h"
#include "cli/JsonOutput.h"
#include "cli/Session.h"
#include "factory/FactoryAnswers.h"
#include "factory/Provisioning.h"
#include "factory/UnitRecordKeeping.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QJsonDocument>
#include <QProcess>

#include <cmath>
#include <cstdio>
#include <memory>
#include <set>

// Make NEW on every port of --ports. One port is made in this process;
// several are each made by a child process of this program, so that a
// fault on one port (a pulled cable, a unit that stops answering, even a
// crash) never stops or slows the others.

namespace orvane::cli {

namespace {

struct Order
{
    std::vector<int> ports;
    NewUnitOrder unit;
    std::string dataFolder;
    DatabaseChoice database;
};

// The unit's line: its record's serial, outcome and message, the port and
// how long the making took.
QJsonObject
unitJson(int port, const ProvisionedUnit &unit, const UnitRecord *record, double seconds)
{
    QJsonObject line{{"port", port},
                     {"serial", unit.serial ? QJsonValue(double(unit.serial)) : QJsonValue()},
                     {"seconds", std::round(seconds * 10) / 10}};
    if (record) {
        line["outcome"] = outcomeName(record->outcome());
        line["message"] = jsonText(record->message);
    } else {
        line["outcome"] = "not made";
        line["message"] = jsonText(unit.result ? std::string() : unit.result.error());
    }
    return line;
}

std::string unitLineText(const QJsonObject &line)
{
    const QJsonValue serial = line["serial"];
    std::string text = "COM" + std::to_string(line["port"].toInt()) + "  "
                       + (serial.isDouble() ? std::to_string(qint64(serial.toDouble()))
                                            : std::string("no serial number"))
                       + "  " + line["outcome"].toString().toStdString();
    if (line["seconds"].isDouble())
        text += " in " + QString::number(line["seconds"].toDouble(), 'f', 1).toStdString() + " s";
    if (const std::string message = line["message"].toString().toStdString(); !message.empty())
        text += ": " + message;
    return text + "\n";
}

void printUnit(Session &session, const QJsonObject &line)
{
    session.progress.endLine();
    std::fputs(session.invocation.json ? jsonLine(line).c_str() : unitLineText(line).c_str(),
               stdout);
    std::fflush(stdout);
}

bool verified(const QJsonObject &line)
{
    return line["outcome"].toString() == QLatin1String(outcomeName(UnitOutcome::Verified));
}

// The unit on the one port, made here.
Fault makeHere(Session &session, const Order &order, ProductionRegister &productionRegister)
{
    const int port = order.ports.front();
    session.link.setComPortNumber(uint8_t(port));
    // Make NEW is a factory tool: the unit may carry any product code.
    session.link.setFactoryMode(true);
    session.state.files.WorkingFolder = order.dataFolder;
    TerminalFactoryView view(session.progress);
    FactoryServices services{session.platform,
                             session.link,
                             session.connection,
                             session.state.document,
                             session.state.transfer,
                             session.state.files,
                             view};
    const double start = session.platform.clock.monotonicSeconds();
    const ProvisionedUnit unit = provisionNewUnit(services, productionRegister, order.unit);
    const double seconds = session.platform.clock.monotonicSeconds() - start;
    std::optional<UnitRecord> record;
    if (unit.serial) {
        RecordFilter filter;
        filter.serial = unit.serial;
        if (const auto history = productionRegister.records(filter); history && !history->empty())
            record = history->back();
    }
    const QJsonObject line = unitJson(port, unit, record ? &*record : nullptr, seconds);
    printUnit(session, line);
    return verified(line) ? Fault::None : Fault::FailedHalfWay;
}

QStringList childArguments(const Session &session, const Order &order, int port)
{
    QStringList arguments{"provision",
                          "--ports",
                          QString::number(port),
                          "--product-code",
                          QString::number(order.unit.productCode),
                          "--firmware",
                          QString::number(order.unit.firmware),
                          "--data",
                          QString::fromStdString(order.dataFolder),
                          "--db",
                          QString::fromStdString(order.database.url),
                          "--yes",
                          "--json",
                          "--quiet"};
    const Invocation &invocation = session.invocation;
    if (!invocation.linkFolder.empty() && !invocation.linkFolderFromEnvironment)
        arguments << "--link-folder" << QString::fromStdString(invocation.linkFolder);
    return arguments;
}

// The child's line, or one saying that it ended without one.
QJsonObject childLine(QProcess &child, int port, double seconds)
{
    const QList<QByteArray> lines = child.readAllStandardOutput().trimmed().split('\n');
    const QJsonDocument last = QJsonDocument::fromJson(lines.last());
    if (last.isObject()) {
        QJsonObject line = last.object();
        line["seconds"] = std::round(seconds * 10) / 10;
        return line;
    }
    const QString said = QString::fromUtf8(child.readAllStandardError()).trimmed();
    const QString end = child.exitStatus() == QProcess::CrashExit
                            ? QStringLiteral("it crashed")
                            : QStringLiteral("exit code %1").arg(child.exitCode());
    return QJsonObject{{"port", port},
                       {"serial", QJsonValue()},
                       {"outcome", "not made"},
                       {"seconds", std::round(seconds * 10) / 10},
                       {"message",
                        QStringLiteral("The making on COM%1 ended without a result (%2)%3. Its "
                                       "record, if any, shows as interrupted: see orvane units.")
                            .arg(port)
                            .arg(end)
                            .arg(said.isEmpty() ? QString() : ": " + said)}};
}

// Every port by a child process of its own, each unit's line printed as it
// ends.
Fault makeInChildren(Session &session, const Order &order)
{
    QEventLoop loop;
    std::vector<std::unique_ptr<QProcess>> children;
    int running = int(order.ports.size());
    bool allVerified = true;
    const double start = session.platform.clock.monotonicSeconds();
    for (const int port : order.ports) {
        auto child = std::make_unique<QProcess>();
        QProcess *process = child.get();
        const auto ended = [&, process, port] {
            const QJsonObject line
                = childLine(*process, port, session.platform.clock.monotonicSeconds() - start);
            allVerified = allVerified && verified(line);
            printUnit(session, line);
            if (--running == 0)
                loop.quit();
        };
        QObject::connect(process, &QProcess::finished, ended);
        QObject::connect(process, &QProcess::errorOccurred, [ended](QProcess::ProcessError e) {
            if (e == QProcess::FailedToStart)
                ended();
        });
        process->start(QCoreApplication::applicationFilePath(),
                       childArguments(session, order, port));
        children.push_back(std::move(child));
    }
    if (running > 0)
        loop.exec();
    return allVerified ? Fault::None : Fault::FailedHalfWay;
}

std::string portsText(const std::vector<int> &ports)
{
    std::string text;
    for (const int port : ports)
        text += (text.empty() ? "COM" : ", COM") + std::to_string(port);
    return text;
}

Result<Order> readOrder(Session &session)
{
    const Invocation &invocation = session.invocation;
    Order order;
    const Result<std::vector<int>> ports = parsePortList(invocation.ports);
    if (!ports)
        return failure(ports.error());
    order.ports = *ports;
    const Result<uint8_t> code = parseProductCode(invocation.productCode);
    if (!code)
        return failure(code.error());
    const Result<uint8_t> firmware = parseFirmwareNumber(invocation.firmware);
    if (!firmware)
        return failure(firmware.error());
    order.unit = {*code, *firmware};
    order.dataFolder = invocation.data.empty() ? chooseWorkingFolder(session.platform.files)
                                               : session.path(invocation.data);
    if (!isFolder(order.dataFolder))
        return failure("The data folder " + order.dataFolder
                       + " does not exist. Give the folder of the .DAT files and code modules "
                         "with --data.");
    order.database = session.production.choose(invocation.db);
    return order;
}

} // namespace

Result<std::vector<int>> parsePortList(std::string_view text)
{
    const auto bad = [&text](const std::string &why) {
        return failure("--ports " + std::string(text) + ": " + why
                       + ". Give COM numbers 1..16 as 1-8, 1,3,5 or 1-4,7.");
    };
    const auto number = [](std::string_view digits) -> std::optional<int> {
        if (digits.empty() || digits.size() > 2
            || digits.find_first_not_of("0123456789") != std::string_view::npos)
            return std::nullopt;
        const int n = std::stoi(std::string(digits));
        if (n < 1 || n > Connection::kHighestPortNumber)
            return std::nullopt;
        return n;
    };
    std::set<int> ports;
    size_t begin = 0;
    while (begin <= text.size()) {
        const size_t comma = std::min(text.find(',', begin), text.size());
        const std::string_view part = text.substr(begin, comma - begin);
        const size_t dash = part.find('-');
        const auto first = number(part.substr(0, dash));
        const auto last = dash == std::string_view::npos ? first : number(part.substr(dash + 1));
        if (!first || !last)
            return bad("\"" + std::string(part) + "\" is not a COM number or a range of them");
        if (*last < *first)
            return bad("the range " + std::string(part) + " runs backwards");
        for (int port = *first; port <= *last; ++port)
            if (!ports.insert(port).second)
                return bad("COM" + std::to_string(port) + " is named twice");
        begin = comma + 1;
    }
    return std::vector<int>(ports.begin(), ports.end());
}

Fault runProvision(Session &session)
{
    const Result<Order> order = readOrder(session);
    if (!order) {
        session.say(order.error());
        return Fault::Refused;
    }
    // Nothing is sent before the database answers: a unit is never made
    // without its record.
    auto productionRegister = session.production.open(order->database, RegisterUse::Record);
    if (!productionRegister) {
        session.say(registerStopsSentence(productionRegister.error()));
        return Fault::Refused;
    }
    if (!session.confirm("Make NEW on " + portsText(order->ports)
                         + ": everything in each Orvane is overwritten. Go ahead?"))
        return Fault::Refused;
    if (order->ports.size() == 1)
        return makeHere(session, *order, **productionRegister);
    productionRegister->reset();
    return makeInChildren(session, *order);
}

} // namespace orvane::cli
