#include "JsonSlices.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonParseError>

#include <algorithm>

namespace orvane::JsonSlices {

namespace {

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

// A forward reader over the text that finds where values end without
// decoding them: strings are skipped with their escapes, brackets matched.
class Scanner {
public:
    Scanner(const QByteArray& json, qsizetype from, SyntaxError& error)
        : m_begin(json.constData()), m_p(m_begin + from), m_end(m_begin + json.size()),
          m_error(error)
    {
    }

    qsizetype offset() const { return m_p - m_begin; }
    bool atEnd() const { return m_p == m_end; }
    char peek() const { return m_p < m_end ? *m_p : '\0'; }
    void advance() { ++m_p; }

    void skipSpace()
    {
        while (m_p < m_end && isSpace(*m_p))
            ++m_p;
    }

    void skipByteOrderMark()
    {
        if (m_end - m_p >= 3 && m_p[0] == '\xEF' && m_p[1] == '\xBB' && m_p[2] == '\xBF')
            m_p += 3;
    }

    bool fail(const char* text)
    {
        m_error.offset = offset();
        m_error.text = QString::fromLatin1(text);
        return false;
    }

    // At a quote: moves past the closing quote.
    bool skipString()
    {
        for (++m_p; m_p < m_end; ++m_p) {
            if (*m_p == '"') {
                ++m_p;
                return true;
            }
            if (*m_p == '\\' && m_p + 1 < m_end)
                ++m_p;
        }
        return fail("unterminated string");
    }

    // Skips white space and one value; `range` gets its bytes.
    bool skipValue(Range& range)
    {
        skipSpace();
        range.begin = offset();
        if (atEnd())
            return fail("illegal value");
        const char c = *m_p;
        if (c == '"') {
            if (!skipString())
                return false;
        } else if (c == '{' || c == '[') {
            if (!skipContainer())
                return false;
        } else {
            // A number or a literal runs to the next separator; Parse checks it.
            while (m_p < m_end && !isSpace(*m_p) && *m_p != ',' && *m_p != ']' && *m_p != '}'
                   && *m_p != ':')
                ++m_p;
            if (offset() == range.begin)
                return fail("illegal value");
        }
        range.end = offset();
        return true;
    }

private:
    static const char* unterminated(char closer)
    {
        return closer == '}' ? "unterminated object" : "unterminated array";
    }

    bool skipContainer()
    {
        std::vector<char> closers;
        while (m_p < m_end) {
            const char c = *m_p;
            if (c == '"') {
                if (!skipString())
                    return false;
                continue;
            }
            if (c == '{' || c == '[') {
                closers.push_back(c == '{' ? '}' : ']');
            } else if (c == '}' || c == ']') {
                if (c != closers.back())
                    return fail(unterminated(closers.back()));
                closers.pop_back();
                if (closers.empty()) {
                    ++m_p;
                    return true;
                }
            }
            ++m_p;
        }
        return fail(unterminated(closers.back()));
    }

    const char* m_begin;
    const char* m_p;
    const char* m_end;
    SyntaxError& m_error;
};

}  // namespace

Outline objectMembers(const QByteArray& json, std::vector<Member>& members, SyntaxError& error)
{
    Scanner s(json, 0, error);
    const auto invalid = [&s](const char* text) {
        s.fail(text);
        return Outline::Invalid;
    };
    s.skipByteOrderMark();
    s.skipSpace();
    if (s.peek() != '{')
        return Outline::NotAnObject;
    s.advance();
    s.skipSpace();
    bool closed = s.peek() == '}';
    if (closed)
        s.advance();
    while (!closed) {
        s.skipSpace();
        if (s.peek() != '"')
            return invalid(s.atEnd() ? "unterminated object" : "illegal value");
        Range name;
        QJsonValue decoded;
        if (!s.skipValue(name) || !parse(json, name, decoded, error))
            return Outline::Invalid;
        s.skipSpace();
        if (s.peek() != ':')
            return invalid("missing name separator");
        s.advance();
        Range value;
        if (!s.skipValue(value))
            return Outline::Invalid;
        members.push_back({decoded.toString(), value});
        s.skipSpace();
        if (s.peek() == '}') {
            s.advance();
            closed = true;
        } else if (s.peek() == ',') {
            s.advance();
        } else {
            return invalid(s.atEnd() ? "unterminated object" : "missing value separator");
        }
    }
    s.skipSpace();
    if (!s.atEnd())
        return invalid("garbage at the end of the document");
    return Outline::Object;
}

bool arrayElements(const QByteArray& json, Range array, std::vector<Range>& elements,
                   SyntaxError& error)
{
    Scanner s(json, array.begin, error);
    if (s.peek() != '[')
        return s.fail("illegal value");
    s.advance();
    s.skipSpace();
    if (s.peek() == ']')
        return true;
    while (true) {
        Range element;
        if (!s.skipValue(element))
            return false;
        elements.push_back(element);
        s.skipSpace();
        if (s.peek() == ']')
            return true;
        if (s.peek() != ',')
            return s.fail(s.atEnd() ? "unterminated array" : "missing value separator");
        s.advance();
    }
}

bool parse(const QByteArray& json, Range range, QJsonValue& value, SyntaxError& error)
{
    // Wrapped in an array: a document must be an object or an array.
    QByteArray wrapped;
    wrapped.reserve(range.end - range.begin + 2);
    wrapped += '[';
    wrapped.append(json.constData() + range.begin, range.end - range.begin);
    wrapped += ']';
    QJsonParseError perr;
    const QJsonDocument doc = QJsonDocument::fromJson(wrapped, &perr);
    if (perr.error != QJsonParseError::NoError) {
        error.offset = range.begin + std::max<qsizetype>(perr.offset - 1, 0);
        error.text = perr.errorString();
        return false;
    }
    value = doc.array().at(0);
    return true;
}

char firstByte(const QByteArray& json, Range range)
{
    return range.begin < range.end ? json.at(range.begin) : '\0';
}

}  // namespace orvane::JsonSlices
