// The one file writer: what it refuses to replace (devices, pipes, folders,
// read-only files, links it may not follow), what it replaces through an
// allowed link, the backup's permissions, unchanged files keeping their
// time stamps, and the system's reason when a write fails. Some cases need
// root (device nodes, links owned by another user); they are skipped with a
// message otherwise.

#include "SafeFileWriter.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cerrno>
#include <cstring>
#include <csignal>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace orvane::SafeFileWriter;

namespace {

constexpr uid_t kNobody = 65534;

QByteArray encoded(const QString& path) { return QFile::encodeName(path); }

struct stat lstatOf(const QString& path)
{
    struct stat st {};
    EXPECT_EQ(::lstat(encoded(path).constData(), &st), 0) << path.toStdString();
    return st;
}

mode_t modeOf(const QString& path) { return lstatOf(path).st_mode & 07777; }

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class SafeFileWriterTest : public ::testing::Test {
protected:
    QTemporaryDir dir;

    QString path(const QString& name) const { return dir.filePath(name); }

    QString file(const QString& name, const QByteArray& bytes, mode_t mode = 0644)
    {
        const QString p = path(name);
        QFile::remove(p);
        QFile f(p);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
        f.close();
        ::chmod(encoded(p).constData(), mode);
        return p;
    }

    QString link(const QString& name, const QString& target)
    {
        const QString p = path(name);
        EXPECT_EQ(::symlink(encoded(target).constData(), encoded(p).constData()), 0);
        return p;
    }

    // Puts the file's modification time back to 2001, so that a rewrite
    // shows even within the same second.
    static void ageFile(const QString& p)
    {
        const timespec times[2] = {{978307200, 0}, {978307200, 0}};
        ASSERT_EQ(::utimensat(AT_FDCWD, encoded(p).constData(), times, 0), 0);
    }
    static bool isOld(const QString& p) { return lstatOf(p).st_mtim.tv_sec == 978307200; }
};

TEST_F(SafeFileWriterTest, WritesNewFilesAndReplacesOldOnesKeepingTheirPermissions)
{
    const QString fresh = path("new.c");
    EXPECT_EQ(writeFileSafely(fresh, "int x;").status, WriteStatus::Written);
    EXPECT_EQ(readAll(fresh), QByteArray("int x;"));

    const QString old = file("old.c", "old text", 0640);
    const ino_t inode = lstatOf(old).st_ino;
    EXPECT_EQ(writeFileSafely(old, "new").status, WriteStatus::Written);
    EXPECT_EQ(readAll(old), QByteArray("new"));
    EXPECT_EQ(modeOf(old), mode_t(0640));
    // Replaced by a new file renamed over it, never rewritten in place.
    EXPECT_NE(lstatOf(old).st_ino, inode);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 2);

    const WriteResult missing = writeFileSafely(path("no/such/folder.c"), "x");
    EXPECT_EQ(missing.status, WriteStatus::Failed);
    EXPECT_EQ(missing.reason, systemReason(ENOENT));
}

