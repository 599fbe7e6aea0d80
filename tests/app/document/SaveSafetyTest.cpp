// Saving onto a full disk or into a folder that cannot be written: the old
// file stays whole and nothing half-written is left beside it. A full disk
// is a file-size limit (RLIMIT_FSIZE) in a child process; a folder that
// cannot be written is one the child, running as an unprivileged user,
// has no write permission for (root ignores permission bits).

#include "AppTestSupport.h"

#include "SafeFileWriter.h"
#include "HtmlPage.h"
#include "DocumentCommands.h"

#include <QFileInfo>

#include <sys/stat.h>

#include <csignal>
#include <functional>
#include <optional>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace orvane;
using namespace orvane::DocumentCommands;
using orvane::test::readFile;
using orvane::test::writeFile;

namespace {

constexpr int kChildSetupFailed = 99;
constexpr uid_t kNobody = 65534;

struct ChildLimits {
    std::optional<rlim_t> fileSize;  // largest file the child may write
    bool unprivileged = false;       // drop root's rights first
};

// Runs `work` in a forked child and returns its exit status (or 128 + the
// signal that ended it). The child leaves with _exit, so the parent's
// temporary folders are not removed by its destructors.
int inChild(const ChildLimits& limits, const std::function<int()>& work)
{
    std::fflush(nullptr);
    const pid_t pid = fork();
    if (pid == 0) {
        if (limits.fileSize) {
            // Writing past the limit then fails with EFBIG, as on a full disk.
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit rl{*limits.fileSize, *limits.fileSize};
            if (setrlimit(RLIMIT_FSIZE, &rl) != 0)
                _exit(kChildSetupFailed);
        }
        if (limits.unprivileged && geteuid() == 0 && (setgid(kNobody) != 0 || setuid(kNobody) != 0))
            _exit(kChildSetupFailed);
        _exit(work());
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

class SaveSafetyTest : public test::AppTest {
protected:
    QString path;
    QByteArray original;

    // An open, edited diagram whose new contents are much larger than the
    // file's, so that a limit between the two sizes lets the backup through
    // and stops the save.
    Document* openAndGrow()
    {
        path = writeDiagram(QStringLiteral("lamp.fsm"));
        original = readFile(path);
        ui.readOnlyChoice = false;
        ui.fileNames.push_back(path);
        Document* doc = fileOpen(*docs, QString()).document;
        for (int i = 0; i < 40; ++i)
            edit(*doc);
        // The tests fork: no snapshot may be half written on another thread
        // then, or the child could inherit a lock that thread held.
        doc->undo.waitForWrites();
        return doc;
    }

    QStringList filesBeside() const
    {
        QStringList names = QDir(workDir).entryList(QDir::Files | QDir::Hidden, QDir::Name);
        names.removeAll(QStringLiteral("FSM_ERR.log"));
        return names;
    }

    int saveInChild(Document& doc, const ChildLimits& limits)
    {
        return inChild(limits, [&] { return int(saveDiagram(*docs, doc)); });
    }
};

TEST_F(SaveSafetyTest, AFullDiskDuringTheSaveKeepsTheOldFileAndItsBackup)
{
    Document* doc = openAndGrow();
    const int status = saveInChild(*doc, {rlim_t(original.size() + 512), false});
    EXPECT_EQ(status, int(SaveStatus::Failed));
    EXPECT_EQ(readFile(path), original);
    // The backup is a copy of the old file, complete.
    EXPECT_EQ(readFile(path + QStringLiteral(".bak")), original);
    EXPECT_EQ(filesBeside(),
              (QStringList{QStringLiteral("lamp.fsm"), QStringLiteral("lamp.fsm.bak")}));
}

TEST_F(SaveSafetyTest, AFullDiskBeforeTheBackupKeepsTheOldBackupToo)
{
    Document* doc = openAndGrow();
    writeFile(path + QStringLiteral(".bak"), "old backup");
    // The user is told the backup failed and chooses to save all the same.
    ui.answers.push_back(Answer::Yes);
    const int status = saveInChild(*doc, {rlim_t(64), false});
    EXPECT_EQ(status, int(SaveStatus::Failed));
    EXPECT_EQ(readFile(path), original);
    EXPECT_EQ(readFile(path + QStringLiteral(".bak")), QByteArray("old backup"));
    EXPECT_EQ(filesBeside(),
              (QStringList{QStringLiteral("lamp.fsm"), QStringLiteral("lamp.fsm.bak")}));
}

TEST_F(SaveSafetyTest, AFolderThatCannotBeWrittenKeepsTheOldFile)
{
    Document* doc = openAndGrow();
    // The file itself may be written; only its folder may not.
    QFile::setPermissions(path, QFile::Permissions(0x6666));
    const QFile::Permissions before = QFile::permissions(workDir);
    if (geteuid() == 0) {
        // The child runs as nobody: it must reach the folder, not write it.
        for (const QString& dir : {root.path(), workDir, logDir})
            QFile::setPermissions(dir, QFile::Permissions(0x7755));
    } else {
        QFile::setPermissions(workDir, QFile::Permissions(0x5555));
    }
    // No backup can be made there either; the user saves all the same.
    ui.answers.push_back(Answer::Yes);
    const int status = saveInChild(*doc, {std::nullopt, true});
    QFile::setPermissions(workDir, before);
    ASSERT_NE(status, kChildSetupFailed);
    EXPECT_EQ(status, int(SaveStatus::Failed));
    EXPECT_EQ(readFile(path), original);
    EXPECT_EQ(filesBeside(), QStringList{QStringLiteral("lamp.fsm")});
}

TEST_F(SaveSafetyTest, SavingBelowAFileIsRefusedWithoutAnyTrace)
{
    Document* doc = openAndGrow();
    writeFile(work(QStringLiteral("plain.txt")), "text");
    ui.fileNames.push_back(work(QStringLiteral("plain.txt/lamp.fsm")));
    EXPECT_FALSE(fileSaveAs(*docs, *doc));
    EXPECT_EQ(doc->fsm.filePath, path);
    EXPECT_EQ(readFile(work(QStringLiteral("plain.txt"))), QByteArray("text"));
    EXPECT_EQ(filesBeside(),
              (QStringList{QStringLiteral("lamp.fsm"), QStringLiteral("plain.txt")}));
}

TEST_F(SaveSafetyTest, GeneratedFilesAndPagesOnAFullDiskKeepTheirOldContents)
{
    Document* doc = openAndGrow();
    const QString code = work(QStringLiteral("lamp.c"));
    const QString page = work(QStringLiteral("lamp.htm"));
    const QString picture = work(QStringLiteral("lamp.wmf"));
    for (const QString& f : {code, page, picture})
        writeFile(f, "old");
    const QString big(4096, QLatin1Char('x'));
    const int status = inChild({rlim_t(16), false}, [&] {
        const bool codeWritten = SafeFileWriter::writeFileSafely(code, big.toUtf8()).ok();
        const bool pageWritten = HtmlPage::fileSaveAsHTML(doc->fsm, page, false, ui);
        return codeWritten || pageWritten ? 1 : 0;
    });
    EXPECT_EQ(status, 0);
    for (const QString& f : {code, page, picture})
        EXPECT_EQ(readFile(f), QByteArray("old")) << f.toStdString();
    EXPECT_EQ(filesBeside(), (QStringList{QStringLiteral("lamp.c"), QStringLiteral("lamp.fsm"),
                                          QStringLiteral("lamp.htm"), QStringLiteral("lamp.wmf")}));
}

TEST_F(SaveSafetyTest, APrivateDiagramGetsAPrivateBackup)
{
    Document* doc = openAndGrow();
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    EXPECT_EQ(saveDiagram(*docs, *doc), SaveStatus::Saved);
    const QString backup = path + QStringLiteral(".bak");
    EXPECT_EQ(readFile(backup), original);
    EXPECT_EQ(QFile::permissions(backup) & 0x7077,
              QFile::Permissions(QFile::ReadOwner | QFile::WriteOwner));
    EXPECT_EQ(ui.count(QStringLiteral("yesno")), 0);
}

TEST_F(SaveSafetyTest, ABackupThatIsALinkIsNeverFollowedAndTheUserDecides)
{
    Document* doc = openAndGrow();
    const QString victim = work(QStringLiteral("victim.txt"));
    writeFile(victim, "precious");
    QFile::setPermissions(victim, QFile::ReadOwner | QFile::WriteOwner);
    const QString backup = path + QStringLiteral(".bak");
    ASSERT_TRUE(QFile::link(victim, backup));

    // Told why, the user stops: nothing is written.
    ui.answers.push_back(Answer::No);
    EXPECT_EQ(saveDiagram(*docs, *doc), SaveStatus::Refused);
    ASSERT_EQ(ui.count(QStringLiteral("yesno")), 1);
    const QString question = ui.shown.back().text;
    EXPECT_TRUE(question.contains(backup + QStringLiteral("\r\nIs a symbolic link\r\n")))
        << question.toStdString();
    EXPECT_TRUE(question.endsWith(QStringLiteral("Save without a backup copy?")));
    EXPECT_EQ(ui.shown.back().defaultButton, Answer::No);
    EXPECT_EQ(readFile(path), original);
    EXPECT_TRUE(doc->undo.graphHasChanged());

    // The user goes on: the diagram is saved, the link and its target stay.
    ui.answers.push_back(Answer::Yes);
    EXPECT_EQ(saveDiagram(*docs, *doc), SaveStatus::Saved);
    EXPECT_NE(readFile(path), original);
    EXPECT_EQ(readFile(victim), QByteArray("precious"));
    EXPECT_EQ(QFile::permissions(victim) & 0x7077,
              QFile::Permissions(QFile::ReadOwner | QFile::WriteOwner));
    EXPECT_TRUE(QFileInfo(backup).isSymLink());
    EXPECT_TRUE(debugLog().contains(QStringLiteral(" SalvaDiagrama, Error # 75: ") + backup
                                    + QStringLiteral(": Is a symbolic link")));
}

TEST_F(SaveSafetyTest, ADiagramThatIsNotARegularFileIsRefusedWithTheReason)
{
    Document* doc = openAndGrow();
    QFile::remove(path);
    ASSERT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0644), 0);
    EXPECT_EQ(saveDiagram(*docs, *doc), SaveStatus::Refused);
    ASSERT_EQ(ui.count(QStringLiteral("message")), 1);
    EXPECT_EQ(ui.shown.back().text, QStringLiteral("I can't save the changes in:\r\n") + path
                                        + QStringLiteral("\r\nNot a regular file"));
    EXPECT_FALSE(QFileInfo::exists(path + QStringLiteral(".bak")));
    EXPECT_FALSE(QFileInfo(path).isFile());
}

}  // namespace
