#include "app/AppState.h"
#include "app/ui/frmMain.h"
#include "platform/qt/QtPlatform.h"

#include <QApplication>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Halvero"));
    QApplication::setApplicationName(QStringLiteral("Orvane Editor"));

    orvane::QtPlatform platform;
    orvane::AppState state;
    orvane::frmMain window(state, platform.platform);
    platform.dialogs.setParentWindow(&window);
    window.startup();
    window.show();
    return app.exec();
}