TEST_F(SafeFileWriterTest, AFileThatAlreadyHoldsTheBytesKeepsItsTimeStamp)
{
    const QString out = file("lamp.c", "same");
    ageFile(out);
    const ino_t inode = lstatOf(out).st_ino;
    EXPECT_EQ(writeFileSafely(out, "same").status, WriteStatus::Unchanged);
    EXPECT_TRUE(isOld(out));
    EXPECT_EQ(lstatOf(out).st_ino, inode);

    // The same size with other bytes, and a longer text, are written.
    EXPECT_EQ(writeFileSafely(out, "SAME").status, WriteStatus::Written);
    EXPECT_FALSE(isOld(out));
    ageFile(out);
    EXPECT_EQ(writeFileSafely(out, "SAME+").status, WriteStatus::Written);
    EXPECT_EQ(readAll(out), QByteArray("SAME+"));

    // Through a link, the file it leads to is compared.
    const QString through = link("link.c", out);
    ageFile(out);
    EXPECT_EQ(writeFileSafely(through, "SAME+").status, WriteStatus::Unchanged);
    EXPECT_TRUE(isOld(out));

    // An empty text and an empty file.
    const QString empty = file("empty.h", "");
    ageFile(empty);
    EXPECT_EQ(writeFileSafely(empty, QByteArray()).status, WriteStatus::Unchanged);
    EXPECT_TRUE(isOld(empty));

    // Files of several megabytes are compared a block at a time: a change in
    // the first, a middle or the very last byte is seen.
    QByteArray big(3 * 1024 * 1024 + 7, 'x');
    for (qsizetype i = 0; i < big.size(); i += 4093)
        big[i] = char('a' + i % 26);
    const QString bigFile = file("big.lst", big);
    for (const qsizetype at : {qsizetype(0), qsizetype(1024 * 1024), big.size() - 1}) {
        ageFile(bigFile);
        EXPECT_EQ(writeFileSafely(bigFile, big).status, WriteStatus::Unchanged);
        EXPECT_TRUE(isOld(bigFile));
        QByteArray changed = big;
        changed[at] = '#';
        EXPECT_EQ(writeFileSafely(bigFile, changed).status, WriteStatus::Written) << at;
        EXPECT_EQ(readAll(bigFile), changed);
        ASSERT_EQ(writeFileSafely(bigFile, big).status, WriteStatus::Written);
    }
}

TEST_F(SafeFileWriterTest, PipesFoldersAndLinksToThemAreNeverReplaced)
{
    const QString fifo = path("T.h");
    ASSERT_EQ(::mkfifo(encoded(fifo).constData(), 0600), 0);
    ::chmod(encoded(fifo).constData(), 0666);
    const QString folder = path("T.htm");
    ASSERT_TRUE(QDir().mkdir(folder));
    const QString toFifo = link("T.wmf", fifo);
    for (const QString& target : {fifo, folder, toFifo}) {
        // Empty bytes too: a pipe holds nothing, which is no reason to
        // leave it "unchanged" (nor to open it and wait for a writer).
        for (const QByteArray& bytes : {QByteArray("text"), QByteArray()}) {
            const WriteResult r = writeFileSafely(target, bytes);
            EXPECT_EQ(r.status, WriteStatus::Refused) << target.toStdString();
            EXPECT_EQ(r.reason, QStringLiteral("Not a regular file"));
            EXPECT_FALSE(r.readOnly);
        }
    }
    EXPECT_TRUE(S_ISFIFO(lstatOf(fifo).st_mode));
    EXPECT_TRUE(S_ISDIR(lstatOf(folder).st_mode));
    EXPECT_TRUE(S_ISLNK(lstatOf(toFifo).st_mode));
    EXPECT_EQ(modeOf(fifo), mode_t(0666));
}

TEST_F(SafeFileWriterTest, DeviceNodesAndLinksToThemAreNeverReplaced)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "making a device node needs root";
    const QString device = path("fakenull");
    if (::mknod(encoded(device).constData(), S_IFCHR | 0666, makedev(1, 3)) != 0)
        GTEST_SKIP() << "mknod refused here: " << std::strerror(errno);
    ::chmod(encoded(device).constData(), 0666);
    const QString header = link("T.h", device);
    for (const QString& target : {device, header}) {
        const WriteResult r = writeFileSafely(target, QByteArray(798, 'x'));
        EXPECT_EQ(r.status, WriteStatus::Refused);
        EXPECT_EQ(r.reason, QStringLiteral("Not a regular file"));
    }
    const struct stat st = lstatOf(device);
    EXPECT_TRUE(S_ISCHR(st.st_mode));
    EXPECT_EQ(st.st_rdev, makedev(1, 3));
    EXPECT_EQ(st.st_mode & 07777, mode_t(0666));
}

