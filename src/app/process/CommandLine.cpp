#include "CommandLine.h"

#include "Batch.h"
#include "ProcessState.h"
#include "Logs.h"
#include "Paths.h"
#include "Version.h"

#include <QFileInfo>

#include <cstdio>
#include <vector>

namespace orvane::CommandLine {

namespace {

const QString kCrLf = QStringLiteral("\r\n");

// The arguments and which of them a switch has taken; positions stay
// stable, and whatever is left over is the diagram path (or an error).
// Any text may be an argument, so no marker text could stand for "taken".
struct Arguments {
    QStringList args;
    std::vector<bool> taken;
    qsizetype pathIndex = -1;  // never taken as a switch

    bool available(qsizetype i) const { return i != pathIndex && !taken[size_t(i)]; }
};

// The index of the diagram path among the arguments: the first argument that
// names an existing ".fsm" file; it is never taken as a switch.
qsizetype findPathArgument(const QStringList& args)
{
    for (qsizetype i = 0; i < args.size(); ++i)
        if (isFsmFile(args.at(i)))
            return i;
    return -1;
}

// Takes the first argument equal to the switch (ignoring case).
bool takeSwitch(Arguments& a, const QString& sw)
{
    for (qsizetype i = 0; i < a.args.size(); ++i) {
        if (a.available(i) && a.args.at(i).compare(sw, Qt::CaseInsensitive) == 0) {
            a.taken[size_t(i)] = true;
            return true;
        }
    }
    return false;
}

// Takes the first argument that starts with the switch ("/O", "/E"); the rest
// of it is the value. Returns true when the value names nothing that exists.
bool takeSwitchValue(Arguments& a, const QString& sw, QString& value)
{
    value.clear();
    for (qsizetype i = 0; i < a.args.size(); ++i) {
        if (!a.available(i) || !a.args.at(i).startsWith(sw, Qt::CaseInsensitive))
            continue;
        QString v = a.args.at(i).mid(sw.size()).trimmed();
        if (v.size() > 1 && v.endsWith(QLatin1Char('/')))
            v.chop(1);
        a.taken[size_t(i)] = true;
        if (!Paths::fileExists(v) || !QFileInfo(v).isDir()) {
            value.clear();
            Logs::writeErrorLog(QStringLiteral("Path error [") + sw + v + QLatin1Char(']'));
            return true;
        }
        value = v;
        return false;
    }
    return false;
}

// The options a build system uses: --check, --lint, --werror and
// --depfile=FILE (the value attached; it names a file to be written).
void takeBuildOptions(Arguments& a, ProcessState& st)
{
    st.checkOnly = takeSwitch(a, QStringLiteral("--check"));
    st.lint = takeSwitch(a, QStringLiteral("--lint"));
    st.warningsAreErrors = takeSwitch(a, QStringLiteral("--werror"));
    st.depFile.clear();
    const QString depFile = QStringLiteral("--depfile=");
    for (qsizetype i = 0; i < a.args.size(); ++i) {
        if (a.available(i) && a.args.at(i).startsWith(depFile)) {
            a.taken[size_t(i)] = true;
            st.depFile = a.args.at(i).mid(depFile.size());
            if (st.depFile.isEmpty())
                st.unknownOption = a.args.at(i);
        }
    }
}

// --coverage=TRACE and --min-coverage=P (a percentage from 0 to 100). A
// missing trace, a bad percentage, or a percentage without a trace is an
// unknown option.
void takeCoverageOptions(Arguments& a, ProcessState& st)
{
    st.coverageTrace.clear();
    st.minCoverage.reset();
    const QString coverage = QStringLiteral("--coverage=");
    const QString minimum = QStringLiteral("--min-coverage=");
    QString minimumArgument;
    for (qsizetype i = 0; i < a.args.size(); ++i) {
        if (!a.available(i))
            continue;
        const QString& arg = a.args.at(i);
        if (arg.startsWith(coverage)) {
            a.taken[size_t(i)] = true;
            st.coverageTrace = arg.mid(coverage.size());
            if (st.coverageTrace.isEmpty())
                st.unknownOption = arg;
        } else if (arg.startsWith(minimum)) {
            a.taken[size_t(i)] = true;
            minimumArgument = arg;
            bool ok = false;
            const double p = arg.mid(minimum.size()).toDouble(&ok);
            if (ok && p >= 0.0 && p <= 100.0)
                st.minCoverage = p;
            else
                st.unknownOption = arg;
        }
    }
    if (st.minCoverage && st.coverageTrace.isEmpty() && st.unknownOption.isEmpty())
        st.unknownOption = minimumArgument;
}

// The other formats: --svg, --png, --mermaid, --plantuml, --scxml, and the
// picture options --picture=svg|wmf and --dpi=N (1 to 2400). A bad value
// makes the argument an unknown option.
void takeFormatOptions(Arguments& a, ProcessState& st)
{
    st.swSvg = takeSwitch(a, QStringLiteral("--svg"));
    st.swPng = takeSwitch(a, QStringLiteral("--png"));
    st.swMermaid = takeSwitch(a, QStringLiteral("--mermaid"));
    st.swPlantUml = takeSwitch(a, QStringLiteral("--plantuml"));
    st.swScxml = takeSwitch(a, QStringLiteral("--scxml"));
    st.pageSvg = false;
    st.pictureOptionGiven = false;
    st.dotsPerInch = 96.0;
    const QString picture = QStringLiteral("--picture=");
    const QString dpi = QStringLiteral("--dpi=");
    bool dpiGiven = false, pictureGiven = false;
    for (qsizetype i = 0; i < a.args.size(); ++i) {
        if (!a.available(i))
            continue;
        const QString& arg = a.args.at(i);
        // Each is taken once; a second one is left over (an unknown option).
        if (arg.startsWith(picture, Qt::CaseInsensitive) && !pictureGiven) {
            a.taken[size_t(i)] = true;
            pictureGiven = true;
            st.pictureOptionGiven = true;
            const QString value = arg.mid(picture.size());
            if (value.compare(QLatin1String("svg"), Qt::CaseInsensitive) == 0)
                st.pageSvg = true;
            else if (value.compare(QLatin1String("wmf"), Qt::CaseInsensitive) != 0)
                st.unknownOption = arg;
        } else if (arg.startsWith(dpi, Qt::CaseInsensitive) && !dpiGiven) {
            a.taken[size_t(i)] = true;
            st.pictureOptionGiven = true;
            dpiGiven = true;
            bool ok = false;
            const int value = arg.mid(dpi.size()).toInt(&ok);
            if (ok && value >= 1 && value <= 2400)
                st.dotsPerInch = value;
            else
                st.unknownOption = arg;
        }
    }
}

// --import-scxml FILE (or --import-scxml=FILE): the SCXML document to turn
// into diagram files. Without a file name the argument is an unknown option.
void takeImportOption(Arguments& a, ProcessState& st)
{
    st.importScxml.clear();
    const QString option = QStringLiteral("--import-scxml");
    for (qsizetype i = 0; i < a.args.size(); ++i) {
        if (!a.available(i))
            continue;
        const QString& arg = a.args.at(i);
        if (arg.compare(option, Qt::CaseInsensitive) == 0) {
            a.taken[size_t(i)] = true;
            if (i + 1 < a.args.size() && a.available(i + 1)) {
                a.taken[size_t(i + 1)] = true;
                st.importScxml = a.args.at(i + 1);
            }
            if (st.importScxml.isEmpty())
                st.unknownOption = arg;
            return;
        }
        if (arg.startsWith(option + QLatin1Char('='), Qt::CaseInsensitive)) {
            a.taken[size_t(i)] = true;
            st.importScxml = arg.mid(option.size() + 1);
            if (st.importScxml.isEmpty())
                st.unknownOption = arg;
            return;
        }
    }
}

}  // namespace

QString helpText(const QString& executableName)
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
    QString text = Paths::baseName(executableName);
    for (const char* l : lines)
        text += QString::fromLatin1(l) + kCrLf;
    return text;
}

