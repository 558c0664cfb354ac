#include "editors/ui/ChangeButtonTips.h"

#include <QPushButton>
#include <QWidget>

namespace orvane {

namespace {

struct PanelDisplay
{
    const char *buttonPrefix; // cmdDD1 .. cmdDD5
    const char *name;
    bool barGraph;
};

constexpr PanelDisplay kDisplays[] = {
    {"cmdDD1", "Digital Display #1", false},
    {"cmdDD2", "Digital Display #2", false},
    {"cmdDD3", "Digital Display #3", false},
    {"cmdDD4", "the left bar graph", true},
    {"cmdDD5", "the right bar graph", true},
};

void setTip(QWidget &window, const QString &name, const QString &tip)
{
    if (auto *button = window.findChild<QPushButton *>(name))
        button->setToolTip(tip);
}

} // namespace

void setChangeButtonTips(QWidget &window)
{
    for (const PanelDisplay &display : kDisplays) {
        const QString prefix = QString::fromUtf8(display.buttonPrefix);
        const QString name = QString::fromUtf8(display.name);
        setTip(
            window,
            prefix + QStringLiteral("LoAlarm"),
            QStringLiteral("Sets the low alarm limit of the data source shown on %1.").arg(name));
        setTip(
            window,
            prefix + QStringLiteral("HiAlarm"),
            QStringLiteral("Sets the high alarm limit of the data source shown on %1.").arg(name));
        if (!display.barGraph)
            continue;
        setTip(window,
               prefix + QStringLiteral("LoBar"),
               QStringLiteral("Sets the reading at the bottom of %1's scale (its lower bar limit).")
                   .arg(name));
        setTip(window,
               prefix + QStringLiteral("HiBar"),
               QStringLiteral("Sets the reading at the top of %1's scale (its upper bar limit).")
                   .arg(name));
    }
}

} // namespace orvane
