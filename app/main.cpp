#include "app/AppState.h"
#include "app/ExceptionGuard.h"
#include "app/ui/EditorOptions.h"
#include "app/ui/GuardedApplication.h"
#include "app/ui/frmMain.h"
#include "platform/qt/QtPlatform.h"
#include "platform/sql/SqlProductionDatabase.h"

#include <cstdio>

int main(int argc, char **argv)
{
    if (const std::optional<int> answered = orvane::answerHelpOrVersion(argc, argv, ORVANE_VERSION))
        return *answered;
    orvane::GuardedApplication app(argc, argv);
    orvane::GuardedApplication::setOrganizationName(QStringLiteral("Halvero"));
    orvane::GuardedApplication::setApplicationName(QStringLiteral("Orvane Editor"));

    // Qt's own options are gone from argv once the application has read them.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const orvane::Result<orvane::EditorOptions> options = orvane::parseEditorOptions(arguments);
    if (!options) {
        std::fprintf(stderr, "orvane-editor: %s\n", options.error().c_str());
        return 2;
    }

    orvane::QtPlatform platform;
    app.guard().setReporter([&platform](const std::string &what) {
        platform.dialogs.messageBox(orvane::internalErrorMessage(what),
                                    orvane::kInternalErrorTitle,
                                    orvane::MessageIcon::Critical,
                                    orvane::MessageButtons::Ok);
    });
    // The factory's records, by the station's setting, ORVANE_PRODUCTION_DB
    // or the user's own file.
    orvane::SqlProductionDatabase production(platform.settings, platform.files.userDataFolder());
    orvane::Platform services{platform.clock,
                              platform.pump,
                              platform.dialogs,
                              platform.files,
                              platform.port,
                              platform.settings,
                              production};
    orvane::AppState state;
    orvane::frmMain window(state, services);
    platform.dialogs.setParentWindow(&window);
    window.startup();
    if (options->port)
        window.usePort(*options->port);
    // COMn links sit beside the working file: for an installed copy that is
    // the per-user folder, where a user (and orvane-sim --link) can make them.
    platform.port.setLinkFolder(QString::fromStdString(state.files.WorkingFolder));
    window.show();
    const int exitCode = app.exec();
    // The reporter's dialogs go before the windows and the platform do.
    app.guard().setReporter({});
    return exitCode;
}
