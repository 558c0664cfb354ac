#pragma once

#include "app/ImageComparison.h"
#include "platform/ProductionRegister.h"

#include <QJsonObject>
#include <QString>

#include <string>

// What --json prints: one compact JSON object, then a line end.

namespace orvane::cli {

std::string jsonLine(const QJsonObject &object);
// {"identical": bool, "groups": [{"category": title, "differences": [line, ...]}, ...]}
QJsonObject reportJson(const DifferenceReport &report);
// One production record, every field; what is not known is null.
QJsonObject recordJson(const UnitRecord &record);
// UTF-8 text as a JSON string value.
inline QString jsonText(const std::string &text)
{
    return QString::fromStdString(text);
}

} // namespace orvane::cli