QString longOptionsText()
{
    static const char* const lines[] = {
        "",
        "Long options:",
        " --check            write nothing: name each output that is missing or not",
        "                    current and exit 1",
        " --lint             generate nothing: report every problem of the diagram",
        " --werror           with --lint, warnings count as errors",
        " --depfile=FILE     write a Make dependency file of the outputs",
        " --svg, --png       write the picture as NAME.svg or NAME.png",
        " --dpi=N            resolution of the SVG and PNG pictures (default 96)",
        " --picture=svg      /H and /HL show an SVG picture instead of the metafile",
        " --mermaid          write a Mermaid state diagram, NAME.mmd",
        " --plantuml         write a PlantUML state diagram, NAME.puml",
        " --scxml            write the diagram tree as an SCXML document, NAME.scxml",
        " --import-scxml F   write the diagram files of the SCXML document F",
        " --coverage=TRACE   replay a trace: report coverage, write NAME.coverage.htm",
        " --min-coverage=P   with --coverage, exit 1 below P percent of the transitions",
        " --version          print the version",
    };
    QString text;
    for (const char* l : lines)
        text += QString::fromLatin1(l) + kCrLf;
    return text;
}

QString versionText()
{
    return QStringLiteral("orvane %1.%2.%3\n")
        .arg(ORVANE_VERSION_MAJOR)
        .arg(ORVANE_VERSION_MINOR)
        .arg(ORVANE_VERSION_PATCH);
}