TEST_F(SafeFileWriterTest, AReadOnlyFileIsRefusedForEveryUserRootIncluded)
{
    const QString readOnly = file("ro.h", "keep", 0400);
    const QString through = link("T.h", readOnly);
    for (const QString& target : {readOnly, through}) {
        const WriteResult r = writeFileSafely(target, "new");
        EXPECT_EQ(r.status, WriteStatus::Refused);
        EXPECT_TRUE(r.readOnly);
        EXPECT_EQ(r.reason, systemReason(EACCES));
    }
    EXPECT_EQ(readAll(readOnly), QByteArray("keep"));
    EXPECT_EQ(modeOf(readOnly), mode_t(0400));

    // The caller may ask for a read-only file of the user's own to be
    // replaced, but never one reached through a link.
    WriteOptions replace;
    replace.replaceReadOnly = true;
    EXPECT_EQ(writeFileSafely(through, "new", replace).status, WriteStatus::Refused);
    EXPECT_EQ(modeOf(readOnly), mode_t(0400));
    EXPECT_EQ(writeFileSafely(readOnly, "new", replace).status, WriteStatus::Written);
    EXPECT_EQ(readAll(readOnly), QByteArray("new"));
    EXPECT_EQ(modeOf(readOnly), mode_t(0600));
}

TEST_F(SafeFileWriterTest, AnAllowedLinkLeadsToItsFileWhichIsReplacedWhole)
{
    QDir(dir.path()).mkdir("real");
    const QString target = file("real/T.c", "old", 0640);
    const QString absolute = link("abs.c", target);
    const QString relative = link("rel.c", QStringLiteral("real/T.c"));
    const QString chained = link("chain.c", absolute);
    for (const QString& l : {absolute, relative, chained}) {
        const QByteArray bytes = l.toUtf8();
        EXPECT_EQ(writeFileSafely(l, bytes).status, WriteStatus::Written);
        EXPECT_EQ(readAll(target), bytes);
        EXPECT_TRUE(S_ISLNK(lstatOf(l).st_mode));
    }
    EXPECT_EQ(modeOf(target), mode_t(0640));
    // The temporary file was made beside the target, not beside the links.
    EXPECT_EQ(QDir(path("real")).entryList(QDir::Files | QDir::Hidden), QStringList{"T.c"});

    // A link to nothing and a loop have no file to replace.
    const QString dangling = link("dangling.c", path("nowhere.c"));
    EXPECT_EQ(writeFileSafely(dangling, "x").status, WriteStatus::Refused);
    EXPECT_FALSE(QFile::exists(path("nowhere.c")));
    link("loop1.c", path("loop2.c"));
    const QString loop = link("loop2.c", path("loop1.c"));
    const WriteResult looped = writeFileSafely(loop, "x");
    EXPECT_EQ(looped.status, WriteStatus::Refused);
    EXPECT_EQ(looped.reason, systemReason(ELOOP));

    // Asked not to follow links, none is followed.
    WriteOptions noLinks;
    noLinks.followLinks = false;
    EXPECT_EQ(writeFileSafely(absolute, "y", noLinks).status, WriteStatus::Refused);
    EXPECT_EQ(readAll(target), chained.toUtf8());
}

