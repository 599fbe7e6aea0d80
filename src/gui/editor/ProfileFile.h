#pragma once
// Reading and writing single values of an INI file the way the classic
// private profile functions do: sections and keys ignore case, values are
// trimmed and lose one pair of surrounding quotes, other lines are kept.

#include <QList>
#include <QPair>
#include <QString>

namespace orvane::ProfileFile {

// The value of section/key, at most 255 characters; `fallback` when the
// file, the section or the key is missing.
QString readString(const QString& section, const QString& key, const QString& fallback,
                   const QString& file);
// Sets section/key to value, adding the section or key when missing.
// False when the file cannot be written.
bool writeString(const QString& section, const QString& key, const QString& value,
                 const QString& file);
// Several keys of one section in one rewrite of the file, in list order.
bool writeStrings(const QString& section, const QList<QPair<QString, QString>>& values,
                  const QString& file);

}  // namespace orvane::ProfileFile
