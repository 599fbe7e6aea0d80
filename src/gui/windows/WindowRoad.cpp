#include "WindowRoad.h"

#include "FontTextMeasurer.h"
#include "GuiUserInterface.h"
#include "InstalledTools.h"
#include "ProcessState.h"
#include "clsLib_OptCMax.h"
#include "frmMain.h"
#include "modLib_Log.h"

#include <QApplication>

#include <cstdio>

namespace orvane {

bool HasDisplay()
{
    return !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
           || !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
}

int RunWindows(int argc, char** argv, ProcessState& state, const ToolHooks& hooks)
{
    if (!HasDisplay()) {
        std::fputs("orvane: there is no display to open the editor's windows on "
                   "(DISPLAY, WAYLAND_DISPLAY and QT_QPA_PLATFORM are not set).\n"
                   "orvane: give an output switch to work without windows, for example\n"
                   "        orvane diagram.fsm /CS   (see orvane /? for all switches)\n",
                   stderr);
        return 2;
    }
    QApplication app(argc, argv);
    app.setWindowIcon(QIcon(QStringLiteral(":/icons/GeneraCode.svg")));
    if (hooks.handOver && hooks.handOver(state.pendingCommandLine))
        return 0;

    InstallFontTextMeasurer();
    modLib_Log::ClearLog();
    GuiUserInterface messages(nullptr, &hooks);
    clsLib_OptCMax options(messages);
    frmMain main(nullptr, &options, hooks);
    main.show();
    if (hooks.mainWindowReady)
        hooks.mainWindowReady(main);
    main.Start();
    return app.exec();
}

int RunWindows(int argc, char** argv, ProcessState& state)
{
    return RunWindows(argc, argv, state, InstalledToolHooks());
}

}  // namespace orvane
