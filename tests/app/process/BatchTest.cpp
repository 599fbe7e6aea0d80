// The batch road end to end: the real program run as a process on copies of
// the test diagrams, checking the files it writes, its logs and exit status.
#include "BatchRun.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace {

QByteArray read(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

void write(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(bytes);
}

using Outcome = orvane::testing::BatchOutcome;

class Batch : public ::testing::Test {
protected:
    void SetUp() override
    {
        lamp = dir.filePath("lamp.fsm");
        QFile::copy(QStringLiteral(ORVANE_TEST_DATA "/lamp.fsm"), lamp);
    }
    Outcome run(const QStringList& args)
    {
        return orvane::testing::runBatchProgram(dir.path(), dir.path(), args, dir.path());
    }
    QString errorLog() { return QString::fromUtf8(read(dir.filePath("FSM_ERR.log"))); }
    QByteArray Golden(const char* name)
    {
        return read(QStringLiteral(ORVANE_TEST_DATA "/golden/") + name);
    }

    QTemporaryDir dir;
    QString lamp;
};

}  // namespace

TEST_F(Batch, SwitchCaseWritesCodeAndHeaderBesideTheDiagram)
{
    // The expected texts were made without the history option.
    QByteArray text = read(lamp);
    text.replace("HF_Y", "HF_N");
    write(lamp, text);
    const Outcome o = run({"/cs", lamp});
    EXPECT_EQ(o.exitCode, 0) << o.err.toStdString();
    // The written files are the generated texts, each ended by CR LF.
    EXPECT_EQ(read(dir.filePath("lamp.c")), Golden("lamp--switchcase.c") + "\r\n");
    EXPECT_EQ(read(dir.filePath("lamp.h")), Golden("lamp--switchcase.h") + "\r\n");
    EXPECT_TRUE(errorLog().isEmpty());
    // Nothing is saved: the diagram file is unchanged and has no backup.
    EXPECT_EQ(read(lamp), text);
    EXPECT_FALSE(QFile::exists(lamp + ".bak"));
}

TEST_F(Batch, OutputFolderListAndDefaultMethodology)
{
    QDir(dir.path()).mkdir("out");
    const Outcome o = run({"/C", "/LS", "/O" + dir.filePath("out"), lamp});
    EXPECT_EQ(o.exitCode, 0) << o.err.toStdString();
    // lamp.fsm's default methodology is switch-case.
    EXPECT_TRUE(read(dir.filePath("out/lamp.c")).contains("// Methodology: Switch-case state."));
    EXPECT_TRUE(read(dir.filePath("out/lamp.h")).contains("// This is a history FSM."));
    EXPECT_EQ(read(dir.filePath("out/lamp.lst")), Golden("lamp.lst") + "\r\n");
    EXPECT_FALSE(QFile::exists(dir.filePath("lamp.c")));
}

TEST_F(Batch, SpecificSwitchWinsOverDefaultAndOverridesApply)
{
    const Outcome o = run({"/C", "/CA", "/D+", "/AC+", lamp});
    EXPECT_EQ(o.exitCode, 0) << o.err.toStdString();
    const QByteArray code = read(dir.filePath("lamp.c"));
    EXPECT_TRUE(code.contains("// Methodology: Array of pointers")
                || code.contains("/* Methodology: Array of pointers"));
    EXPECT_TRUE(code.contains("#if defined(FSM_DEBUG)"));
    EXPECT_FALSE(code.contains("\r\n//"));  // every comment is ANSI
}

TEST_F(Batch, NoDefaultMethodologyGeneratesNothing)
{
    QByteArray text = read(lamp);
    text.replace("&Switch Case...;", ";");
    write(lamp, text);
    const Outcome o = run({"/C", lamp});
    EXPECT_EQ(o.exitCode, 1);
    EXPECT_FALSE(QFile::exists(dir.filePath("lamp.c")));
    EXPECT_TRUE(errorLog().isEmpty());
}

