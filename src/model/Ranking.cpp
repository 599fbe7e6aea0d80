#include "Ranking.h"

#include "States.h"
#include "Transitions.h"
#include "Texts.h"

#include <algorithm>
#include <charconv>
#include <cfloat>
#include <climits>
#include <cmath>
#include <unordered_set>

namespace orvane::Ranking {

namespace {
bool isDigit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }

// Skips the digits from `i`; returns how many there were.
qsizetype skipDigits(const QString& t, qsizetype& i)
{
    const qsizetype from = i;
    while (i < t.size() && isDigit(t.at(i)))
        ++i;
    return i - from;
}

// Length of the numeric prefix of `t` starting at `start` (0 when none).
qsizetype numericPrefixEnd(const QString& t, qsizetype start)
{
    qsizetype i = start;
    if (i < t.size() && (t.at(i) == QLatin1Char('+') || t.at(i) == QLatin1Char('-')))
        ++i;
    qsizetype digits = skipDigits(t, i);
    if (i < t.size() && t.at(i) == QLatin1Char('.')) {
        ++i;
        digits += skipDigits(t, i);
    }
    if (digits == 0)
        return start;
    // An exponent counts only when it has digits of its own.
    if (i < t.size() && (t.at(i) == QLatin1Char('e') || t.at(i) == QLatin1Char('E'))) {
        qsizetype j = i + 1;
        if (j < t.size() && (t.at(j) == QLatin1Char('+') || t.at(j) == QLatin1Char('-')))
            ++j;
        if (skipDigits(t, j) > 0)
            i = j;
    }
    return i;
}

// The nodes in ascending key order; equal keys keep their order.
std::vector<Node*> stableByKey(std::vector<std::pair<double, Node*>>& keyed)
{
    std::stable_sort(keyed.begin(), keyed.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<Node*> out;
    out.reserve(keyed.size());
    for (const auto& k : keyed)
        out.push_back(k.second);
    return out;
}
}  // namespace

double lenientNumber(const QString& text)
{
    qsizetype start = 0;
    while (start < text.size()
           && (text.at(start) == QLatin1Char(' ') || text.at(start) == QLatin1Char('\t')))
        ++start;
    const qsizetype end = numericPrefixEnd(text, start);
    if (end == start)
        return 0;
    // The prefix is plain ASCII; from_chars reads it the same in every locale.
    QByteArray prefix = text.mid(start, end - start).toLatin1();
    if (prefix.startsWith('+'))
        prefix.remove(0, 1);
    double v = 0;
    const auto [ptr, ec] =
        std::from_chars(prefix.constData(), prefix.constData() + prefix.size(), v);
    Q_UNUSED(ptr);
    if (ec == std::errc::result_out_of_range) {
        // Too large keeps its sign and its order; too small is 0.
        const qsizetype e = prefix.indexOf('e') >= 0 ? prefix.indexOf('e') : prefix.indexOf('E');
        const bool tiny = e >= 0 && e + 1 < prefix.size() && prefix.at(e + 1) == '-';
        if (tiny)
            return 0;
        return prefix.startsWith('-') ? -DBL_MAX : DBL_MAX;
    }
    return ec == std::errc() ? v : 0;
}

int lenientIndex(const QString& text)
{
    const double v = lenientNumber(text);
    const double f = std::floor(v);
    const double diff = v - f;
    double r = f;
    if (diff > 0.5 || (diff == 0.5 && std::fmod(f, 2.0) != 0.0))
        r = f + 1;
    if (r >= double(INT_MAX))
        return INT_MAX;
    if (r <= double(INT_MIN))
        return INT_MIN;
    return int(r);
}

std::vector<Node*> statesByRank(const Diagram& d)
{
    std::vector<std::pair<double, Node*>> keyed;
    for (const auto& n : d.nodes())
        if (States::isStateNode(n.get()))
            keyed.emplace_back(lenientIndex(recordField(n.get(), RecordField::StateIndex)),
                               n.get());
    return stableByKey(keyed);
}

Node* transitionTarget(const Node* transition)
{
    if (!Transitions::isTransitionNode(transition) || transition->outLinks().empty())
        return nullptr;
    Node* target = transition->outLinks().front()->dst();
    return States::isStateNode(target) ? target : nullptr;
}

std::vector<Node*> transitionsByRank(const Node* state)
{
    std::vector<std::pair<double, Node*>> keyed;
    if (!state)
        return {};
    std::unordered_set<const Node*> seen;
    for (const Link* l : state->outLinks()) {
        Node* t = l->dst();
        // A second link to the same transition node adds no transition.
        if (!transitionTarget(t) || !seen.insert(t).second)
            continue;
        keyed.emplace_back(lenientNumber(recordField(t, RecordField::TransitionPriority)), t);
    }
    return stableByKey(keyed);
}

}  // namespace orvane::Ranking
