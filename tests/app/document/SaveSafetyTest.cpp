// Saving onto a full disk or into a folder that cannot be written: the old
// file stays whole and nothing half-written is left beside it. A full disk
// is a file-size limit (RLIMIT_FSIZE) in a child process; a folder that
// cannot be written is one the child, running as an unprivileged user,
// has no write permission for (root ignores permission bits).

#include "AppTestSupport.h"

#include "FileHelpers.h"
#include "modHTML.h"
#include "modMain_Files.h"

#include <QFileInfo>

#include <csignal>
#include <functional>
#include <optional>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace orvane;
using namespace orvane::modMain;
using orvane::test::ReadFile;
using orvane::test::WriteFile;

namespace {

constexpr int kChildSetupFailed = 99;
constexpr uid_t kNobody = 65534;

struct ChildLimits {
    std::optional<rlim_t> fileSize;  // largest file the child may write
    bool unprivileged = false;      // drop root's rights first
};

// Runs `work` in a forked child and returns its exit status (or 128 + the
// signal that ended it). The child leaves with _exit, so the parent's
// temporary folders are not removed by its destructors.
int InChild(const ChildLimits& limits, const std::function<int()>& work)
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
    Document* OpenAndGrow()
    {
        path = WriteDiagram(QStringLiteral("lamp.fsm"));
        original = ReadFile(path);
        ui.readOnlyChoice = false;
        ui.fileNames.push_back(path);
        Document* doc = FileOpen(*docs, QString()).document;
        for (int i = 0; i < 40; ++i)
            Edit(*doc);
        return doc;
    }

    QStringList FilesBeside() const
    {
        QStringList names = QDir(workDir).entryList(QDir::Files | QDir::Hidden, QDir::Name);
        names.removeAll(QStringLiteral("FSM_ERR.log"));
        return names;
    }

    int SaveInChild(Document& doc, const ChildLimits& limits)
    {
        return InChild(limits, [&] { return int(SalvaDiagrama(*docs, doc)); });
    }
};

TEST_F(SaveSafetyTest, AFullDiskDuringTheSaveKeepsTheOldFileAndItsBackup)
{
    Document* doc = OpenAndGrow();
    const int status = SaveInChild(*doc, {rlim_t(original.size() + 512), false});
    EXPECT_EQ(status, int(SaveStatus::Failed));
    EXPECT_EQ(ReadFile(path), original);
    // The backup is a copy of the old file, complete.
    EXPECT_EQ(ReadFile(path + QStringLiteral(".bak")), original);
    EXPECT_EQ(FilesBeside(),
              (QStringList{QStringLiteral("lamp.fsm"), QStringLiteral("lamp.fsm.bak")}));
}

TEST_F(SaveSafetyTest, AFullDiskBeforeTheBackupKeepsTheOldBackupToo)
{
    Document* doc = OpenAndGrow();
    WriteFile(path + QStringLiteral(".bak"), "old backup");
    const int status = SaveInChild(*doc, {rlim_t(64), false});
    EXPECT_EQ(status, int(SaveStatus::Failed));
    EXPECT_EQ(ReadFile(path), original);
    EXPECT_EQ(ReadFile(path + QStringLiteral(".bak")), QByteArray("old backup"));
    EXPECT_EQ(FilesBeside(),
              (QStringList{QStringLiteral("lamp.fsm"), QStringLiteral("lamp.fsm.bak")}));
}

TEST_F(SaveSafetyTest, AFolderThatCannotBeWrittenKeepsTheOldFile)
{
    Document* doc = OpenAndGrow();
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
    const int status = SaveInChild(*doc, {std::nullopt, true});
    QFile::setPermissions(workDir, before);
    ASSERT_NE(status, kChildSetupFailed);
    EXPECT_EQ(status, int(SaveStatus::Failed));
    EXPECT_EQ(ReadFile(path), original);
    EXPECT_EQ(FilesBeside(), QStringList{QStringLiteral("lamp.fsm")});
}

TEST_F(SaveSafetyTest, SavingBelowAFileIsRefusedWithoutAnyTrace)
{
    Document* doc = OpenAndGrow();
    WriteFile(Work(QStringLiteral("plain.txt")), "text");
    ui.fileNames.push_back(Work(QStringLiteral("plain.txt/lamp.fsm")));
    EXPECT_FALSE(FileSaveAs(*docs, *doc));
    EXPECT_EQ(doc->fsm.sFullDocname, path);
    EXPECT_EQ(ReadFile(Work(QStringLiteral("plain.txt"))), QByteArray("text"));
    EXPECT_EQ(FilesBeside(),
              (QStringList{QStringLiteral("lamp.fsm"), QStringLiteral("plain.txt")}));
}

TEST_F(SaveSafetyTest, GeneratedFilesAndPagesOnAFullDiskKeepTheirOldContents)
{
    Document* doc = OpenAndGrow();
    const QString code = Work(QStringLiteral("lamp.c"));
    const QString page = Work(QStringLiteral("lamp.htm"));
    const QString picture = Work(QStringLiteral("lamp.wmf"));
    for (const QString& f : {code, page, picture})
        WriteFile(f, "old");
    const QString big(4096, QLatin1Char('x'));
    const int status = InChild({rlim_t(16), false}, [&] {
        const bool codeWritten = FileHelpers::WriteTextFile(code, big, nullptr);
        const bool pageWritten = modHTML::FileSaveAsHTML(doc->fsm, page, false, ui);
        return codeWritten || pageWritten ? 1 : 0;
    });
    EXPECT_EQ(status, 0);
    for (const QString& f : {code, page, picture})
        EXPECT_EQ(ReadFile(f), QByteArray("old")) << f.toStdString();
    EXPECT_EQ(FilesBeside(), (QStringList{QStringLiteral("lamp.c"), QStringLiteral("lamp.fsm"),
                                          QStringLiteral("lamp.htm"), QStringLiteral("lamp.wmf")}));
}

}  // namespace
