#include "platform/qt/QtUserSettings.h"

#include <QSettings>
#include <QStringList>

namespace orvane {

std::vector<std::string> QtUserSettings::textList(const std::string &key)
{
    const QStringList values = QSettings().value(QString::fromStdString(key)).toStringList();
    std::vector<std::string> out;
    out.reserve(size_t(values.size()));
    for (const QString &value : values)
        out.push_back(value.toStdString());
    return out;
}

void QtUserSettings::setTextList(const std::string &key, const std::vector<std::string> &values)
{
    QStringList list;
    for (const std::string &value : values)
        list << QString::fromStdString(value);
    QSettings().setValue(QString::fromStdString(key), list);
}

} // namespace orvane