TEST_F(SafeFileWriterTest, ALinkOfAnotherUserInASharedStickyFolderIsNotFollowed)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "planting a link owned by another user needs root";
    const QString secret = file("secret.c", "secret", 0600);
    const QString pub = path("pub");
    ASSERT_TRUE(QDir().mkdir(pub));
    ::chmod(encoded(pub).constData(), 01777);
    const QString planted = link("pub/T.c", secret);
    ASSERT_EQ(::lchown(encoded(planted).constData(), kNobody, kNobody), 0);
    const WriteResult r = writeFileSafely(planted, "generated");
    EXPECT_EQ(r.status, WriteStatus::Refused);
    EXPECT_FALSE(r.reason.isEmpty());
    EXPECT_EQ(readAll(secret), QByteArray("secret"));
    EXPECT_TRUE(S_ISLNK(lstatOf(planted).st_mode));

    // The same link is followed when it is the user's own, when it belongs
    // to the folder's owner, or when the folder is not sticky.
    const auto followed = [&] {
        const bool written = writeFileSafely(planted, "generated").status == WriteStatus::Written;
        file("secret.c", "secret", 0600);
        return written;
    };
    ASSERT_EQ(::lchown(encoded(planted).constData(), 0, 0), 0);
    EXPECT_TRUE(followed());
    ASSERT_EQ(::lchown(encoded(planted).constData(), kNobody, kNobody), 0);
    ASSERT_EQ(::chown(encoded(pub).constData(), kNobody, kNobody), 0);
    EXPECT_TRUE(followed());
    ASSERT_EQ(::chown(encoded(pub).constData(), 0, 0), 0);
    ::chmod(encoded(pub).constData(), 0777);
    EXPECT_TRUE(followed());
}

TEST_F(SafeFileWriterTest, TheBackupHasTheOriginalsPermissionBits)
{
    for (const mode_t mode : {mode_t(0600), mode_t(0640), mode_t(0444)}) {
        const QString original = file("Private.fsm", "diagram", mode);
        const QString backup = path("Private.fsm.bak");
        QFile::remove(backup);
        EXPECT_EQ(makeBackup(original, backup).status, WriteStatus::Written);
        EXPECT_EQ(readAll(backup), QByteArray("diagram"));
        EXPECT_EQ(modeOf(backup), mode);
    }
    // An older backup, too open, with the same bytes gets the bits as well.
    const QString original = file("Private.fsm", "diagram", 0600);
    const QString backup = file("Private.fsm.bak", "diagram", 0644);
    EXPECT_EQ(makeBackup(original, backup).status, WriteStatus::Written);
    EXPECT_EQ(modeOf(backup), mode_t(0600));
    ageFile(backup);
    EXPECT_EQ(makeBackup(original, backup).status, WriteStatus::Unchanged);
    EXPECT_TRUE(isOld(backup));
}

TEST_F(SafeFileWriterTest, TheBackupNeverFollowsNorReplacesALinkOrAPipe)
{
    const QString original = file("Lamp.fsm", "diagram", 0600);
    const QString victim = file("victim.txt", "precious", 0600);
    const QString backup = link("Lamp.fsm.bak", victim);
    const WriteResult r = makeBackup(original, backup);
    EXPECT_EQ(r.status, WriteStatus::Refused);
    EXPECT_FALSE(r.reason.isEmpty());
    EXPECT_EQ(readAll(victim), QByteArray("precious"));
    EXPECT_EQ(modeOf(victim), mode_t(0600));
    EXPECT_TRUE(S_ISLNK(lstatOf(backup).st_mode));

    QFile::remove(backup);
    ASSERT_EQ(::mkfifo(encoded(backup).constData(), 0600), 0);
    EXPECT_EQ(makeBackup(original, backup).status, WriteStatus::Refused);
    EXPECT_TRUE(S_ISFIFO(lstatOf(backup).st_mode));

    // An original that is itself a pipe is not read (that would wait).
    const QString pipe = path("Pipe.fsm");
    ASSERT_EQ(::mkfifo(encoded(pipe).constData(), 0600), 0);
    EXPECT_EQ(makeBackup(pipe, path("Pipe.fsm.bak")).status, WriteStatus::Refused);
    EXPECT_FALSE(QFile::exists(path("Pipe.fsm.bak")));
}

