#include "modMain.h"

#include "Batch.h"
#include "ProcessState.h"
#include "modLib_Log.h"
#include "modLib_Rutas.h"
#include "modVersion.h"

#include <QFileInfo>
#include <QGuiApplication>

#include <cstdio>

namespace orvane::modMain {

namespace {

const QString kCrLf = QStringLiteral("\r\n");
// Marks an argument already taken as a switch.
const QString kTaken = QStringLiteral("\x01");

// The index of the diagram path among the arguments: the first argument that
// names an existing ".fsm" file; it is never taken as a switch.
qsizetype FindPathArgument(const QStringList& args)
{
    for (qsizetype i = 0; i < args.size(); ++i)
        if (IsFsmFile(args.at(i)))
            return i;
    return -1;
}

// Removes the first argument equal to the switch (ignoring case).
bool TakeSwitch(QStringList& args, qsizetype protectedIndex, const QString& sw)
{
    for (qsizetype i = 0; i < args.size(); ++i) {
        if (i == protectedIndex)
            continue;
        if (args.at(i).compare(sw, Qt::CaseInsensitive) == 0) {
            args[i] = kTaken;  // positions stay stable; taken ones are dropped later
            return true;
        }
    }
    return false;
}

// Takes the first argument that starts with the switch ("/O", "/E"); the rest
// of it is the value. Returns true when the value names nothing that exists.
bool TakeSwitchValue(QStringList& args, qsizetype protectedIndex, const QString& sw, QString& value)
{
    value.clear();
    for (qsizetype i = 0; i < args.size(); ++i) {
        if (i == protectedIndex || !args.at(i).startsWith(sw, Qt::CaseInsensitive))
            continue;
        QString v = args.at(i).mid(sw.size()).trimmed();
        if (v.size() > 1 && v.endsWith(QLatin1Char('/')))
            v.chop(1);
        args[i] = kTaken;
        if (!modLib_Rutas::FileExists(v) || !QFileInfo(v).isDir()) {
            value.clear();
            modLib_Log::WriteErrorLog(QStringLiteral("Path error [") + sw + v + QLatin1Char(']'));
            return true;
        }
        value = v;
        return false;
    }
    return false;
}

}  // namespace

QString HelpText(const QString& executableName)
{
    static const char* const lines[] = {
        " file.fsm [/?][/C[S|P|A|H]][/H[L]][/W][/O<path>][/E<path>][/D+|-][/AC+|-][/PT+|-][/BF+|-]",
        " /C   generates default C-code",
        " /CS  generates \"switch case\" code",
        " /CP  generates \"direct pointer\" code",
        " /CA  generates \"pointer array\" code",
        " /CH  generates \"hierachical switch case\" code",
        " /LS  generates list",
        " /H   generates HTML",
        " /HL generates HTML with",
        "         links in the same path",
        " /W  generates WMF",
        " /O   output path",
        " /E   error file output path",
        " /D+  with debug info",
        " /D-   without debug info",
        " /AC+ ANSI comments: \"/* */\"",
        " /AC- not ANSI comments: \"//  \"",
        " /PT+ print the text boxes into the code",
        " /PT- don't print the text boxes into the code",
        " /BF- don't use bitfields",
        " /BF+ use bitfields to save RAM",
        " /?   Help",
    };
    QString text = modLib_Rutas::BaseName(executableName);
    for (const char* l : lines)
        text += QString::fromLatin1(l) + kCrLf;
    return text;
}

bool IsFsmFile(const QString& path)
{
    if (!path.endsWith(QLatin1String(".fsm"), Qt::CaseInsensitive))
        return false;
    const QFileInfo info(path);
    return info.exists() && info.isFile();
}

Road ParseCommandLine(const QStringList& argsIn, ProcessState& st, bool& commandLineError)
{
    commandLineError = false;
    st.windowTitle = WindowTitle();
    st.pendingCommandLine.clear();
    if (argsIn.isEmpty())
        return Road::HandOverOrInteractive;

    QStringList args = argsIn;
    const qsizetype pathIndex = FindPathArgument(args);
    for (const QString& help : {QStringLiteral("/?"), QStringLiteral("--help"), QStringLiteral("-h")})
        if (TakeSwitch(args, pathIndex, help))
            return Road::Help;

    bool valueError = TakeSwitchValue(args, pathIndex, QStringLiteral("/E"), st.errorFolder);
    valueError = TakeSwitchValue(args, pathIndex, QStringLiteral("/O"), st.outputFolder) || valueError;

    struct Flag {
        const char* sw;
        bool* flag;
    };
    bool dMinus = false, acMinus = false, ptMinus = false, bfMinus = false;
    const Flag flags[] = {
        {"/CS", &st.swCS}, {"/CP", &st.swCP},   {"/CA", &st.swCA},     {"/CH", &st.swCH},
        {"/C", &st.swC},   {"/LS", &st.swLS},   {"/HL", &st.swHL},     {"/H", &st.swH},
        {"/W", &st.swW},   {"/D-", &dMinus},    {"/D+", &st.dPlus},    {"/AC-", &acMinus},
        {"/AC+", &st.acPlus}, {"/PT-", &ptMinus}, {"/PT+", &st.ptPlus}, {"/BF-", &bfMinus},
        {"/BF+", &st.bfPlus},
    };
    for (const Flag& f : flags)
        *f.flag = TakeSwitch(args, pathIndex, QString::fromLatin1(f.sw));

    // A pair's "+" flag holds only without its "-"; either form overrides.
    auto pair = [](bool& plus, bool minus, std::optional<bool>& override) {
        if (minus)
            plus = false;
        if (plus || minus)
            override = plus;
    };
    pair(st.dPlus, dMinus, st.overrides.debugInfo);
    pair(st.acPlus, acMinus, st.overrides.ansiComment);
    pair(st.ptPlus, ptMinus, st.overrides.textBoxes);
    pair(st.bfPlus, bfMinus, st.overrides.bitFields);

    st.batchMode = st.swW || st.swH || st.swHL || st.swLS || st.swC || st.swCS || st.swCP
                   || st.swCA || st.swCH;

    QStringList rest;
    for (const QString& a : args)
        if (a != kTaken)
            rest.append(a);
    QString remaining = rest.join(QLatin1Char(' '));
    if (rest.size() != 1 || !IsFsmFile(rest.first())) {
        modLib_Log::WriteErrorLog(QStringLiteral("Fsm path error [") + remaining + QLatin1Char(']'));
        remaining.clear();
        commandLineError = true;
    }
    if (valueError) {
        remaining.clear();
        commandLineError = true;
    }
    st.pendingCommandLine = remaining;

    if (!st.batchMode)
        return Road::HandOverOrInteractive;
    return remaining.isEmpty() ? Road::BatchWithoutPath : Road::Batch;
}

int Main(int argc, char** argv, WindowRoad windows)
{
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args.append(QString::fromLocal8Bit(argv[i]));
    const QString exe = argc > 0 ? QString::fromLocal8Bit(argv[0]) : QStringLiteral("orvane");

    ProcessState& st = Process();
    bool commandLineError = false;
    const Road road = ParseCommandLine(args, st, commandLineError);
    switch (road) {
    case Road::Help: {
        const QByteArray text = HelpText(exe).toLocal8Bit();
        std::fwrite(text.constData(), 1, size_t(text.size()), stdout);
        return 0;
    }
    case Road::BatchWithoutPath:
        return 2;
    case Road::Batch:
        return RunBatch(argc, argv, st);
    case Road::HandOverOrInteractive:
        return windows(argc, argv, st);
    }
    return 2;
}

}  // namespace orvane::modMain
