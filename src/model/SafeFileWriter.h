#pragma once
// The one way files are written: every output, the diagram, its backup and
// the undo snapshots go through writeFileSafely. It replaces a file whole
// (a temporary file in the target's folder, renamed over it once complete),
// never writes into anything that is not a regular file, follows a
// symbolic link only where the kernel's protected-symlinks rule would, and
// leaves a file that already holds the bytes untouched (its time stamp
// stays, so build tools see no change).

#include <QByteArray>
#include <QFileDevice>
#include <QString>

#include <optional>

namespace orvane::SafeFileWriter {

enum class WriteStatus {
    Written,    // the file now holds the bytes
    Unchanged,  // the file already held the bytes; nothing was written
    Refused,    // the target may not be replaced; nothing was written
    Failed,     // the system failed the write; the target is as it was
};

struct WriteResult {
    WriteStatus status = WriteStatus::Written;
    // Why it was refused or failed, in the system's words where the system
    // gave the reason ("No space left on device", "Permission denied",
    // "Not a regular file").
    QString reason;
    // Refused because the file is read-only (or the user may not write it).
    bool readOnly = false;

    bool ok() const { return status == WriteStatus::Written || status == WriteStatus::Unchanged; }
};

struct WriteOptions {
    // A read-only regular file at the path itself (not reached through a
    // link) that belongs to the user gets its owner write bit back and is
    // replaced, instead of being refused.
    bool replaceReadOnly = false;
    // False: a symbolic link at the path is refused rather than followed.
    bool followLinks = true;
    // The permissions of the written file; by default an existing file
    // keeps its own and a new one gets the usual 0666 less the umask. The
    // temporary file has them before any byte is written into it.
    std::optional<QFileDevice::Permissions> permissions;
    // True: the new bytes are flushed to the disk before they replace the
    // old file, so that even a crash of the system leaves one or the other.
    // Files the program can make again from the diagram (code, header,
    // list, page, picture, dependency file) pass false: they are still
    // replaced whole by one rename, so a crash of the program never leaves
    // a mix, but the flush, which takes longer than the rest of a small
    // run, is left to the system. Only a crash of the system itself within
    // its write-back delay can then leave such a file empty or old; the
    // diagram it comes from was saved with the flush.
    bool durable = true;
};

// What a write to `path` would replace: the regular file to write (the
// path itself, or the file an allowed link leads to), or why it is
// refused. `result.ok()` when the write may go on.
struct Target {
    WriteResult result;
    QString path;         // the file to replace (absolute)
    bool exists = false;  // a regular file is there now
    bool throughLink = false;
};
Target checkTarget(const QString& path, const WriteOptions& options = {});

// Writes `bytes` to `path` as described at the top. On any result but
// Written the file system is as it was.
WriteResult writeFileSafely(const QString& path, const QByteArray& bytes,
                            const WriteOptions& options = {});

// Copies the regular file `original` to `backup` with the original's
// permission bits. A link or anything else that is not a regular file at
// `backup` is refused, never followed or replaced; an older backup of the
// user's own is replaced even when read-only.
WriteResult makeBackup(const QString& original, const QString& backup);

// The whole file as it is now, or nothing when it cannot be read: what the
// checks compare a write with.
std::optional<QByteArray> readWholeFile(const QString& path);

// The system's text for an errno value ("No space left on device").
QString systemReason(int errorNumber);

}  // namespace orvane::SafeFileWriter
