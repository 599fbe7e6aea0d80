#include "JsonSlices.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonParseError>

#include <algorithm>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstring>
#include <string>

namespace orvane::JsonSlices {

namespace {

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

// The first character at or after `p` that is not white space, or `end`.
const char* pastSpace(const char* p, const char* end)
{
    while (p < end && isSpace(*p))
        ++p;
    return p;
}

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

    void skipSpace() { m_p = pastSpace(m_p, m_end); }

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

    // At a quote: moves past the closing quote, the first one not escaped,
    // that is, not preceded by an odd number of backslashes.
    bool skipString()
    {
        const char* from = m_p + 1;
        while (const void* found = std::memchr(from, '"', size_t(m_end - from))) {
            const char* quote = static_cast<const char*>(found);
            const char* run = quote;
            while (*(run - 1) == '\\')  // stops at the opening quote at the latest
                --run;
            if ((quote - run) % 2 == 0) {
                m_p = quote + 1;
                return true;
            }
            from = quote + 1;
        }
        m_p = m_end;
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

// ------------------------------------------------------------ plain reader

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

// The length of the UTF-8 sequence at `p` (before `end`), or 0 when it is
// not well formed or encodes a non-character: overlong forms, surrogates and
// code points past U+10FFFF are refused by every reader; non-characters are
// left to Qt's parser to decide.
int utf8Length(const unsigned char* p, const unsigned char* end)
{
    const unsigned char b = *p;
    int length = 0;
    char32_t cp = 0, least = 0;
    if (b >= 0xC2 && b <= 0xDF) {
        length = 2, cp = b & 0x1F, least = 0x80;
    } else if (b >= 0xE0 && b <= 0xEF) {
        length = 3, cp = b & 0x0F, least = 0x800;
    } else if (b >= 0xF0 && b <= 0xF4) {
        length = 4, cp = b & 0x07, least = 0x10000;
    } else {
        return 0;
    }
    if (end - p < length)
        return 0;
    for (int i = 1; i < length; ++i) {
        if (!isContinuation(p[i]))
            return 0;
        cp = (cp << 6) | (p[i] & 0x3F);
    }
    if (cp < least || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)
        || (cp >= 0xFDD0 && cp <= 0xFDEF) || (cp & 0xFFFE) == 0xFFFE)
        return 0;
    return length;
}

}  // namespace

PlainReader::PlainReader(const QByteArray& json, Range range)
    : m_p(json.constData() + range.begin), m_end(json.constData() + range.end)
{
}

void PlainReader::skipSpace() { m_p = pastSpace(m_p, m_end); }

bool PlainReader::enter(char bracket)
{
    skipSpace();
    if (m_p == m_end || *m_p != bracket)
        return false;
    ++m_p;
    return true;
}

PlainReader::Step PlainReader::next(bool& first, char closer)
{
    skipSpace();
    if (m_p == m_end)
        return Step::Refused;
    if (*m_p == closer) {
        ++m_p;
        return Step::End;
    }
    if (!first) {
        if (*m_p != ',')
            return Step::Refused;
        ++m_p;
        skipSpace();
    }
    first = false;
    return Step::Item;
}

PlainReader::Step PlainReader::nextMember(bool& first, std::string_view& name)
{
    const Step step = next(first, '}');
    if (step != Step::Item)
        return step;
    if (m_p == m_end || *m_p != '"')
        return Step::Refused;
    const char* begin = ++m_p;
    while (m_p < m_end && *m_p != '"') {
        const auto c = static_cast<unsigned char>(*m_p);
        if (c == '\\' || c < 0x20 || c >= 0x80)
            return Step::Refused;
        ++m_p;
    }
    if (m_p == m_end)
        return Step::Refused;
    name = std::string_view(begin, size_t(m_p - begin));
    ++m_p;
    skipSpace();
    if (m_p == m_end || *m_p != ':')
        return Step::Refused;
    ++m_p;
    skipSpace();
    return Step::Item;
}

PlainReader::Step PlainReader::nextElement(bool& first) { return next(first, ']'); }

bool PlainReader::number(double& value)
{
    // -?(0|[1-9][0-9]*)(.[0-9]+)?([eE][+-]?[0-9]+)?
    const char* begin = m_p;
    const char* p = m_p;
    const bool negative = p < m_end && *p == '-';
    if (negative)
        ++p;
    const char* digits = p;
    if (p < m_end && *p == '0') {
        ++p;
    } else {
        while (p < m_end && isDigit(*p))
            ++p;
    }
    if (p == digits)
        return false;
    const qsizetype integerDigits = p - digits;
    bool integral = true;
    if (p < m_end && *p == '.') {
        integral = false;
        const char* fraction = ++p;
        while (p < m_end && isDigit(*p))
            ++p;
        if (p == fraction)
            return false;
    }
    if (p < m_end && (*p == 'e' || *p == 'E')) {
        integral = false;
        ++p;
        if (p < m_end && (*p == '+' || *p == '-'))
            ++p;
        const char* exponent = p;
        while (p < m_end && isDigit(*p))
            ++p;
        if (p == exponent)
            return false;
    }
    if (integral) {
        // Qt's parser keeps an integer as a 64-bit integer; its double is
        // that integer rounded.
        if (integerDigits > 18)
            return false;
        qint64 n = 0;
        for (const char* d = digits; d < p; ++d)
            n = n * 10 + (*d - '0');
        value = double(negative ? -n : n);
    } else {
        const auto result = std::from_chars(begin, p, value);
        // Underflow to zero or below the normal range is left to Qt's
        // parser, which words it its own way.
        if (result.ec != std::errc() || result.ptr != p || !std::isfinite(value)
            || std::fabs(value) < DBL_MIN)
            return false;
    }
    m_p = p;
    return true;
}

bool PlainReader::boolean(bool& value)
{
    const auto literal = [this](std::string_view word) {
        if (size_t(m_end - m_p) < word.size() || std::string_view(m_p, word.size()) != word)
            return false;
        m_p += word.size();
        return true;
    };
    if (literal("true"))
        value = true;
    else if (literal("false"))
        value = false;
    else
        return false;
    return true;
}

bool PlainReader::string(QString& value)
{
    if (m_p == m_end || *m_p != '"')
        return false;
    const auto* p = reinterpret_cast<const unsigned char*>(m_p + 1);
    const auto* end = reinterpret_cast<const unsigned char*>(m_end);
    const auto* begin = p;
    std::string& unescaped = m_unescaped;  // used only once an escape is met
    bool escaped = false;
    while (true) {
        if (p == end)
            return false;
        const unsigned char c = *p;
        if (c == '"')
            break;
        if (c < 0x20)
            return false;
        if (c < 0x80 && c != '\\') {
            if (escaped)
                unescaped += char(c);
            ++p;
            continue;
        }
        if (c >= 0x80) {
            const int length = utf8Length(p, end);
            if (length == 0)
                return false;
            if (escaped)
                unescaped.append(reinterpret_cast<const char*>(p), size_t(length));
            p += length;
            continue;
        }
        if (!escaped) {
            // Room for the rest of the input at once: a string of megabytes
            // grown step by step would be copied at each step. Only the part
            // written is ever touched.
            if (unescaped.capacity() < size_t(end - begin))
                unescaped.reserve(size_t(end - begin));
            unescaped.assign(reinterpret_cast<const char*>(begin), size_t(p - begin));
            escaped = true;
        }
        if (end - p < 2)
            return false;
        char decoded;
        switch (p[1]) {
        case '"':
            decoded = '"';
            break;
        case '\\':
            decoded = '\\';
            break;
        case '/':
            decoded = '/';
            break;
        case 'b':
            decoded = '\b';
            break;
        case 'f':
            decoded = '\f';
            break;
        case 'n':
            decoded = '\n';
            break;
        case 'r':
            decoded = '\r';
            break;
        case 't':
            decoded = '\t';
            break;
        default:
            return false;  // a code-point escape or worse: Qt's parser decides
        }
        unescaped += decoded;
        p += 2;
    }
    if (escaped)
        value = QString::fromUtf8(unescaped.data(), qsizetype(unescaped.size()));
    else
        value = QString::fromUtf8(reinterpret_cast<const char*>(begin), p - begin);
    m_p = reinterpret_cast<const char*>(p + 1);
    return true;
}

bool PlainReader::finished()
{
    skipSpace();
    return m_p == m_end;
}

}  // namespace orvane::JsonSlices
