#include "SafeFileWriter.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSaveFile>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orvane::SafeFileWriter {

namespace {

// As many links in a row as the kernel follows before it gives up (ELOOP).
constexpr int kMaxLinkHops = 40;

WriteResult refused(const QString& reason, bool readOnly = false)
{
    return {WriteStatus::Refused, reason, readOnly};
}

WriteResult failed(const QString& reason) { return {WriteStatus::Failed, reason, false}; }

QString notRegularFile() { return QStringLiteral("Not a regular file"); }

constexpr QFileDevice::Permission kModeBits[] = {
    QFileDevice::ExeOther, QFileDevice::WriteOther, QFileDevice::ReadOther,
    QFileDevice::ExeGroup, QFileDevice::WriteGroup, QFileDevice::ReadGroup,
    QFileDevice::ExeOwner, QFileDevice::WriteOwner, QFileDevice::ReadOwner,
};

// The owner, group and other bits of a mode, and back.
QFileDevice::Permissions permissionsOf(mode_t mode)
{
    QFileDevice::Permissions p;
    for (int bit = 0; bit < 9; ++bit)
        if (mode & (1u << bit))
            p |= kModeBits[bit];
    return p;
}

mode_t modeOf(QFileDevice::Permissions permissions)
{
    mode_t mode = 0;
    for (int bit = 0; bit < 9; ++bit)
        if (permissions & kModeBits[bit])
            mode |= mode_t(1u << bit);
    return mode;
}

QString folderOf(const QString& absolutePath)
{
    const qsizetype slash = absolutePath.lastIndexOf(QLatin1Char('/'));
    return slash <= 0 ? QStringLiteral("/") : absolutePath.left(slash);
}

// The kernel's protected-symlinks rule: a link in a folder that everyone
// may write and that has the sticky bit (such as /tmp) is followed only by
// the link's owner or when the link belongs to the folder's owner.
// Otherwise another user could point it at a file of ours and have us
// overwrite that file.
bool mayFollow(const struct stat& link, const QString& linkPath)
{
    struct stat folder {};
    if (::stat(QFile::encodeName(folderOf(linkPath)).constData(), &folder) != 0)
        return false;
    const bool shared = (folder.st_mode & S_ISVTX) && (folder.st_mode & S_IWOTH);
    return !shared || link.st_uid == ::geteuid() || link.st_uid == folder.st_uid;
}

// The path a link points to; a relative one is taken from the link's folder.
QString linkTarget(const QString& linkPath, int* error)
{
    QByteArray buffer(PATH_MAX, Qt::Uninitialized);
    const ssize_t n =
        ::readlink(QFile::encodeName(linkPath).constData(), buffer.data(), size_t(buffer.size()));
    if (n < 0 || n >= buffer.size()) {
        *error = n < 0 ? errno : ENAMETOOLONG;
        return {};
    }
    const QString target = QFile::decodeName(buffer.left(n));
    if (target.startsWith(QLatin1Char('/')))
        return target;
    return folderOf(linkPath) + QLatin1Char('/') + target;
}

// The path with its folder resolved, so that the temporary file lands in
// the folder the file really lives in.
QString withRealFolder(const QString& path)
{
    const QByteArray folder = QFile::encodeName(folderOf(path));
    char* real = ::realpath(folder.constData(), nullptr);
    if (!real)
        return path;
    QString resolved = QFile::decodeName(real);
    std::free(real);
    if (!resolved.endsWith(QLatin1Char('/')))
        resolved += QLatin1Char('/');
    return resolved + path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
}

// Opens a file for reading only if it is a regular file: never waits on a
// pipe nor opens a device. The error number is in `error` on failure (0
// when it is there but not a regular file).
bool openRegular(const QString& path, QFile& file, struct stat& st, int& error)
{
    const int fd =
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) {
        error = errno;
        return false;
    }
    error = ::fstat(fd, &st) == 0 ? 0 : errno;
    if (error || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return false;
    }
    return file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle);
}

