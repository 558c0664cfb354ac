#include "platform/qt/QtEventLoop.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QEventLoop>
#include <QTimer>

#include <algorithm>
#include <cmath>

namespace orvane {

LocalDateTime QtClock::localDateTime()
{
    const QDateTime now = QDateTime::currentDateTime();
    return {now.date().year(),
            now.date().month(),
            now.date().day(),
            now.time().hour(),
            now.time().minute(),
            now.time().second()};
}

void QtEventPump::processPendingEvents()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void QtEventPump::waitForEvents(double timeoutSeconds)
{
    const int ms = std::max(0, int(std::ceil(timeoutSeconds * 1000.0)));
    QTimer wake;
    wake.setSingleShot(true);
    wake.setTimerType(Qt::PreciseTimer);
    wake.start(ms);
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}

} // namespace orvane
