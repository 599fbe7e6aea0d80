#include "WindowRoad.h"

#include "CommandLine.h"

#include "FontTextMeasurer.h"
#include "GuiUserInterface.h"
#include "InstalledTools.h"
#include "ProcessState.h"
#include "CodeEditorOptions.h"
#include "MainWindow.h"
#include "Logs.h"

#include <QApplication>

#include <cstdio>

namespace orvane {

bool hasDisplay()
{
    return !qEnvironmentVariableIsEmpty("DISPLAY")
           || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
           || !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
}

int runWindows(int argc, char** argv, ProcessState& state, const ToolHooks& hooks)
{
    if (!hasDisplay()) {
        std::fputs("orvane: there is no display to open the editor's windows on "
                   "(DISPLAY, WAYLAND_DISPLAY and QT_QPA_PLATFORM are not set).\n"
                   "orvane: give an output switch to work without windows, for example\n"
                   "        orvane diagram.fsm /CS   (see orvane /? for all switches)\n",
                   stderr);
        return 2;
    }
    QApplication app(argc, argv);
    app.setWindowIcon(QIcon(QStringLiteral(":/orvane/desktop/orvane.svg")));
    QGuiApplication::setDesktopFileName(QStringLiteral("org.orvane.Orvane"));
    if (hooks.handOver && hooks.handOver(state.pendingCommandLine))
        return 0;

    installFontTextMeasurer();
    Logs::clearLog();
    GuiUserInterface messages(nullptr, &hooks);
    CodeEditorOptions options(messages);
    MainWindow main(nullptr, &options, hooks);
    main.show();
    if (hooks.mainWindowReady)
        hooks.mainWindowReady(main);
    main.start();
    return app.exec();
}

int runWindows(int argc, char** argv, ProcessState& state)
{
    return runWindows(argc, argv, state, installedToolHooks());
}

}  // namespace orvane

// The window library's entry point, which the program opens for the
// interactive road (see Modules::runWindows).
extern "C" Q_DECL_EXPORT orvane::CommandLine::WindowRoad orvaneWindowRoad()
{
    return static_cast<orvane::CommandLine::WindowRoad>(&orvane::runWindows);
}
