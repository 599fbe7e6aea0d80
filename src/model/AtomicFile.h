#pragma once
// Replacing a file's contents so that a failed save never leaves a broken
// file behind: the new contents go to a temporary file in the target's
// folder, which is renamed over the target only once it is complete.

#include <QFileDevice>
#include <QString>

class QSaveFile;

namespace orvane::AtomicFile {

// Opens a QSaveFile for writing, unbuffered: every write then reaches the
// temporary file at once, and a failed one (a full disk) marks the save as
// failed so that commit() discards it. Through the buffer the last bytes
// would only be written when commit() closes the file, and a failure there
// goes unnoticed: the truncated file would replace the target.
bool open(QSaveFile& file);

// Replaces the contents of `path` with `bytes`. False when anything failed;
// `path` then holds its previous contents (or still does not exist), the
// reason is in `error` and its kind in `kind` (both may be null).
bool replace(const QString& path, const QByteArray& bytes, QString* error,
             QFileDevice::FileError* kind = nullptr);

}  // namespace orvane::AtomicFile
