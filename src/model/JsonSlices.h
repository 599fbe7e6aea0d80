#pragma once
// Reading a large JSON text a piece at a time: the outline of the top-level
// object and of an array gives the byte ranges of their values, and each
// value is parsed on its own. A big diagram is then never held whole as
// parsed JSON, which takes several times the size of the text.

#include <QByteArray>
#include <QJsonValue>
#include <QString>

#include <string>
#include <string_view>
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

// Reads the plain values a diagram file is made of straight from the text,
// without building a parsed document: objects, arrays, numbers, booleans
// and strings. It covers only a strict, common subset of JSON: each reading
// returns false on anything else, valid or not (a syntax error, but also
// null, a code-point escape, a control character or a non-character in a string,
// an integer of more than 18 digits, a number that over- or underflows).
// The caller then reads that value again with parse, which decides whether
// it is valid, gives its value and words its error. Whatever it accepts, it
// reads to the value Qt's parser would give.
class PlainReader {
public:
    PlainReader(const QByteArray& json, Range range);

    enum class Step { Item, End, Refused };

    // Past white space, the opening '{' or '['.
    bool enter(char bracket);
    // The next member of an object: its name (bytes without escapes) and
    // the name separator; End after the closing '}'. `first` is true for
    // the first call on an object and is cleared.
    Step nextMember(bool& first, std::string_view& name);
    // The same for the elements of an array, up to the closing ']'.
    Step nextElement(bool& first);

    bool number(double& value);
    bool boolean(bool& value);
    bool string(QString& value);
    // Only white space is left.
    bool finished();

private:
    void skipSpace();
    Step next(bool& first, char closer);

    const char* m_p;
    const char* m_end;
    std::string m_unescaped;  // a string with escapes, before its conversion
};

}  // namespace orvane::JsonSlices
