#include "ConditionEvaluator.h"

#include <gtest/gtest.h>

#include <QHash>

namespace orvane::Simulation {
namespace {

struct Fixture {
    QHash<QString, qint64> vars{
        {QStringLiteral("a"), 6}, {QStringLiteral("b"), 4}, {QStringLiteral("zero"), 0}};
    int calls = 0;
    ExpressionEvaluator evaluator{
        [this](const QString& n) -> std::optional<qint64> {
            if (vars.contains(n))
                return vars.value(n);
            return std::nullopt;
        },
        [this](const QString& n, const QList<qint64>& args) -> std::optional<qint64> {
            ++calls;
            if (n == u"twice" && args.size() == 1)
                return args.at(0) * 2;
            return std::nullopt;
        }};
    std::optional<qint64> eval(const char* text)
    {
        return evaluator.evaluate(QString::fromUtf8(text));
    }
};

TEST(ConditionEvaluator, FollowsThePrecedenceAndAssociativityOfC)
{
    Fixture f;
    const std::pair<const char*, qint64> cases[] = {
        {"1 + 2 * 3", 7},
        {"(1 + 2) * 3", 9},
        {"10 - 4 - 3", 3},
        {"100 / 10 / 5", 2},
        {"-7 / 2", -3},
        {"-7 % 3", -1},
        {"1 << 2 + 1", 8},
        {"1 < 2 == 1", 1},
        {"3 & 5 == 5", 1},
        {"6 ^ 3 | 8", 13},
        {"1 | 2 ^ 3 & 4", 3},
        {"!0 + ~0", 0},
        {"- -a", 6},
        {"+b", 4},
        {"a > b ? a : b", 6},
        {"0 ? 1 : 2 ? 3 : 4", 3},
        {"a >= 6 && b != 4 || zero == 0", 1},
        {"0x1F + 010 + 'A' + '\\n' + 2u + 3L", 31 + 8 + 65 + 10 + 5},
        {"'\\x41' + '\\0' + '\\''", 65 + 39},
        {"a /* six */ + b // four", 10},
        {"twice(a + 1)", 14},
        {"true + false", 1},
    };
    for (const auto& [text, value] : cases)
        EXPECT_EQ(f.eval(text), std::optional<qint64>(value)) << text;
}

TEST(ConditionEvaluator, ShortCircuitsLikeC)
{
    Fixture f;
    // The side C never evaluates may be unreadable, and is not called.
    EXPECT_EQ(f.eval("zero && unknown"), 0);
    EXPECT_EQ(f.eval("a || unknown"), 1);
    EXPECT_EQ(f.eval("zero && twice(1)"), 0);
    EXPECT_EQ(f.calls, 0);
    EXPECT_EQ(f.eval("a ? 1 : 1 / zero"), 1);
    EXPECT_EQ(f.eval("zero ? unknown : 5"), 5);
    // A known side decides even when the other is unknown.
    EXPECT_EQ(f.eval("unknown && zero"), 0);
    EXPECT_EQ(f.eval("unknown || a"), 1);
    // Otherwise the unknown side makes the whole unknown.
    EXPECT_EQ(f.eval("unknown && a"), std::nullopt);
    EXPECT_EQ(f.eval("zero || unknown"), std::nullopt);
    EXPECT_EQ(f.eval("unknown ? a : b"), std::nullopt);
}

TEST(ConditionEvaluator, WhatItCannotReadIsUnknown)
{
    Fixture f;
    for (const char* text :
         {"unknown", "lamps(1)", "a / zero",  "a % zero", "a << 64",  "a << -1", "(int)a",
          "a +",     "a b",      "(a",        "a)",       "\"text\"", "a = 1",   "a, b",
          "1.5",     "'ab'",     "sizeof(a)", "a[1]",     "x.y",      "p->q",    ""})
        EXPECT_EQ(f.eval(text), std::nullopt) << text;
}

TEST(ConditionEvaluator, BlankConditionsHoldAndValuesBecomeTruth)
{
    Fixture f;
    EXPECT_EQ(f.evaluator.condition(QStringLiteral(" \r\n\t")), true);
    EXPECT_EQ(f.evaluator.condition(QStringLiteral("a - 6")), false);
    EXPECT_EQ(f.evaluator.condition(QStringLiteral("-1")), true);
    EXPECT_EQ(f.evaluator.condition(QStringLiteral("// only a remark")), std::nullopt);
}

TEST(ConditionEvaluator, ArithmeticWrapsInsteadOfOverflowing)
{
    Fixture f;
    EXPECT_EQ(f.eval("9223372036854775807 + 1"), std::numeric_limits<qint64>::min());
    EXPECT_EQ(f.eval("-9223372036854775807 - 1 - 1"), std::numeric_limits<qint64>::max());
}

TEST(ConditionEvaluator, CommentsGoButLiteralsStay)
{
    EXPECT_EQ(withoutComments(QStringLiteral("a /* x */ b // y\r\nc")),
              QStringLiteral("a   b  \r\nc"));
    EXPECT_EQ(withoutComments(QStringLiteral("s(\"/* no */\", '/') /* open")),
              QStringLiteral("s(\"/* no */\", '/')  "));
}

}  // namespace
}  // namespace orvane::Simulation
