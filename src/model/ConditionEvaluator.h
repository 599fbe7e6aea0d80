#pragma once
// Reads the C expressions of conditions and actions over a table of integer
// variables: integer and character literals, identifiers, the unary
// operators ! ~ - +, the binary operators of C from * / % down to || with
// C's precedence, ?: and parentheses. && || and ?: evaluate only what C
// evaluates. What cannot be read for sure (a name the table lacks, a
// function call, a cast, a division by zero, a syntax this reader does not
// know) makes the value unknown, so that the caller can ask the user.

#include <QList>
#include <QString>

#include <functional>
#include <optional>

namespace orvane::Simulation {

// The value of a name, none when it is not known.
using VariableLookup = std::function<std::optional<qint64>(const QString& name)>;
// The value of a call NAME(args) whose arguments are all known; none when
// the call cannot be answered (the default).
using CallLookup =
    std::function<std::optional<qint64>(const QString& name, const QList<qint64>& args)>;

class ExpressionEvaluator {
public:
    explicit ExpressionEvaluator(VariableLookup variables, CallLookup calls = {});

    // The value of the whole text (comments allowed), none when unknown.
    std::optional<qint64> evaluate(const QString& expression) const;
    // A condition's truth: a blank condition holds; none when unknown.
    std::optional<bool> condition(const QString& text) const;

private:
    VariableLookup m_variables;
    CallLookup m_calls;
};

// The text without its /* */ and // comments (each comment becomes a
// blank); string and character literals are kept as they are.
QString withoutComments(const QString& text);

}  // namespace orvane::Simulation
