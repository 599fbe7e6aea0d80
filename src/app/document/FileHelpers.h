#pragma once
// File operations shared by the document and output writers: protected-file
// test, atomic text writes and copies, path comparison, log line format.

#include <QString>

namespace orvane::FileHelpers {

// The number the logs give to a file that could not be read or written.
constexpr int kFileAccessError = 75;

// " " + routine + ", Error #" + " " + number (or "-" + magnitude) + ": " + description.
QString errorLine(const QString& routine, int number, const QString& description);

// True when a file system entry exists at path and may not be replaced: it
// has no write permission bits, the user may not write it, or it is not a
// regular file (a folder, a device, a pipe).
bool isProtectedFile(const QString& path);

// Gives a regular file without its owner's write bit that bit back (the
// read-only attribute cleared before a file is deliberately replaced).
void makeWritable(const QString& path);

// Writes the text as UTF-8 without BOM through a temporary file renamed over
// `path`, so that a failed write leaves the previous file as it was.
bool writeTextFile(const QString& path, const QString& text, QString* error);

// Copies `source` over `target` the same way: the previous target stays
// whole until the copy is complete.
bool copyFileSafely(const QString& source, const QString& target, QString* error);

// The path without the extension of its file name ("/a.b/c" stays as it is).
QString withoutExtension(const QString& path);

// The canonical absolute path of an existing file, the cleaned absolute path
// otherwise; used to compare paths.
QString canonicalPath(const QString& path);
bool samePath(const QString& a, const QString& b);

}  // namespace orvane::FileHelpers
