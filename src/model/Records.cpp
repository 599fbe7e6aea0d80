#include "Records.h"

#include "Diagram.h"

#include <QStringList>

#include <initializer_list>

namespace orvane {

namespace {

// The field separator of every record: middle dot, blank, middle dot.
const QString kSeparator = QStringLiteral("\u00B7 \u00B7");

// Where the next separator starts at or after `from`, or -1. Its first
// character is looked for alone: a single-character search is much faster.
qsizetype findSeparator(const QString& text, qsizetype from)
{
    const QChar dot = kSeparator.at(0);
    while (true) {
        const qsizetype at = text.indexOf(dot, from);
        if (at < 0 || text.size() - at < kSeparator.size())
            return -1;
        if (QStringView(text).sliced(at, kSeparator.size()) == kSeparator)
            return at;
        from = at + 1;
    }
}

// The fields in order; a field counts only when a separator ends it, so a
// missing or unterminated field reads as empty.
void readFields(const QString& text, std::initializer_list<QString*> fields)
{
    qsizetype start = 0;
    bool exhausted = false;
    for (QString* field : fields) {
        const qsizetype end = exhausted ? -1 : findSeparator(text, start);
        if (end < 0) {
            exhausted = true;
            field->clear();
            continue;
        }
        *field = text.mid(start, end - start);
        start = end + kSeparator.size();
    }
}

QString writeFields(std::initializer_list<const QString*> fields)
{
    QString out;
    for (const QString* field : fields) {
        out += *field;
        out += kSeparator;
    }
    return out;
}

}  // namespace

StateRecord StateRecord::fromText(const QString& text)
{
    StateRecord r;
    readFields(text,
               {&r.name, &r.during, &r.index, &r.entry, &r.exit, &r.isIn, &r.goTo, &r.elseAction});
    return r;
}

QString StateRecord::toText() const
{
    return writeFields({&name, &during, &index, &entry, &exit, &isIn, &goTo, &elseAction});
}

TransitionRecord TransitionRecord::fromText(const QString& text)
{
    TransitionRecord r;
    readFields(text, {&r.priority, &r.condition, &r.action, &r.selfFlag, &r.lastFlag});
    return r;
}

QString TransitionRecord::toText() const
{
    return writeFields({&priority, &condition, &action, &selfFlag, &lastFlag});
}

MachineConfig MachineConfig::fromText(const QString& text)
{
    MachineConfig c;
    readFields(text, {&c.signature, &c.name, &c.init, &c.before, &c.options, &c.params, &c.after,
                      &c.finalActions, &c.moduleHeader, &c.functionHeader, &c.defaultAction});
    return c;
}

QString MachineConfig::toText() const
{
    return writeFields({&signature, &name, &init, &before, &options, &params, &after, &finalActions,
                        &moduleHeader, &functionHeader, &defaultAction});
}

StateRecord stateRecord(const Node* node)
{
    return node ? StateRecord::fromText(node->tag()) : StateRecord{};
}

TransitionRecord transitionRecord(const Node* node)
{
    return node ? TransitionRecord::fromText(node->tag()) : TransitionRecord{};
}

MachineConfig machineConfig(const Diagram& d) { return MachineConfig::fromText(d.tag()); }

QString recordField(const Node* node, RecordField field)
{
    if (!node)
        return {};
    const QString& text = node->tag();
    const int wanted = int(field);
    qsizetype start = 0;
    for (int i = 0;; ++i) {
        const qsizetype end = text.indexOf(kSeparator, start);
        if (end < 0)
            return {};
        if (i == wanted)
            return text.mid(start, end - start);
        start = end + kSeparator.size();
    }
}

}  // namespace orvane
