#pragma once
// code in the Windows-1252 code page, as the HTML page declares it and as
// metafile text records carry it.

#include <QByteArray>
#include <QString>

namespace orvane::Windows1252 {

// The code page's byte for a code point, or -1 when the code page lacks it
// (its five unassigned bytes 0x81, 0x8D, 0x8F, 0x90, 0x9D have no character).
int byteOf(char32_t codePoint);

// The text in Windows-1252; every character the code page lacks becomes a
// decimal numeric character reference ("&#8364;" style), a lone surrogate
// "&#65533;".
QByteArray encodeWithCharRefs(const QString& text);

// The text in Windows-1252 with "?" for every character the code page lacks.
QByteArray encodeLossy(const QString& text);

}  // namespace orvane::Windows1252
