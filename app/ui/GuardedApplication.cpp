#include "app/ui/GuardedApplication.h"

namespace orvane {

GuardedApplication::GuardedApplication(int &argc, char **argv)
    : QApplication(argc, argv)
{}

bool GuardedApplication::notify(QObject *receiver, QEvent *event)
{
    return m_guard.deliver([&] { return QApplication::notify(receiver, event); });
}

} // namespace orvane
