#include "ProcessState.h"
#include "CommandLine.h"
#include "BatchRun.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

using namespace orvane;

namespace {

const QByteArray kMinimalDiagram =
    R"({"format": "fsm-diagram", "version": 1, "nodes": [], "links": []})";

QString writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(bytes);
    return path;
}

QString readFile(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(f.readAll());
}

// Runs the real program in `cwd` with its debug log kept in `cwd` too.
orvane::testing::BatchOutcome runProgram(const QString& cwd, const QStringList& args)
{
    return orvane::testing::runBatchProgram(cwd, cwd, args);
}

// Parses in-process with logs kept in a temporary folder.
class ParseTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        qputenv("ORVANE_LOG_DIR", dir.path().toLocal8Bit());
        oldCwd = QDir::currentPath();
        QDir::setCurrent(dir.path());
        fsm = writeFile(dir.filePath("m.fsm"), kMinimalDiagram);
    }
    void TearDown() override
    {
        QDir::setCurrent(oldCwd);
        process() = ProcessState();
    }
    CommandLine::Road parse(const QStringList& args)
    {
        // The logs read the process-wide state, so parse into it.
        process() = ProcessState();
        return CommandLine::parseCommandLine(args, st, error);
    }
    QString errorLog() { return readFile(dir.filePath("FSM_ERR.log")); }

    QTemporaryDir dir;
    QString oldCwd, fsm;
    ProcessState& st = process();
    bool error = false;
};

}  // namespace

TEST_F(ParseTest, SwitchesIgnoreCaseAndLeaveThePath)
{
    EXPECT_EQ(parse({"/cs", fsm, "/o" + dir.path(), "/Ls"}), CommandLine::Road::Batch);
    EXPECT_FALSE(error);
    EXPECT_TRUE(st.swCS);
    EXPECT_TRUE(st.swLS);
    EXPECT_FALSE(st.swC);
    EXPECT_EQ(st.outputFolder, dir.path());
    EXPECT_EQ(st.pendingCommandLine, fsm);
    EXPECT_EQ(st.windowTitle, QStringLiteral("Orvane Editor v1.0r0"));
}

TEST_F(ParseTest, OptionPairsMinusWinsAndNeitherKeepsTheDiagrams)
{
    parse({fsm, "/D-", "/D+", "/AC+", "/PT-"});
    EXPECT_FALSE(st.batchMode);
    EXPECT_EQ(st.overrides.debugInfo, std::optional<bool>(false));
    EXPECT_EQ(st.overrides.ansiComment, std::optional<bool>(true));
    EXPECT_EQ(st.overrides.textBoxes, std::optional<bool>(false));
    EXPECT_FALSE(st.overrides.bitFields.has_value());
    EXPECT_FALSE(st.dPlus);
}

TEST_F(ParseTest, ARepeatedSwitchIsLeftOverAndFailsThePath)
{
    EXPECT_EQ(parse({"/CS", "/cs", fsm}), CommandLine::Road::BatchWithoutPath);
    EXPECT_TRUE(error);
    EXPECT_TRUE(errorLog().contains(QStringLiteral("]:Fsm path error [/cs ") + fsm + "]\r\n"));
}

TEST_F(ParseTest, SwitchesOnlyReportAnEmptyPath)
{
    EXPECT_EQ(parse({"/LS"}), CommandLine::Road::BatchWithoutPath);
    EXPECT_TRUE(errorLog().contains(QStringLiteral("]:Fsm path error []\r\n")));
    // Without a batch switch the window road is still taken (new diagram).
    EXPECT_EQ(parse({"/D+"}), CommandLine::Road::HandOverOrInteractive);
    EXPECT_TRUE(st.pendingCommandLine.isEmpty());
}

TEST_F(ParseTest, BadFoldersAreReportedAndEmptyThePath)
{
    EXPECT_EQ(parse({"/CS", fsm, "/o/no/such/dir/"}), CommandLine::Road::BatchWithoutPath);
    EXPECT_TRUE(errorLog().contains(QStringLiteral("]:Path error [/O/no/such/dir]\r\n")));
    EXPECT_TRUE(st.outputFolder.isEmpty());

    // A bad /E folder is not used: its own report lands in the current folder.
    QFile::remove(dir.filePath("FSM_ERR.log"));
    parse({"/CS", fsm, "/E/nowhere"});
    EXPECT_TRUE(st.errorFolder.isEmpty());
    EXPECT_TRUE(errorLog().contains(QStringLiteral("Path error [/E/nowhere]")));

    // A good /E folder receives the later reports.
    QDir(dir.path()).mkdir("logs");
    parse({"/CS", "/e./logs/", "/O/no/such"});
    EXPECT_EQ(st.errorFolder, QStringLiteral("./logs"));
    EXPECT_TRUE(readFile(dir.filePath("logs/FSM_ERR.log"))
                    .contains(QStringLiteral("Path error [/O/no/such]")));
    // Every error record is copied into the debug log.
    EXPECT_TRUE(
        readFile(dir.filePath("FSM.log")).contains(QStringLiteral("Path error [/O/no/such]")));
}