bool isFsmFile(const QString& path)
{
    if (!path.endsWith(QLatin1String(".fsm"), Qt::CaseInsensitive))
        return false;
    const QFileInfo info(path);
    return info.exists() && info.isFile();
}

Road parseCommandLine(const QStringList& argsIn, ProcessState& st, bool& commandLineError)
{
    commandLineError = false;
    st.windowTitle = programTitle();
    st.pendingCommandLine.clear();
    st.unknownOption.clear();
    if (argsIn.isEmpty())
        return Road::HandOverOrInteractive;

    Arguments a{argsIn, std::vector<bool>(size_t(argsIn.size()), false), findPathArgument(argsIn)};
    for (const QString& help :
         {QStringLiteral("/?"), QStringLiteral("--help"), QStringLiteral("-h")})
        if (takeSwitch(a, help))
            return Road::Help;
    if (takeSwitch(a, QStringLiteral("--version")))
        return Road::Version;
    takeBuildOptions(a, st);
    takeCoverageOptions(a, st);
    if (st.unknownOption.isEmpty())
        takeFormatOptions(a, st);
    if (st.unknownOption.isEmpty())
        takeImportOption(a, st);
    // A long option this program does not know is never a file to open; a
    // diagram file whose name starts with "--" still is the diagram.
    if (!st.unknownOption.isEmpty()) {  // "--depfile=" without a file, a bad --dpi=
        commandLineError = true;
        return Road::UnknownOption;
    }
    for (qsizetype i = 0; i < a.args.size(); ++i) {
        const QString& arg = a.args.at(i);
        if (!a.taken[size_t(i)] && arg.startsWith(QLatin1String("--")) && !isFsmFile(arg)) {
            st.unknownOption = arg;
            commandLineError = true;
            return Road::UnknownOption;
        }
    }

    bool valueError = takeSwitchValue(a, QStringLiteral("/E"), st.errorFolder);
    valueError = takeSwitchValue(a, QStringLiteral("/O"), st.outputFolder) || valueError;
    // The import reads an SCXML document instead of a diagram; /O says
    // where the diagram files go.
    if (!st.importScxml.isEmpty()) {
        st.batchMode = true;
        if (valueError) {
            commandLineError = true;
            return Road::BatchWithoutPath;
        }
        return Road::ImportScxml;
    }

    struct Flag {
        const char* sw;
        bool* flag;
    };
    bool dMinus = false, acMinus = false, ptMinus = false, bfMinus = false;
    const Flag flags[] = {
        {"/CS", &st.swCS},    {"/CP", &st.swCP},  {"/CA", &st.swCA},    {"/CH", &st.swCH},
        {"/C", &st.swC},      {"/LS", &st.swLS},  {"/HL", &st.swHL},    {"/H", &st.swH},
        {"/W", &st.swW},      {"/D-", &dMinus},   {"/D+", &st.dPlus},   {"/AC-", &acMinus},
        {"/AC+", &st.acPlus}, {"/PT-", &ptMinus}, {"/PT+", &st.ptPlus}, {"/BF-", &bfMinus},
        {"/BF+", &st.bfPlus},
    };
    for (const Flag& f : flags)
        *f.flag = takeSwitch(a, QString::fromLatin1(f.sw));

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

    st.batchMode = st.swW || st.swH || st.swHL || st.swLS || st.swC || st.swCS || st.swCP || st.swCA
                   || st.swCH;
    st.batchMode = st.batchMode || st.anyOtherFormat();

    QStringList rest;
    for (qsizetype i = 0; i < a.args.size(); ++i)
        if (!a.taken[size_t(i)])
            rest.append(a.args.at(i));
    QString remaining = rest.join(QLatin1Char(' '));
    if (rest.size() != 1 || !isFsmFile(rest.first())) {
        Logs::writeErrorLog(QStringLiteral("Fsm path error [") + remaining + QLatin1Char(']'));
        remaining.clear();
        commandLineError = true;
    }
    if (valueError) {
        remaining.clear();
        commandLineError = true;
    }
    st.pendingCommandLine = remaining;

    // The build options need a diagram and say what to do with it: they
    // never open the windows. --check and --depfile concern output switches.
    const bool buildOption =
        st.lint || st.checkOnly || !st.depFile.isEmpty() || st.warningsAreErrors;
    if (buildOption && !st.batchMode && !st.lint) {
        commandLineError = true;
        return Road::BuildOptionWithoutSwitch;
    }
    st.batchMode = st.batchMode || st.lint;
    st.batchMode = st.batchMode || !st.coverageTrace.isEmpty();
    // The picture options change a picture switch's output; alone they ask
    // for nothing.
    if (st.pictureOptionGiven && !st.batchMode) {
        commandLineError = true;
        st.pendingCommandLine.clear();
        return Road::PictureOptionWithoutSwitch;
    }
    if (!st.batchMode)
        return Road::HandOverOrInteractive;
    return remaining.isEmpty() ? Road::BatchWithoutPath : Road::Batch;
}

