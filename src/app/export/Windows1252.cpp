#include "Windows1252.h"

namespace orvane::Windows1252 {

namespace {

// Code points of the bytes 0x80..0x9F; 0 marks an unassigned byte. Every
// other byte is the code point of the same value (Latin-1).
constexpr char16_t kHighControls[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80..87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,       // 88..8F
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90..97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,  // 98..9F
};

// Walks the text by code point; a lone surrogate is handed over as U+FFFD.
template <typename Missing> QByteArray encode(const QString& text, Missing missing)
{
    // ASCII, by far the most common, is copied as it is until the first
    // other character.
    QByteArray out(text.size(), Qt::Uninitialized);
    const QChar* const units = text.constData();
    char* const bytes = out.data();
    qsizetype i = 0;
    while (i < text.size() && units[i].unicode() < 0x80) {
        bytes[i] = char(units[i].unicode());
        ++i;
    }
    if (i == text.size())
        return out;
    out.truncate(i);
    for (; i < text.size(); ++i) {
        char32_t cp = text.at(i).unicode();
        if (QChar::isHighSurrogate(cp) && i + 1 < text.size()
            && QChar::isLowSurrogate(text.at(i + 1).unicode())) {
            cp = QChar::surrogateToUcs4(text.at(i).unicode(), text.at(i + 1).unicode());
            ++i;
        } else if (QChar::isSurrogate(cp)) {
            cp = 0xFFFD;
        }
        const int b = byteOf(cp);
        if (b >= 0)
            out.append(char(b));
        else
            missing(out, cp);
    }
    return out;
}

}  // namespace

int byteOf(char32_t cp)
{
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF))
        return int(cp);
    if (cp > 0xFFFF)
        return -1;
    for (int i = 0; i < 32; ++i)
        if (kHighControls[i] != 0 && kHighControls[i] == cp)
            return 0x80 + i;
    return -1;
}

QByteArray encodeWithCharRefs(const QString& text)
{
    return encode(text, [](QByteArray& out, char32_t cp) {
        out.append("&#");
        out.append(QByteArray::number(quint32(cp)));
        out.append(';');
    });
}

QByteArray encodeLossy(const QString& text)
{
    return encode(text, [](QByteArray& out, char32_t) { out.append('?'); });
}

}  // namespace orvane::Windows1252