bool holdsBytes(const QString& path, const QByteArray& bytes)
{
    QFile file;
    struct stat st {};
    int error = 0;
    if (!openRegular(path, file, st, error) || st.st_size != bytes.size())
        return false;
    // A block at a time: an output of tens of megabytes is not read into
    // memory whole, and the first differing block ends the comparison.
    constexpr qint64 kBlock = 1024 * 1024;
    QByteArray block(qsizetype(std::min<qint64>(kBlock, bytes.size()) + 1), Qt::Uninitialized);
    qint64 done = 0;
    while (done < bytes.size()) {
        const qint64 got = file.read(block.data(), std::min(kBlock, bytes.size() - done));
        if (got <= 0 || std::memcmp(block.constData(), bytes.constData() + done, size_t(got)) != 0)
            return false;
        done += got;
    }
    // The file ends where the bytes do, even if it grew since its size was read.
    return file.read(block.data(), 1) == 0;
}

// Writes through a QSaveFile: unbuffered, so that every failed write (a
// full disk) is seen at once with the system's reason, and the temporary
// file is then discarded instead of being renamed over the target. Writes
// are repeated until all bytes are in, since one call may take only part
// of them; the call after a partial one reports why it stopped.
WriteResult replaceWhole(const QString& path, const QByteArray& bytes,
                         const std::optional<QFileDevice::Permissions>& permissions)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return failed(file.errorString());
    if (permissions && !file.setPermissions(*permissions)) {
        const QString why = file.errorString();
        file.cancelWriting();
        return failed(why);
    }
    qint64 done = 0;
    while (done < bytes.size()) {
        const qint64 n = file.write(bytes.constData() + done, bytes.size() - done);
        if (n <= 0) {
            const QString why = file.errorString();
            file.cancelWriting();
            return failed(why);
        }
        done += n;
    }
    // commit() flushes the file to disk, then renames it over the target:
    // rename(2) replaces the entry atomically and never follows a link.
    // When the last step fails Qt may give no reason of its own ("Unknown
    // error"); the system's is then still in errno.
    errno = 0;
    if (!file.commit()) {
        const int error = errno;
        const QString why = file.errorString();
        return failed(why == QFile().errorString() && error != 0 ? systemReason(error) : why);
    }
    return {};
}

// Closes `fd` and removes the temporary file `temp`; gives `result`.
WriteResult discard(int fd, const QByteArray& temp, const WriteResult& result)
{
    if (fd >= 0)
        ::close(fd);
    ::unlink(temp.constData());
    return result;
}

// Replaces the file like replaceWhole, but without flushing the bytes to
// the disk before the rename (see WriteOptions::durable). The temporary
// file is made in the target's folder with a name nobody else can have
// chosen (O_EXCL, never through a link); it gets the permissions asked
// for, else those of the file it replaces, else 0666 less the umask, as a
// QSaveFile would.
WriteResult replaceWithoutFlush(const QString& path, const QByteArray& bytes,
                                const std::optional<QFileDevice::Permissions>& permissions)
{
    const QByteArray target = QFile::encodeName(path);
    std::optional<mode_t> mode;
    if (permissions) {
        mode = modeOf(*permissions);
    } else {
        struct stat st {};
        if (::stat(target.constData(), &st) == 0)
            mode = st.st_mode & 0777;
    }
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    const QString prefix =
        path.left(slash + 1) + QLatin1Char('.') + path.mid(slash + 1) + QLatin1Char('.');
    QByteArray temp;
    int fd = -1;
    for (int attempt = 0; fd < 0 && attempt < 100; ++attempt) {
        temp = QFile::encodeName(prefix
                                 + QString::number(QRandomGenerator::global()->generate64(), 36));
        fd = ::open(temp.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            return failed(systemReason(errno));
    }
    if (fd < 0)
        return failed(systemReason(EEXIST));
    if (mode && ::fchmod(fd, *mode) != 0)
        return discard(fd, temp, failed(systemReason(errno)));
    const char* data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, data, size_t(left));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return discard(fd, temp, failed(systemReason(n < 0 ? errno : ENOSPC)));
        data += n;
        left -= n;
    }
    // A file system may report a failed write only now.
    const int closed = ::close(fd);
    if (closed != 0 && errno != EINTR)
        return discard(-1, temp, failed(systemReason(errno)));
    // rename(2) replaces the entry atomically and never follows a link.
    if (::rename(temp.constData(), target.constData()) != 0)
        return discard(-1, temp, failed(systemReason(errno)));
    return {};
}

}  // namespace

std::optional<QByteArray> readWholeFile(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return std::nullopt;
    return f.readAll();
}

