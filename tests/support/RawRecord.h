#pragma once
// Records in the file's text form, spelled out here independently of the
// program's writer: for files the tests write by hand and for records a file
// may hold that the program never writes.

#include <QStringList>

namespace orvane::testing {

// The separator that ends every field: middle dot, blank, middle dot.
inline const QString kRecordSeparator = QStringLiteral("\u00B7 \u00B7");

inline QString rawRecord(const QStringList& fields)
{
    QString text;
    for (const QString& f : fields)
        text += f + kRecordSeparator;
    return text;
}

}  // namespace orvane::testing