// With or without the flush to disk, a write that fails gives the system's
// reason, keeps the old file and leaves no temporary file behind.
TEST_F(SafeFileWriterTest, AFailedWriteGivesTheSystemsReasonAndKeepsTheOldFile)
{
    for (const bool durable : {true, false}) {
        SCOPED_TRACE(durable ? "with the flush" : "without the flush");
        const QString out = file("big.c", "old");
        // A file-size limit in a child process: writing past it fails as on
        // a full disk (EFBIG instead of ENOSPC).
        std::fflush(nullptr);
        const pid_t pid = ::fork();
        if (pid == 0) {
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{1024, 1024};
            if (::setrlimit(RLIMIT_FSIZE, &limit) != 0)
                ::_exit(2);
            WriteOptions options;
            options.durable = durable;
            const WriteResult r = writeFileSafely(out, QByteArray(1 << 20, 'x'), options);
            ::_exit(r.status == WriteStatus::Failed && r.reason == systemReason(EFBIG) ? 0 : 1);
        }
        int status = 0;
        ::waitpid(pid, &status, 0);
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), 0);
        EXPECT_EQ(readAll(out), QByteArray("old"));
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"big.c"});
    }
}

// Outputs that can be made again are replaced without the flush to disk;
// everything else about the write must stay as it is.
TEST_F(SafeFileWriterTest, AWriteWithoutFlushStillReplacesWholeWithTheRightPermissions)
{
    WriteOptions quick;
    quick.durable = false;
    const mode_t mask = ::umask(022);
    const QString fresh = path("new.c");
    EXPECT_EQ(writeFileSafely(fresh, "int x;", quick).status, WriteStatus::Written);
    EXPECT_EQ(readAll(fresh), QByteArray("int x;"));
    EXPECT_EQ(modeOf(fresh), mode_t(0644));

    const QString old = file("old.c", "old text", 0640);
    const ino_t inode = lstatOf(old).st_ino;
    EXPECT_EQ(writeFileSafely(old, "new", quick).status, WriteStatus::Written);
    EXPECT_EQ(readAll(old), QByteArray("new"));
    EXPECT_EQ(modeOf(old), mode_t(0640));
    EXPECT_NE(lstatOf(old).st_ino, inode);
    ageFile(old);
    EXPECT_EQ(writeFileSafely(old, "new", quick).status, WriteStatus::Unchanged);
    EXPECT_TRUE(isOld(old));

    // Asked-for permissions are given exactly, past the umask.
    WriteOptions open = quick;
    open.permissions = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup
                       | QFileDevice::WriteGroup | QFileDevice::ReadOther | QFileDevice::WriteOther;
    EXPECT_EQ(writeFileSafely(path("shared.c"), "s", open).status, WriteStatus::Written);
    EXPECT_EQ(modeOf(path("shared.c")), mode_t(0666));
    ::umask(mask);

    // Through an allowed link the file it leads to is replaced; the link stays.
    const QString target = file("target.h", "a");
    const QString through = link("through.h", target);
    EXPECT_EQ(writeFileSafely(through, "b", quick).status, WriteStatus::Written);
    EXPECT_TRUE(S_ISLNK(lstatOf(through).st_mode));
    EXPECT_EQ(readAll(target), QByteArray("b"));

    // What is not a regular file is still refused.
    const QString pipe = path("pipe.h");
    ASSERT_EQ(::mkfifo(encoded(pipe).constData(), 0600), 0);
    EXPECT_EQ(writeFileSafely(pipe, "x", quick).status, WriteStatus::Refused);
    EXPECT_TRUE(S_ISFIFO(lstatOf(pipe).st_mode));

    const WriteResult missing = writeFileSafely(path("no/such/folder.c"), "x", quick);
    EXPECT_EQ(missing.status, WriteStatus::Failed);
    EXPECT_EQ(missing.reason, systemReason(ENOENT));
    // No temporary file is left behind.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System).size(), 6);
}

TEST(SafeFileWriterReason, IsTheSystemsTextForTheErrorNumber)
{
    EXPECT_EQ(systemReason(ENOSPC), QStringLiteral("No space left on device"));
    EXPECT_EQ(systemReason(EACCES), QStringLiteral("Permission denied"));
    EXPECT_EQ(systemReason(EROFS), QStringLiteral("Read-only file system"));
}

}  // namespace
