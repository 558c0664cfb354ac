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

} // namespace orvane::cli
