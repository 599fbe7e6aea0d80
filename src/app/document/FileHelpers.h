#pragma once
// File operations shared by the document and output writers: path
// comparison and the log line format. Files are written through
// SafeFileWriter.

#include <QString>

namespace orvane::FileHelpers {

// The number the logs give to a file that could not be read or written.
constexpr int kFileAccessError = 75;

// " " + routine + ", Error #" + " " + number (or "-" + magnitude) + ": " + description.
QString errorLine(const QString& routine, int number, const QString& description);

// The path without the extension of its file name ("/a.b/c" stays as it is).
QString withoutExtension(const QString& path);

// The canonical absolute path of an existing file, the cleaned absolute path
// otherwise; used to compare paths.
QString canonicalPath(const QString& path);
bool samePath(const QString& a, const QString& b);

}  // namespace orvane::FileHelpers