TEST_F(ParseTest, ThePathIsNeverTakenAsASwitch)
{
    QDir(dir.path()).mkdir("Code");
    const QString tricky = writeFile(dir.filePath("Code/H.fsm"), kMinimalDiagram);
    EXPECT_EQ(parse({"/H", tricky}), CommandLine::Road::Batch);
    EXPECT_TRUE(st.swH);
    EXPECT_EQ(st.pendingCommandLine, tricky);
}

TEST_F(ParseTest, UnknownLongOptionsAreABadCommandLineButADiagramNamedSoIsNot)
{
    EXPECT_EQ(parse({"--frobnicate"}), CommandLine::Road::UnknownOption);
    EXPECT_TRUE(error);
    EXPECT_EQ(st.unknownOption, QStringLiteral("--frobnicate"));
    EXPECT_EQ(parse({"/CS", fsm, "--quiet"}), CommandLine::Road::UnknownOption);
    EXPECT_EQ(parse({"--VERSION", fsm}), CommandLine::Road::Version);
    // Relative to the current folder, as a shell passes it.
    writeFile(dir.filePath("--odd.fsm"), kMinimalDiagram);
    EXPECT_EQ(parse({"/CS", "--odd.fsm"}), CommandLine::Road::Batch);
    EXPECT_FALSE(error);
    EXPECT_EQ(st.pendingCommandLine, QStringLiteral("--odd.fsm"));
}

TEST(CommandLineProcess, VersionAndUnknownOptionsAnswerWithoutAWindow)
{
    QTemporaryDir dir;
    orvane::testing::BatchOutcome r = runProgram(dir.path(), {"--version"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, QStringLiteral("orvane 1.0.0\n"));
    r = runProgram(dir.path(), {"--frobnicate"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_TRUE(r.err.startsWith(QStringLiteral("orvane: unknown option --frobnicate\n")))
        << r.err.toStdString();
}

TEST(CommandLineProcess, HelpGoesToStandardOutput)
{
    QTemporaryDir dir;
    for (const char* sw : {"/?", "--help", "-h"}) {
        const orvane::testing::BatchOutcome r = runProgram(dir.path(), {QString::fromLatin1(sw)});
        EXPECT_EQ(r.exitCode, 0) << sw;
        EXPECT_TRUE(r.out.startsWith(QStringLiteral(
            "orvane file.fsm [/?][/C[S|P|A|H]][/H[L]][/W][/O<path>][/E<path>][/D+|-][/AC+|-][/PT+|-][/BF+|-]\r\n"
            " /C   generates default C-code\r\n"
            " /CS  generates \"switch case\" code\r\n")))
            << r.out.toStdString();
        const QString switchList =
            QStringLiteral(" /BF+ use bitfields to save RAM\r\n /?   Help\r\n");
        if (QLatin1String(sw) == QLatin1String("/?")) {
            // The switch list alone, as it always was.
            EXPECT_TRUE(r.out.endsWith(switchList));
            EXPECT_EQ(r.out.count(QStringLiteral("\r\n")), 22);
        } else {
            // The long forms add every long option after it.
            const qsizetype end = r.out.indexOf(switchList);
            ASSERT_GT(end, 0) << sw;
            const QString longOptions = r.out.mid(end + switchList.size());
            for (const char* option :
                 {"--check", "--lint", "--werror", "--depfile=", "--svg", "--png",
                  "--dpi=", "--picture=svg", "--mermaid", "--plantuml", "--scxml", "--import-scxml",
                  "--coverage=", "--min-coverage=", "--version"})
                EXPECT_TRUE(longOptions.contains(QLatin1String(option))) << sw << " " << option;
            EXPECT_TRUE(r.out.endsWith(QStringLiteral("\r\n")));
        }
    }
}

TEST(CommandLineProcess, BatchExitCodesAndLogs)
{
    QTemporaryDir dir;
    const QString good = writeFile(dir.filePath("ok.fsm"), kMinimalDiagram);
    const QString broken = writeFile(dir.filePath("broken.fsm"), "{ not json");

    orvane::testing::BatchOutcome r = runProgram(dir.path(), {"/LS"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(readFile(dir.filePath("FSM_ERR.log")).contains("Fsm path error []"));

    r = runProgram(dir.path(), {"/LS", broken});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(
        readFile(dir.filePath("FSM_ERR.log")).contains("Fsm error loading:[" + broken + "]"));
    EXPECT_TRUE(r.err.contains("broken.fsm"));

    r = runProgram(dir.path(), {"/CS", "/O/no/such", good});
    EXPECT_EQ(r.exitCode, 2);

    // The debug log record: [PID:TID|date time]:message, CR LF ended.
    const QString log = readFile(dir.filePath("FSM.log"));
    const QRegularExpression record(
        QStringLiteral("^\\[[0-9A-F]+:[0-9A-F]+\\|[^\\]]+\\]:Path error \\[/O/no/such\\]\r$"),
        QRegularExpression::MultilineOption);
    EXPECT_TRUE(record.match(log).hasMatch()) << log.toStdString();
}
