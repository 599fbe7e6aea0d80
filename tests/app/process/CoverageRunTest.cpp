// Batch --coverage and --min-coverage through the real program: the totals,
// the warnings at the lines of the nodes never reached, the page, the
// status, a trace that does not fit, and the bad uses of the options.
#include "BatchRun.h"

#include "TwoStateFile.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

using orvane::testing::twoStateFile;

namespace {

void write(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QByteArray read(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// One node a line: state A (initial, line 5) goes to B (line 6) on "go <
// 1" (the transition node on line 7); machine M's record on line 8.
QByteArray machineFile() { return twoStateFile("B", "M", QString(), "go < 1"); }

class Coverage : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        write(dir.filePath("m.fsm"), machineFile());
        ASSERT_TRUE(QDir(dir.path()).mkpath("out"));
    }
    orvane::testing::BatchOutcome run(const QStringList& args)
    {
        return orvane::testing::runBatchProgram(dir.path(), dir.filePath("log"), args);
    }
    // The diagnostics about the test's own files.
    static QStringList diagnostics(const orvane::testing::BatchOutcome& o)
    {
        QStringList lines = o.errLines().filter(QStringLiteral("m.fsm"));
        lines += o.errLines().filter(QStringLiteral("t.txt"));
        return lines;
    }
    QTemporaryDir dir;
};

}  // namespace

TEST_F(Coverage, ReportsTheTotalsAndWhatWasNeverReachedAndWritesThePage)
{
    write(dir.filePath("t.txt"), "start\norvane-trace M A 0\norvane-trace Other X 4\n");
    const auto o = run({"m.fsm", "--coverage=t.txt", "/Oout"});
    EXPECT_EQ(o.exitCode, 0) << o.err.toStdString();
    EXPECT_EQ(o.out, "states 1/2, transitions 0/1\n");
    EXPECT_EQ(diagnostics(o),
              (QStringList{"m.fsm:6: warning: state \"B\" never reached",
                           "m.fsm:7: warning: transition 1 of state \"A\" to \"B\" never fired"}));
    const QString page = QString::fromUtf8(read(dir.filePath("out/m.coverage.htm")));
    EXPECT_TRUE(page.contains("<svg")) << page.left(400).toStdString();
    EXPECT_TRUE(page.contains("<code>go &lt; 1</code>"));
    EXPECT_TRUE(page.contains("States 1/2 (50.0%), transitions 0/1 (0.0%)."));
    EXPECT_TRUE(page.contains("#c81e1e"));  // the missed items drawn red
}

TEST_F(Coverage, FailsBelowTheMinimumOfFiredTransitions)
{
    write(dir.filePath("t.txt"), "orvane-trace M B 1\n");
    auto o = run({"m.fsm", "--coverage=t.txt", "--min-coverage=100", "/Oout"});
    EXPECT_EQ(o.exitCode, 0) << o.err.toStdString();
    EXPECT_EQ(o.out, "states 2/2, transitions 1/1\n");
    EXPECT_TRUE(diagnostics(o).isEmpty());
    write(dir.filePath("t.txt"), "orvane-trace M A 0\n");
    o = run({"m.fsm", "--coverage=t.txt", "--min-coverage=0.5", "/Oout"});
    EXPECT_EQ(o.exitCode, 1);
    EXPECT_TRUE(diagnostics(o).contains("m.fsm: error: transition coverage 0.0% is below 0.5%"));
}

TEST_F(Coverage, ATraceThatDoesNotFitIsAnErrorAtItsLine)
{
    write(dir.filePath("t.txt"), "orvane-trace M A 0\n\norvane-trace M C 0\norvane-trace M B 1\n");
    const auto o = run({"m.fsm", "--coverage=t.txt", "/Oout"});
    EXPECT_EQ(o.exitCode, 1);
    EXPECT_EQ(o.out, "states 1/2, transitions 0/1\n");  // what came before the misfit
    EXPECT_TRUE(diagnostics(o).contains("t.txt:3: error: FSM \"M\" has no state \"C\""))
        << o.err.toStdString();
    EXPECT_TRUE(QFile::exists(dir.filePath("out/m.coverage.htm")));
}

TEST_F(Coverage, ATraceMayNameTheMachineAsTheEditorDoes)
{
    // The editor names the diagram of "my lamp.fsm" "my_lamp", and code it
    // generates prints that name; code generated here prints "M".
    write(dir.filePath("my lamp.fsm"), machineFile());
    write(dir.filePath("t.txt"), "orvane-trace my_lamp A 0\norvane-trace M B 1\n");
    auto o = run({"my lamp.fsm", "--coverage=t.txt", "/Oout"});
    EXPECT_EQ(o.exitCode, 0) << o.err.toStdString();
    EXPECT_EQ(o.out, "states 2/2, transitions 1/1\n");
    write(dir.filePath("t.txt"), "orvane-trace my_lamp B 1\n");
    o = run({"my lamp.fsm", "--coverage=t.txt", "/Oout"});
    EXPECT_EQ(o.out, "states 2/2, transitions 1/1\n");
    // Another file's name is not this machine's.
    o = run({"m.fsm", "--coverage=t.txt", "/Oout"});
    EXPECT_EQ(o.out, "states 0/2, transitions 0/1\n");
}

TEST_F(Coverage, BadUsesAreRefused)
{
    auto o = run({"m.fsm", "--coverage=missing.txt", "/Oout"});
    EXPECT_EQ(o.exitCode, 1);
    EXPECT_TRUE(diagnostics(o).isEmpty());
    EXPECT_TRUE(o.err.contains("missing.txt: error: cannot read the trace"));
    EXPECT_FALSE(QFile::exists(dir.filePath("out/m.coverage.htm")));
    for (const QStringList& args :
         {QStringList{"m.fsm", "--coverage="}, QStringList{"m.fsm", "--min-coverage=50"},
          QStringList{"m.fsm", "--coverage=t.txt", "--min-coverage=abc"},
          QStringList{"m.fsm", "--coverage=t.txt", "--min-coverage=101"}}) {
        o = run(args);
        EXPECT_EQ(o.exitCode, 2) << args.join(' ').toStdString();
        EXPECT_TRUE(o.err.contains("unknown option")) << o.err.toStdString();
    }
}