QString systemReason(int errorNumber) { return qt_error_string(errorNumber); }

Target checkTarget(const QString& path, const WriteOptions& options)
{
    Target t;
    if (path.isEmpty()) {
        t.result = failed(systemReason(ENOENT));
        return t;
    }
    QString current = QFileInfo(path).absoluteFilePath();
    struct stat st {};
    for (int hop = 0;; ++hop) {
        if (::lstat(QFile::encodeName(current).constData(), &st) != 0) {
            const int error = errno;
            if (error == ENOENT && hop == 0) {
                // A new file. Whether its folder exists and may be written
                // shows when the temporary file is made.
                t.path = withRealFolder(current);
                return t;
            }
            // A link to nothing: there is no file it is meant to replace.
            t.result = error == ENOENT ? refused(QStringLiteral("Link to a missing file"))
                                       : failed(systemReason(error));
            return t;
        }
        if (!S_ISLNK(st.st_mode))
            break;
        if (!options.followLinks) {
            t.result = refused(QStringLiteral("Is a symbolic link"));
            return t;
        }
        if (hop == kMaxLinkHops) {
            t.result = refused(systemReason(ELOOP));
            return t;
        }
        if (!mayFollow(st, current)) {
            t.result = refused(QStringLiteral("Link of another user in a shared folder"));
            return t;
        }
        int error = 0;
        current = linkTarget(current, &error);
        if (current.isEmpty()) {
            t.result = failed(systemReason(error));
            return t;
        }
        t.throughLink = true;
    }
    // A folder, device, pipe or socket is never written into nor replaced.
    if (!S_ISREG(st.st_mode)) {
        t.result = refused(notRegularFile());
        return t;
    }
    t.path = withRealFolder(current);
    t.exists = true;
    // Read-only means the same for every user, root included: no write
    // permission bit at all, or none that applies to this user.
    const bool noWriteBit = (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
    const bool userMayWrite =
        !noWriteBit
        && ::faccessat(AT_FDCWD, QFile::encodeName(t.path).constData(), W_OK, AT_EACCESS) == 0;
    if (!userMayWrite) {
        const bool ownFile = st.st_uid == ::geteuid();
        if (!(options.replaceReadOnly && !t.throughLink && ownFile))
            t.result = refused(systemReason(EACCES), true);
    }
    return t;
}

WriteResult writeFileSafely(const QString& path, const QByteArray& bytes,
                            const WriteOptions& options)
{
    const Target t = checkTarget(path, options);
    if (!t.result.ok())
        return t.result;
    const QByteArray target = QFile::encodeName(t.path);
    struct stat st {};
    if (t.exists && ::stat(target.constData(), &st) == 0) {
        const bool samePermissions =
            !options.permissions || (st.st_mode & 0777) == modeOf(*options.permissions);
        if (samePermissions && holdsBytes(t.path, bytes))
            return {WriteStatus::Unchanged, {}, false};
        // The read-only file of the user's own the caller means to replace
        // anyway gets its owner write bit back, which the new file keeps.
        const bool ownReadOnly = options.replaceReadOnly && !t.throughLink
                                 && st.st_uid == ::geteuid() && !(st.st_mode & S_IWUSR);
        if (ownReadOnly && ::chmod(target.constData(), (st.st_mode & 07777) | S_IWUSR) != 0)
            return failed(systemReason(errno));
    }
    if (!options.durable)
        return replaceWithoutFlush(t.path, bytes, options.permissions);
    return replaceWhole(t.path, bytes, options.permissions);
}

WriteResult makeBackup(const QString& original, const QString& backup)
{
    QFile in;
    struct stat st {};
    int error = 0;
    if (!openRegular(original, in, st, error))
        return error ? failed(systemReason(error)) : refused(notRegularFile());
    const QByteArray bytes = in.readAll();
    if (in.error() != QFileDevice::NoError)
        return failed(in.errorString());
    // An older backup is replaced even when read-only: it is the program's
    // own copy. Links are refused, so only a file at the name itself is.
    WriteOptions options;
    options.replaceReadOnly = true;
    options.followLinks = false;
    options.permissions = permissionsOf(st.st_mode);
    return writeFileSafely(backup, bytes, options);
}

}  // namespace orvane::SafeFileWriter
