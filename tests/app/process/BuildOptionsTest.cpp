// The options a build system uses, run through the real program: --lint and
// its diagnostics, --check, --depfile, and their bad uses.
#include "BatchRun.h"
#include "BuildSupport.h"
#include "ProcessState.h"

#include "MachineFiles.h"
#include "TwoStateFile.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

using namespace orvane;
using orvane::testing::twoStateFile;

namespace {

QByteArray read(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void write(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

using Outcome = orvane::testing::BatchOutcome;

class BuildOptions : public ::testing::Test {
protected:
    Outcome run(const QStringList& args)
    {
        return orvane::testing::runBatchProgram(dir.path(), dir.filePath("log"), args);
    }
    QString path(const char* name) const { return dir.filePath(QString::fromUtf8(name)); }

    QTemporaryDir dir;
};

}  // namespace

TEST_F(BuildOptions, LintReportsEveryProblemAtTheLineOfItsNode)
{
    write(path("m.fsm"), twoStateFile("a", "M"));
    const Outcome o = run({"m.fsm", "--lint"});
    EXPECT_EQ(o.exitCode, 1);
    EXPECT_EQ(o.errLines(),
              (QStringList{"m.fsm:6: error: state \"a\": the state \"A\" has the same name "
                           "ignoring case: their generated constants collide",
                           "m.fsm:6: warning: state \"a\": the state has no outgoing transition "
                           "and is not final"}))
        << o.err.toStdString();
    EXPECT_FALSE(QFile::exists(path("m.c")));  // nothing generated, even with /CS
    EXPECT_EQ(run({"m.fsm", "--lint", "/CS"}).exitCode, 1);
    EXPECT_FALSE(QFile::exists(path("m.c")));
}

TEST_F(BuildOptions, LintWarningsAloneSucceedUnlessWerror)
{
    write(path("m.fsm"), twoStateFile("B", "M"));
    const Outcome warned = run({"m.fsm", "--lint"});
    EXPECT_EQ(warned.exitCode, 0);
    EXPECT_EQ(warned.errLines(),
              QStringList{"m.fsm:6: warning: state \"B\": the state has no outgoing transition "
                          "and is not final"});
    const Outcome strict = run({"m.fsm", "--lint", "--werror"});
    EXPECT_EQ(strict.exitCode, 1);
    EXPECT_TRUE(strict.err.startsWith("m.fsm:6: error: state \"B\": ")) << strict.err.toStdString();
}

TEST_F(BuildOptions, LintOfATreeNamesTheChildFileAndMachineErrorsHaveNoLine)
{
    using namespace orvane::testfiles;
    ASSERT_TRUE(writeMachine(path("Top.fsm"), twoStates("Top", "Kid();")));
    ASSERT_TRUE(writeMachine(path("Top/Kid.fsm"), twoStates("", "")));
    // Without /CH only the top diagram is checked.
    EXPECT_EQ(run({"Top.fsm", "--lint"}).exitCode, 0);
    const Outcome o = run({"Top.fsm", "--lint", "/CH"});
    EXPECT_EQ(o.exitCode, 1);
    const QString kid = QFileInfo(path("Top/Kid.fsm")).absoluteFilePath();
    EXPECT_TRUE(o.errLines().contains(
        kid + ": error: Attention, before generate C-code you must name the FSM"))
        << o.err.toStdString();
}

TEST_F(BuildOptions, GenerationRefusalIsADiagnosticOfTheDiagram)
{
    write(path("m.fsm"), twoStateFile("B", ""));
    const Outcome o = run({"m.fsm", "/CS"});
    EXPECT_EQ(o.exitCode, 1);
    EXPECT_TRUE(o.errLines().contains(
        "m.fsm: error: Attention, before generate C-code you must name the FSM"))
        << o.err.toStdString();
    // The error log keeps its own record.
    EXPECT_TRUE(
        QString::fromUtf8(read(path("FSM_ERR.log"))).contains("Code can't be created:[m.fsm]"));
}

TEST_F(BuildOptions, RefusalAboutOneStatePointsAtItsLine)
{
    write(path("m.fsm"), twoStateFile("B", "M", "leave();"));
    const Outcome o = run({"m.fsm", "/CS"});
    EXPECT_EQ(o.exitCode, 1);
    const QStringList lines = o.errLines();
    ASSERT_EQ(lines.size(), 2) << o.err.toStdString();
    EXPECT_TRUE(lines.at(0).startsWith("m.fsm:6: error: state \"B\": The \"Exit action\" of the "
                                       "node: B node hasn 't Exit transitions"))
        << o.err.toStdString();
    EXPECT_EQ(lines.at(1), "m.fsm: error: Attention, the Entry/exit has error(s)");
}

TEST_F(BuildOptions, CheckComparesWithoutWriting)
{
    write(path("m.fsm"), twoStateFile("B", "M"));
    QDir().mkdir(path("out"));
    // Nothing generated yet: both files are missing.
    Outcome o = run({"m.fsm", "/CS", "/LS", "/Oout", "--check"});
    EXPECT_EQ(o.exitCode, 1);
    EXPECT_EQ(o.errLines().size(), 3) << o.err.toStdString();
    EXPECT_TRUE(o.err.contains("out/m.c: error: missing, m.fsm generates it"))
        << o.err.toStdString();
    EXPECT_TRUE(QDir(path("out")).isEmpty());

    ASSERT_EQ(run({"m.fsm", "/CS", "/LS", "/Oout"}).exitCode, 0);
    o = run({"m.fsm", "/CS", "/LS", "/Oout", "--check"});
    EXPECT_EQ(o.exitCode, 0) << o.err.toStdString();
    EXPECT_TRUE(o.err.isEmpty());

    // A changed header is reported, and left as it is.
    write(path("out/m.h"), "edited");
    o = run({"m.fsm", "/CS", "/LS", "/Oout", "--check"});
    EXPECT_EQ(o.exitCode, 1);
    EXPECT_EQ(o.errLines(), QStringList{"out/m.h: error: not current, m.fsm generates it"});
    EXPECT_EQ(read(path("out/m.h")), QByteArray("edited"));

    // A diagram that cannot generate is no success either.
    write(path("bad.fsm"), twoStateFile("B", ""));
    EXPECT_EQ(run({"bad.fsm", "/CS", "--check"}).exitCode, 1);
}

TEST_F(BuildOptions, DepfileNamesOutputsAndEveryDiagramRead)
{
    using namespace orvane::testfiles;
    ASSERT_TRUE(writeMachine(path("Top.fsm"), twoStates("Top", "Kid();")));
    ASSERT_TRUE(writeMachine(path("Top/Kid.fsm"), twoStates("Kid", "")));
    QDir().mkdir(path("out dir"));
    const Outcome o = run({"Top.fsm", "/CH", "/Oout dir", "--depfile=deps #1.d"});
    ASSERT_EQ(o.exitCode, 0) << o.err.toStdString();
    const QString kid = QFileInfo(path("Top/Kid.fsm")).absoluteFilePath();
    EXPECT_EQ(QString::fromUtf8(read(path("deps #1.d"))),
              "out\\ dir/Top.c out\\ dir/Top.h: \\\n  Top.fsm \\\n  "
                  + BuildSupport::escapeForMake(kid) + "\n");

    // A flat style reads no child; a failed run leaves the old file alone.
    ASSERT_EQ(run({"Top.fsm", "/CS", "/LS", "--depfile=flat.d"}).exitCode, 0);
    EXPECT_EQ(read(path("flat.d")), QByteArray("Top.c Top.h Top.lst: \\\n  Top.fsm\n"));
    write(path("bad.fsm"), twoStateFile("B", ""));
    EXPECT_EQ(run({"bad.fsm", "/CS", "--depfile=flat.d"}).exitCode, 1);
    EXPECT_EQ(read(path("flat.d")), QByteArray("Top.c Top.h Top.lst: \\\n  Top.fsm\n"));
}

TEST_F(BuildOptions, BuildOptionsWithoutAnOutputSwitchAreABadCommandLine)
{
    write(path("m.fsm"), twoStateFile("B", "M"));
    EXPECT_EQ(run({"m.fsm", "--check"}).exitCode, 2);
    EXPECT_EQ(run({"m.fsm", "--depfile=x.d"}).exitCode, 2);
    EXPECT_EQ(run({"m.fsm", "/CS", "--depfile="}).exitCode, 2);
    EXPECT_FALSE(QFile::exists(path("m.c")));
}

TEST(BuildSupport, MakeEscapingAndOutputOrder)
{
    EXPECT_EQ(BuildSupport::escapeForMake("a b#c$d"), QStringLiteral("a\\ b\\#c$$d"));
    ProcessState st;
    st.swCP = true;
    st.swW = true;
    st.swLS = true;
    EXPECT_EQ(BuildSupport::outputFiles(st, "d/x.fsm", ""),
              (QStringList{"d/x.c", "d/x.h", "d/x.lst", "d/x.wmf"}));
    st.swHL = true;  // the page brings its picture
    EXPECT_EQ(BuildSupport::outputFiles(st, "d/x.fsm", "o"),
              (QStringList{"o/x.c", "o/x.h", "o/x.lst", "o/x.htm", "o/x.wmf"}));
}
