#include "cli/JsonOutput.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace orvane::cli {

std::string jsonLine(const QJsonObject &object)
{
    return QJsonDocument(object).toJson(QJsonDocument::Compact).toStdString() + "\n";
}

QJsonObject reportJson(const DifferenceReport &report)
{
    QJsonArray groups;
    for (const DifferenceGroup &group : report) {
        QJsonArray lines;
        for (const std::string &line : group.lines)
            lines.append(jsonText(line));
        groups.append(QJsonObject{{"category", jsonText(group.title)}, {"differences", lines}});
    }
    return QJsonObject{{"identical", report.empty()}, {"groups", groups}};
}

QJsonObject recordJson(const UnitRecord &record)
{
    const auto known = [](const std::optional<int> &value) {
        return value ? QJsonValue(*value) : QJsonValue(QJsonValue::Null);
    };
    QJsonArray files;
    for (const FileHash &file : record.details.files)
        files.append(QJsonObject{{"name", jsonText(file.name)}, {"sha256", jsonText(file.sha256)}});
    return QJsonObject{
        {"serial", double(record.key.serial)},
        {"event", record.key.event},
        {"remake", record.remake},
        {"outcome", outcomeName(record.outcome())},
        {"state", stateName(record.state)},
        {"station", jsonText(record.station)},
        {"operator", jsonText(record.operatorName)},
        {"port", record.port},
        {"startedUtc", jsonText(record.startedUtc)},
        {"endedUtc",
         record.endedUtc.empty() ? QJsonValue(QJsonValue::Null) : jsonText(record.endedUtc)},
        {"productCode", known(record.details.productCode)},
        {"firmware", known(record.details.firmware)},
        {"hardwareVersion", jsonText(record.details.hardwareVersion)},
        {"moduleVersions", jsonText(record.details.moduleVersions)},
        {"files", files},
        {"message", jsonText(record.message)},
    };
}

} // namespace orvane::cli
