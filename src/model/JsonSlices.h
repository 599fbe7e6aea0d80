#pragma once
// Reading a large JSON text a piece at a time: the outline of the top-level
// object and of an array gives the byte ranges of their values, and each
// value is parsed on its own. A big diagram is then never held whole as
// parsed JSON, which takes several times the size of the text.

#include <QByteArray>
#include <QJsonValue>
#include <QString>

#include <vector>

namespace orvane::JsonSlices {

struct Range {
    qsizetype begin = 0, end = 0;  // byte offsets into the text
};

struct Member {
    QString name;
    Range value;
};

struct SyntaxError {
    qsizetype offset = 0;
    QString text;
};

enum class Outline { Object, NotAnObject, Invalid };

// The members of the top-level object in text order (a name may repeat).
// NotAnObject when the text does not start with "{" (after white space and
// a byte order mark); Invalid, with `error` set, when the object's own
// punctuation is wrong. The values themselves are checked only by Parse.
Outline objectMembers(const QByteArray& json, std::vector<Member>& members, SyntaxError& error);

// The ranges of the elements of the array that starts at `array.begin`.
bool arrayElements(const QByteArray& json, Range array, std::vector<Range>& elements,
                   SyntaxError& error);

// The value in `range`, parsed; a syntax error's offset counts from the
// start of the whole text.
bool parse(const QByteArray& json, Range range, QJsonValue& value, SyntaxError& error);

// The first byte of the value in `range` ('{', '[', '"', a digit, ...).
char firstByte(const QByteArray& json, Range range);

}  // namespace orvane::JsonSlices