TEST_F(Batch, RefusedGenerationIsReportedAndWritesNothing)
{
    QByteArray text = read(lamp);
    text.replace(QByteArray("FSM V0.4c\xc2\xb7 \xc2\xb7Lamp"),
                 QByteArray("FSM V0.4c\xc2\xb7 \xc2\xb7"));
    write(lamp, text);
    const Outcome o = run({"/CP", lamp});
    EXPECT_EQ(o.exitCode, 1);
    EXPECT_TRUE(o.err.contains("Attention, before generate C-code you must name the FSM"))
        << o.err.toStdString();
    EXPECT_TRUE(errorLog().contains("]:Code can't be created:[lamp.fsm]\r\n"))
        << errorLog().toStdString();
    EXPECT_FALSE(QFile::exists(dir.filePath("lamp.c")));
    EXPECT_FALSE(QFile::exists(dir.filePath("lamp.h")));
}

TEST_F(Batch, ProtectedOutputIsNotOverwritten)
{
    write(dir.filePath("lamp.c"), "keep");
    QFile::setPermissions(dir.filePath("lamp.c"), QFile::ReadOwner);
    const Outcome o = run({"/CS", lamp});
    EXPECT_EQ(o.exitCode, 1);
    EXPECT_EQ(read(dir.filePath("lamp.c")), QByteArray("keep"));
    EXPECT_TRUE(errorLog().contains("Fsm can't save, access denied to file:["
                                    + dir.filePath("lamp.c") + "]"));
}

TEST_F(Batch, PageAndPictureWithoutADisplay)
{
    Outcome o = run({"/H", "/W", lamp});
    EXPECT_EQ(o.exitCode, 0) << o.err.toStdString();
    const QByteArray page = read(dir.filePath("lamp.htm"));
    EXPECT_TRUE(page.startsWith("<HTML>\r\n<HEAD>\r\n"));
    EXPECT_TRUE(page.contains("<IMG SRC=\"lamp.wmf\">"));
    EXPECT_TRUE(
        read(dir.filePath("lamp.wmf")).startsWith("\xd7\xcd\xc6\x9a"));  // placeable metafile key
    QFile::remove(dir.filePath("lamp.wmf"));
    o = run({"/W", lamp});
    EXPECT_EQ(o.exitCode, 0);
    EXPECT_TRUE(QFile::exists(dir.filePath("lamp.wmf")));
}

TEST_F(Batch, NewerSignatureIsNotProcessed)
{
    QByteArray text = read(lamp);
    text.replace("FSM V0.4c", "FSM V0.5");
    write(lamp, text);
    const Outcome o = run({"/CS", lamp});
    EXPECT_EQ(o.exitCode, 1);
    EXPECT_TRUE(o.err.contains("newer signature")) << o.err.toStdString();
    EXPECT_FALSE(QFile::exists(dir.filePath("lamp.c")));
    EXPECT_TRUE(errorLog().contains("Fsm error loading:[" + lamp + "]"));
}

TEST(BatchTree, HierarchicalModuleOfTheExampleTree)
{
    // The example tree generates the module committed beside it (the files
    // written end with one more line end than the generated texts).
    QTemporaryDir dir;
    const QString example = QStringLiteral(ORVANE_SOURCE_DIR "/examples/washer/");
    const Outcome o = orvane::testing::runBatchProgram(
        dir.path(), dir.path(), {"/ch", "/O" + dir.path(), example + "Washer.fsm"}, dir.path());
    EXPECT_EQ(o.exitCode, 0) << o.err.toStdString();
    EXPECT_EQ(read(dir.filePath("Washer.c")), read(example + "Washer.c") + "\r\n");
    EXPECT_EQ(read(dir.filePath("Washer.h")), read(example + "Washer.h") + "\r\n");
}

