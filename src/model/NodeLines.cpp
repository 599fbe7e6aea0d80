#include "NodeLines.h"

#include "Records.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace orvane::NodeLines {

namespace {

// A forward scan over JSON text that counts lines and skips strings.
class Scanner {
public:
    explicit Scanner(const QByteArray& bytes) : m_b(bytes) {}

    bool atEnd() const { return m_i >= m_b.size(); }
    char peek() const { return m_b.at(m_i); }
    qsizetype pos() const { return m_i; }
    int line() const { return m_line; }

    void advance()
    {
        if (m_b.at(m_i) == '\n')
            ++m_line;
        ++m_i;
    }
    void skipBlanks()
    {
        while (!atEnd() && (peek() == ' ' || peek() == '\t' || peek() == '\r' || peek() == '\n'))
            advance();
    }
    // At a '"': the string's raw text; the scan stops after its closing quote.
    QByteArray readString()
    {
        advance();
        const qsizetype start = m_i;
        while (!atEnd() && peek() != '"') {
            if (peek() == '\\' && m_i + 1 < m_b.size())
                advance();
            advance();
        }
        const QByteArray s = m_b.mid(start, m_i - start);
        if (!atEnd())
            advance();
        return s;
    }
    // Skips one value of any kind; false at a syntax the scan cannot follow.
    bool skipValue()
    {
        skipBlanks();
        if (atEnd())
            return false;
        if (peek() == '"') {
            readString();
            return true;
        }
        if (peek() == '{' || peek() == '[') {
            int depth = 0;
            while (!atEnd()) {
                const char c = peek();
                if (c == '"') {
                    readString();
                    continue;
                }
                if (c == '{' || c == '[')
                    ++depth;
                else if (c == '}' || c == ']')
                    --depth;
                advance();
                if (depth == 0)
                    return true;
            }
            return false;
        }
        while (!atEnd() && peek() != ',' && peek() != '}' && peek() != ']')
            advance();
        return true;
    }

private:
    const QByteArray& m_b;
    qsizetype m_i = 0;
    int m_line = 1;
};

bool isInfoNode(const QByteArray& element)
{
    const QJsonObject o = QJsonDocument::fromJson(element).object();
    return (o.value(QStringLiteral("userData")).toInteger() & NodeInfo) != 0;
}

}  // namespace

std::vector<int> documentNodeLines(const QByteArray& fileBytes)
{
    Scanner s(fileBytes);
    s.skipBlanks();
    if (s.atEnd() || s.peek() != '{')
        return {};
    s.advance();
    // The members of the top-level object, up to "nodes".
    while (true) {
        s.skipBlanks();
        if (s.atEnd() || s.peek() != '"')
            return {};
        const QByteArray key = s.readString();
        s.skipBlanks();
        if (s.atEnd() || s.peek() != ':')
            return {};
        s.advance();
        s.skipBlanks();
        if (key == "nodes")
            break;
        if (!s.skipValue())
            return {};
        s.skipBlanks();
        if (s.atEnd() || s.peek() != ',')
            return {};
        s.advance();
    }
    if (s.atEnd() || s.peek() != '[')
        return {};
    s.advance();
    std::vector<int> lines;
    while (true) {
        s.skipBlanks();
        if (s.atEnd() || s.peek() == ']')
            return lines;
        const int line = s.line();
        const qsizetype start = s.pos();
        if (!s.skipValue())
            return lines;
        if (!isInfoNode(fileBytes.mid(start, s.pos() - start)))
            lines.push_back(line);
        s.skipBlanks();
        if (s.atEnd() || s.peek() != ',')
            return lines;
        s.advance();
    }
}

}  // namespace orvane::NodeLines