int runMain(int argc, char** argv, WindowRoad windows)
{
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args.append(QString::fromLocal8Bit(argv[i]));
    const QString exe = argc > 0 ? QString::fromLocal8Bit(argv[0]) : QStringLiteral("orvane");

    ProcessState& st = process();
    bool commandLineError = false;
    const Road road = parseCommandLine(args, st, commandLineError);
    switch (road) {
    case Road::Help: {
        // "/?" prints the switch list alone; the long forms add the long options.
        const bool longForm = !args.contains(QStringLiteral("/?"));
        const QByteArray text =
            (helpText(exe) + (longForm ? longOptionsText() : QString())).toLocal8Bit();
        std::fwrite(text.constData(), 1, size_t(text.size()), stdout);
        return 0;
    }
    case Road::Version: {
        const QByteArray text = versionText().toLocal8Bit();
        std::fwrite(text.constData(), 1, size_t(text.size()), stdout);
        return 0;
    }
    case Road::UnknownOption: {
        const QByteArray text = (QStringLiteral("orvane: unknown option ") + st.unknownOption
                                 + QStringLiteral("\nTry 'orvane --help'.\n"))
                                    .toLocal8Bit();
        std::fwrite(text.constData(), 1, size_t(text.size()), stderr);
        return 2;
    }
    case Road::BuildOptionWithoutSwitch: {
        std::fputs("orvane: --check, --depfile and --werror need an output switch (or --lint)\n"
                   "Try 'orvane --help'.\n",
                   stderr);
        return 2;
    }
    case Road::PictureOptionWithoutSwitch: {
        std::fputs("orvane: --picture and --dpi need an output switch (/H, /HL, --svg or --png)\n"
                   "Try 'orvane --help'.\n",
                   stderr);
        return 2;
    }
    case Road::ImportScxml:
        return runScxmlImport(argc, argv, st);
    case Road::BatchWithoutPath:
        return 2;
    case Road::Batch:
        return runBatch(argc, argv, st);
    case Road::HandOverOrInteractive:
        return windows(argc, argv, st);
    }
    return 2;
}

}  // namespace orvane::CommandLine
