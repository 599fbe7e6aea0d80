#include "Batch.h"

#include "BatchMessenger.h"
#include "Diagram.h"
#include "ProcessState.h"
#include "modLib_Log.h"

#include <QGuiApplication>

#include <cstdio>

namespace orvane {

void BatchMessenger::message(const QString& text, MessageIcon, const QString& title)
{
    QString line = title.isEmpty() ? text : title + QStringLiteral(": ") + text;
    line.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    const QByteArray bytes = (line + QLatin1Char('\n')).toLocal8Bit();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
}

int RunBatch(int argc, char** argv, ProcessState& state)
{
    // Batch mode never needs a display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    BatchMessenger messenger;

    const QString path = state.pendingCommandLine;
    Diagram diagram;
    QString error;
    if (!diagram.loadFile(path, &error)) {
        modLib_Log::WriteLog(QStringLiteral(" FileOpen, ") + error);
        modLib_Log::WriteErrorLog(QStringLiteral("Fsm error loading:[") + path + QLatin1Char(']'));
        messenger.message(error);
        return 1;
    }
    return 0;
}

int RunInteractive(int, char**, ProcessState&)
{
    std::fputs("The editor's windows are not available in this build; "
               "use the batch switches (see /?).\n",
               stderr);
    return 2;
}

}  // namespace orvane
