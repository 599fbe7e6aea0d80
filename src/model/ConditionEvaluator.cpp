#include "ConditionEvaluator.h"

#include <limits>
#include <utility>
#include <vector>

namespace orvane::Simulation {

namespace {

struct Token {
    enum Kind { Number, Name, Operator, End, Bad } kind = End;
    QString text;
    qint64 value = 0;
};

bool isNameStart(QChar c) { return c.isLetter() || c == u'_'; }
bool isNameChar(QChar c) { return c.isLetterOrNumber() || c == u'_'; }

// The value of one escape sequence after the backslash, moving `i` past it.
std::optional<qint64> escapeValue(const QString& s, qsizetype& i)
{
    if (i >= s.size())
        return std::nullopt;
    const QChar c = s.at(i++);
    switch (c.unicode()) {
    case 'n':
        return 10;
    case 't':
        return 9;
    case 'r':
        return 13;
    case 'a':
        return 7;
    case 'b':
        return 8;
    case 'f':
        return 12;
    case 'v':
        return 11;
    case '\\':
        return 92;
    case '\'':
        return 39;
    case '"':
        return 34;
    case '?':
        return 63;
    case 'x': {
        qint64 v = 0;
        qsizetype digits = 0;
        while (i < s.size() && digits < 8) {
            const int d = QStringView(s).mid(i, 1).toInt(nullptr, 16);
            const QChar h = s.at(i);
            if (!(h.isDigit() || (h.toLower() >= u'a' && h.toLower() <= u'f')))
                break;
            v = v * 16 + d;
            ++i;
            ++digits;
        }
        return digits > 0 ? std::optional<qint64>(v) : std::nullopt;
    }
    default:
        if (c >= u'0' && c <= u'7') {
            qint64 v = c.unicode() - '0';
            for (int n = 1; n < 3 && i < s.size() && s.at(i) >= u'0' && s.at(i) <= u'7'; ++n)
                v = v * 8 + (s.at(i++).unicode() - '0');
            return v;
        }
        return std::nullopt;
    }
}

std::vector<Token> tokenize(const QString& text)
{
    static const char* const kOperators[] = {"<<", ">>", "<=", ">=", "==", "!=", "&&", "||", "!",
                                             "~",  "-",  "+",  "*",  "/",  "%",  "<",  ">",  "&",
                                             "^",  "|",  "?",  ":",  "(",  ")",  ","};
    std::vector<Token> out;
    const QString s = withoutComments(text);
    qsizetype i = 0;
    while (i < s.size()) {
        const QChar c = s.at(i);
        if (c.isSpace()) {
            ++i;
            continue;
        }
        Token t;
        if (c.isDigit()) {
            qsizetype j = i;
            while (j < s.size() && isNameChar(s.at(j)))
                ++j;
            QString digits = s.mid(i, j - i);
            // Integer suffixes say nothing about the value here.
            while (!digits.isEmpty() && QStringLiteral("uUlL").contains(digits.back()))
                digits.chop(1);
            bool ok = false;
            qint64 v = 0;
            if (digits.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
                v = qint64(digits.mid(2).toULongLong(&ok, 16));
            else if (digits.size() > 1 && digits.startsWith(u'0'))
                v = qint64(digits.mid(1).toULongLong(&ok, 8));
            else
                v = qint64(digits.toULongLong(&ok, 10));
            t.kind = ok ? Token::Number : Token::Bad;
            t.value = v;
            i = j;
        } else if (isNameStart(c)) {
            qsizetype j = i;
            while (j < s.size() && isNameChar(s.at(j)))
                ++j;
            t.kind = Token::Name;
            t.text = s.mid(i, j - i);
            i = j;
        } else if (c == u'\'') {
            qsizetype j = i + 1;
            std::optional<qint64> v;
            if (j < s.size() && s.at(j) == u'\\') {
                ++j;
                v = escapeValue(s, j);
            } else if (j < s.size() && s.at(j) != u'\'') {
                v = s.at(j).unicode();
                ++j;
            }
            if (v && j < s.size() && s.at(j) == u'\'') {
                t.kind = Token::Number;
                t.value = *v;
                i = j + 1;
            } else {
                t.kind = Token::Bad;
                i = s.size();
            }
        } else {
            t.kind = Token::Bad;
            for (const char* op : kOperators) {
                const QLatin1String o(op);
                if (QStringView(s).mid(i).startsWith(o)) {
                    t.kind = Token::Operator;
                    t.text = o;
                    i += o.size();
                    break;
                }
            }
            if (t.kind == Token::Bad)
                i = s.size();
        }
        out.push_back(t);
    }
    out.push_back(Token{});
    return out;
}

// A value, or none when unknown.
using Value = std::optional<qint64>;

// Binary operators by level, lowest first; each level is left associative.
const std::vector<std::vector<QString>>& binaryLevels()
{
    static const std::vector<std::vector<QString>> levels = {
        {QStringLiteral("|")},
        {QStringLiteral("^")},
        {QStringLiteral("&")},
        {QStringLiteral("=="), QStringLiteral("!=")},
        {QStringLiteral("<"), QStringLiteral("<="), QStringLiteral(">"), QStringLiteral(">=")},
        {QStringLiteral("<<"), QStringLiteral(">>")},
        {QStringLiteral("+"), QStringLiteral("-")},
        {QStringLiteral("*"), QStringLiteral("/"), QStringLiteral("%")},
    };
    return levels;
}

// Two's complement arithmetic without undefined behaviour.
qint64 wrap(quint64 v) { return qint64(v); }

Value applyBinary(const QString& op, Value a, Value b)
{
    if (!a || !b)
        return std::nullopt;
    const qint64 x = *a, y = *b;
    const quint64 ux = quint64(x), uy = quint64(y);
    if (op == u"+")
        return wrap(ux + uy);
    if (op == u"-")
        return wrap(ux - uy);
    if (op == u"*")
        return wrap(ux * uy);
    if (op == u"/" || op == u"%") {
        if (y == 0 || (x == std::numeric_limits<qint64>::min() && y == -1))
            return std::nullopt;
        return op == u"/" ? x / y : x % y;
    }
    if (op == u"<<" || op == u">>") {
        if (y < 0 || y >= 63)
            return std::nullopt;
        return op == u"<<" ? wrap(ux << y) : x >> y;
    }
    if (op == u"<")
        return x < y;
    if (op == u"<=")
        return x <= y;
    if (op == u">")
        return x > y;
    if (op == u">=")
        return x >= y;
    if (op == u"==")
        return x == y;
    if (op == u"!=")
        return x != y;
    if (op == u"&")
        return x & y;
    if (op == u"^")
        return x ^ y;
    return x | y;  // "|"
}

// Recursive descent over the tokens. `live` false: the part is parsed but
// not evaluated, because C would not evaluate it (the other side of && ||
// or ?:); names and calls are then not looked up.
class Parser {
public:
    Parser(const std::vector<Token>& tokens, const VariableLookup& variables,
           const CallLookup& calls)
        : m_t(tokens), m_variables(variables), m_calls(calls)
    {
    }

    // The whole expression; `bad` when the text is no expression.
    Value parse(bool& bad)
    {
        const Value v = conditional(true);
        bad = m_bad || m_t[m_pos].kind != Token::End;
        return v;
    }

private:
    const Token& peek() const { return m_t[m_pos]; }
    bool isOperator(const QString& op) const
    {
        return peek().kind == Token::Operator && peek().text == op;
    }
    bool accept(const QString& op)
    {
        if (!isOperator(op))
            return false;
        ++m_pos;
        return true;
    }
    void expect(const QString& op)
    {
        if (!accept(op))
            m_bad = true;
    }

    Value conditional(bool live)
    {
        const Value c = logicalOr(live);
        if (!accept(QStringLiteral("?")))
            return c;
        const bool known = c.has_value();
        const bool takeFirst = known && *c != 0;
        const Value a = conditional(live && (!known || takeFirst));
        expect(QStringLiteral(":"));
        const Value b = conditional(live && (!known || !takeFirst));
        if (!known)
            return (a && b && *a == *b) ? a : std::nullopt;
        return takeFirst ? a : b;
    }

    Value logicalOr(bool live)
    {
        return logical(QStringLiteral("||"), 1, live, [this](bool l) { return logicalAnd(l); });
    }

    Value logicalAnd(bool live)
    {
        return logical(QStringLiteral("&&"), 0, live, [this](bool l) { return binary(0, l); });
    }

    // A chain of `op` over operands read by `operand`. `decisive` is the value
    // of an operand that decides the chain (1 for ||, 0 for &&): the right
    // side of a decided chain is read without effects, and a decisive right
    // side decides it even when the left side is unknown.
    template <typename Operand>
    Value logical(const QString& op, qint64 decisive, bool live, Operand operand)
    {
        Value v = operand(live);
        while (accept(op)) {
            const bool decided = v && (*v != 0) == (decisive != 0);
            const Value r = operand(live && !decided);
            if (decided || (r && (*r != 0) == (decisive != 0)))
                v = decisive;
            else if (v && r)
                v = 1 - decisive;
            else
                v = std::nullopt;
        }
        return v;
    }

    Value binary(size_t level, bool live)
    {
        const auto& levels = binaryLevels();
        if (level >= levels.size())
            return unary(live);
        Value v = binary(level + 1, live);
        for (;;) {
            const QString* found = nullptr;
            if (peek().kind == Token::Operator)
                for (const QString& op : levels[level])
                    if (peek().text == op)
                        found = &op;
            if (!found)
                return v;
            ++m_pos;
            const Value r = binary(level + 1, live);
            v = applyBinary(*found, v, r);
        }
    }

    Value unary(bool live)
    {
        if (accept(QStringLiteral("!"))) {
            const Value v = unary(live);
            return v ? std::optional<qint64>(*v == 0) : std::nullopt;
        }
        if (accept(QStringLiteral("~"))) {
            const Value v = unary(live);
            return v ? std::optional<qint64>(~*v) : std::nullopt;
        }
        if (accept(QStringLiteral("-"))) {
            const Value v = unary(live);
            return v ? std::optional<qint64>(wrap(0 - quint64(*v))) : std::nullopt;
        }
        if (accept(QStringLiteral("+")))
            return unary(live);
        return primary(live);
    }

    Value primary(bool live)
    {
        const Token t = peek();
        if (t.kind == Token::Number) {
            ++m_pos;
            return t.value;
        }
        if (accept(QStringLiteral("("))) {
            const Value v = conditional(live);
            expect(QStringLiteral(")"));
            return v;
        }
        if (t.kind != Token::Name) {
            m_bad = true;
            return std::nullopt;
        }
        ++m_pos;
        if (accept(QStringLiteral("(")))
            return call(t.text, live);
        if (!live)
            return std::nullopt;
        if (const Value v = m_variables ? m_variables(t.text) : std::nullopt)
            return v;
        if (t.text == u"true")
            return 1;
        if (t.text == u"false")
            return 0;
        return std::nullopt;
    }

    Value call(const QString& name, bool live)
    {
        QList<qint64> args;
        bool allKnown = true;
        if (!accept(QStringLiteral(")"))) {
            do {
                const Value a = conditional(live);
                allKnown = allKnown && a.has_value();
                if (a)
                    args.append(*a);
            } while (accept(QStringLiteral(",")));
            expect(QStringLiteral(")"));
        }
        if (!live || !allKnown || !m_calls)
            return std::nullopt;
        return m_calls(name, args);
    }

    const std::vector<Token>& m_t;
    const VariableLookup& m_variables;
    const CallLookup& m_calls;
    size_t m_pos = 0;
    bool m_bad = false;
};

}  // namespace

QString withoutComments(const QString& text)
{
    QString out;
    out.reserve(text.size());
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n) {
        const QChar c = text.at(i);
        if (c == u'/' && i + 1 < n && text.at(i + 1) == u'/') {
            while (i < n && text.at(i) != u'\n' && text.at(i) != u'\r')
                ++i;
            out += u' ';
        } else if (c == u'/' && i + 1 < n && text.at(i + 1) == u'*') {
            const qsizetype end = text.indexOf(QLatin1String("*/"), i + 2);
            i = end < 0 ? n : end + 2;
            out += u' ';
        } else if (c == u'"' || c == u'\'') {
            // A literal is copied whole, escapes included.
            out += c;
            ++i;
            while (i < n && text.at(i) != c && text.at(i) != u'\n') {
                if (text.at(i) == u'\\' && i + 1 < n)
                    out += text.at(i++);
                out += text.at(i++);
            }
            if (i < n && text.at(i) == c)
                out += text.at(i++);
        } else {
            out += c;
            ++i;
        }
    }
    return out;
}

ExpressionEvaluator::ExpressionEvaluator(VariableLookup variables, CallLookup calls)
    : m_variables(std::move(variables)), m_calls(std::move(calls))
{
}

std::optional<qint64> ExpressionEvaluator::evaluate(const QString& expression) const
{
    const std::vector<Token> tokens = tokenize(expression);
    for (const Token& t : tokens)
        if (t.kind == Token::Bad)
            return std::nullopt;
    Parser parser(tokens, m_variables, m_calls);
    bool bad = false;
    const Value v = parser.parse(bad);
    if (bad)
        return std::nullopt;
    return v;
}

std::optional<bool> ExpressionEvaluator::condition(const QString& text) const
{
    // Blank as the generators see it: a condition of nothing but blanks,
    // tabs and line breaks is no condition and always holds.
    bool blank = true;
    for (const QChar c : text)
        blank = blank && (c == u' ' || c == u'\t' || c == u'\r' || c == u'\n');
    if (blank)
        return true;
    const std::optional<qint64> v = evaluate(text);
    if (!v)
        return std::nullopt;
    return *v != 0;
}

}  // namespace orvane::Simulation
