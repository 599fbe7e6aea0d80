#include "AtomicFile.h"

#include <QSaveFile>

namespace orvane::AtomicFile {

bool open(QSaveFile& file) { return file.open(QIODevice::WriteOnly | QIODevice::Unbuffered); }

bool replace(const QString& path, const QByteArray& bytes, QString* error,
             QFileDevice::FileError* kind)
{
    // What each way of failing leaves behind:
    // - A full disk or any other write error: the temporary file is
    //   discarded, the target is untouched.
    // - A folder that cannot be written: no temporary file can be made, so
    //   nothing is written at all (the target itself is never opened for
    //   writing, even when it would allow it).
    // - The process killed mid-save: until the rename the target is
    //   untouched (at worst a temporary file is left beside it; on Linux Qt
    //   uses an unnamed one, which vanishes with the process). commit()
    //   flushes the new file to disk and then renames it over the target;
    //   rename(2) replaces a file atomically, so the target is always
    //   either the old file or the new one, complete.
    QSaveFile file(path);
    const bool written = open(file) && file.write(bytes) == bytes.size() && file.commit();
    if (written)
        return true;
    // The destructor discards the unfinished temporary file.
    if (error)
        *error = file.errorString();
    if (kind)
        *kind = file.error();
    return false;
}

}  // namespace orvane::AtomicFile
