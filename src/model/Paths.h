#pragma once
// File-name helpers with the native folder separator ("/").

#include <QString>

namespace orvane::Paths {

// File name without folder and without its last extension ("b.c" of "/a/b.c.fsm").
QString baseName(const QString& path);
// Everything after the last "/" (the whole path when there is none).
QString fileNameOf(const QString& path);
// Everything before the last "/"; the root keeps its "/" ("/x.fsm" gives "/").
QString folderOf(const QString& path);
// Everything before the last "."; empty when there is no ".".
QString stripExtension(const QString& path);
// The path made absolute against the current folder ("./x" and "x" alike).
QString absolutePath(const QString& path);
// Creates every folder of the path (a final "/" is implied); errors ignored.
void ensureFolders(const QString& path);
// The system's temporary folder, ending with "/".
QString tempFolder();
// True when a file or folder of exactly that name exists.
bool fileExists(const QString& path);
// Deletes the file when it exists, making it writable first.
bool deleteFile(const QString& path);

}  // namespace orvane::Paths
