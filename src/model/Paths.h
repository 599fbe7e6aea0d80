#pragma once
// File-name helpers with the native folder separator ("/").

#include <QString>

namespace orvane::modLib_Rutas {

// File name without folder and without its last extension ("b.c" of "/a/b.c.fsm").
QString BaseName(const QString& path);
// Everything after the last "/" (the whole path when there is none).
QString FileNameOf(const QString& path);
// Everything before the last "/"; the root keeps its "/" ("/x.fsm" gives "/").
QString FolderOf(const QString& path);
// Everything before the last "."; empty when there is no ".".
QString StripExtension(const QString& path);
// The path made absolute against the current folder ("./x" and "x" alike).
QString AbsolutePath(const QString& path);
// Creates every folder of the path (a final "/" is implied); errors ignored.
void EnsureFolders(const QString& path);
// The system's temporary folder, ending with "/".
QString TempFolder();
// True when a file or folder of exactly that name exists.
bool FileExists(const QString& path);
// Deletes the file when it exists, making it writable first.
bool DeleteFile(const QString& path);

}  // namespace orvane::modLib_Rutas