TEST_F(Batch, WithoutADisplayTheWindowProgramSaysSoAndEndsWithStatusTwo)
{
    for (const QStringList& args : {QStringList{lamp}, QStringList{}, QStringList{"/D+", lamp}}) {
        const Outcome o = run(args);
        EXPECT_EQ(o.exitCode, 2) << args.join(' ').toStdString();
        EXPECT_TRUE(o.err.contains(QStringLiteral("no display"))) << o.err.toStdString();
    }
    // Nothing was opened, so nothing was cleared or written.
    EXPECT_FALSE(QFile::exists(dir.filePath("FSM_0001.fsm")));
}

TEST_F(Batch, EveryOutputThatCannotBeWrittenIsToldOnStandardErrorAndInTheErrorLog)
{
    // A code file that is a pipe, and a page whose picture is read-only.
    const QString code = dir.filePath("lamp.c");
    ASSERT_EQ(::mkfifo(QFile::encodeName(code).constData(), 0644), 0);
    write(dir.filePath("lamp.wmf"), "keep");
    QFile::setPermissions(dir.filePath("lamp.wmf"), QFile::ReadOwner);
    const Outcome o = run({"/CS", "/H", lamp});
    EXPECT_EQ(o.exitCode, 1);
    // One diagnostics line each, the message's line breaks become blanks.
    EXPECT_TRUE(o.err.contains(lamp + ": error: Attention!: I can't save the changes in: " + code
                               + " Not a regular file\n"))
        << o.err.toStdString();
    EXPECT_TRUE(o.err.contains(lamp + ": error:  FileSaveAsHTML, Error #70: Permission denied ["
                               + dir.filePath("lamp.wmf") + "]\n"))
        << o.err.toStdString();
    EXPECT_TRUE(errorLog().contains("Fsm can't save file:[" + code + "]: Not a regular file"))
        << errorLog().toStdString();
    EXPECT_TRUE(errorLog().contains("Fsm can't save, access denied to file:["
                                    + dir.filePath("lamp.wmf") + "]"));
    EXPECT_FALSE(QFileInfo(code).isFile());
    EXPECT_EQ(read(dir.filePath("lamp.wmf")), QByteArray("keep"));
    EXPECT_FALSE(QFile::exists(dir.filePath("lamp.htm")));
}

TEST_F(Batch, UnchangedOutputsKeepTheirTimeStamps)
{
    const QStringList names = {"lamp.c", "lamp.h", "lamp.lst", "lamp.htm", "lamp.wmf"};
    ASSERT_EQ(run({"/CS", "/LS", "/H", lamp}).exitCode, 0);
    const QDateTime old = QDateTime::fromSecsSinceEpoch(978307200);
    for (const QString& name : names) {
        QFile f(dir.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::ReadWrite)) << name.toStdString();
        ASSERT_TRUE(f.setFileTime(old, QFileDevice::FileModificationTime));
    }
    const Outcome o = run({"/CS", "/LS", "/H", lamp});
    EXPECT_EQ(o.exitCode, 0) << o.err.toStdString();
    for (const QString& name : names)
        EXPECT_EQ(QFileInfo(dir.filePath(name)).lastModified(), old) << name.toStdString();
}

TEST_F(Batch, OutputsLinkedToADeviceAreRefusedAndTheDeviceStays)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "making a device node needs root";
    const QString device = dir.filePath("fakenull");
    if (::mknod(QFile::encodeName(device).constData(), S_IFCHR | 0666, makedev(1, 3)) != 0)
        GTEST_SKIP() << "mknod refused here";
    QDir(dir.path()).mkdir("o");
    for (const char* name : {"lamp.h", "lamp.htm", "lamp.wmf"})
        ASSERT_TRUE(QFile::link(device, dir.filePath("o/") + name));
    const Outcome o = run({"/CS", "/H", "/O" + dir.filePath("o"), lamp});
    EXPECT_EQ(o.exitCode, 1);
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(device).constData(), &st), 0);
    EXPECT_TRUE(S_ISCHR(st.st_mode));
    for (const char* name : {"lamp.h", "lamp.wmf"})
        EXPECT_TRUE(errorLog().contains("Fsm can't save file:[" + dir.filePath("o/") + name
                                        + "]: Not a regular file"))
            << errorLog().toStdString();
}
