#pragma once
// Builders shared by the FSM model tests: machines made through the model's
// own operations, raw nodes for hand-written (bad) input, and a messenger
// that records what the user would have been told.

#include "Diagram.h"
#include "FsmDocument.h"
#include "Messenger.h"
#include "RawRecord.h"
#include "RecordingMessenger.h"
#include "States.h"
#include "Transitions.h"
#include "Texts.h"

#include <QStringList>

namespace orvane::testkit {

using orvane::testing::RecordingMessenger;

inline const QString Y = QStringLiteral("Y");
inline const QString N = QStringLiteral("N");

struct StateDef {
    StateDef(QString n, QString i, qint32 k = NodeStateNormal, QString d = {}, QString en = {},
             QString ex = {}, QString el = {})
        : name(std::move(n)), index(std::move(i)), kind(k), during(std::move(d)),
          entry(std::move(en)), exit(std::move(ex)), elseAction(std::move(el))
    {
    }
    QString name, index;
    qint32 kind;
    QString during, entry, exit, elseAction;
};

// A state configured through the model, as the properties dialog does.
inline Node* addState(FsmDocument& doc, StateDef s, double left = 1000, double top = 1000)
{
    RecordingMessenger m;
    Node* n = doc.diagram().addNode(left, top, 1500, 900);
    States::configureState(
        doc, StateRecord{s.name, s.during, s.index, s.entry, s.exit, N, N, s.elseAction}, s.kind, n,
        m);
    return n;
}

// A transition drawn by the user from `from` to `to` and then edited.
inline Node* addTransition(FsmDocument& doc, Node* from, Node* to, const QString& condition = {},
                           const QString& action = {}, const QString& self = Y,
                           const QString& last = N)
{
    Diagram& d = doc.diagram();
    d.setCurrentLink(d.addLink(from, to));
    Node* t = Transitions::splitLinkIntoTransition(doc);
    const QString p = transitionRecord(t).priority;
    Transitions::configureTransition(doc, TransitionRecord{p, condition, action, self, last}, t);
    Transitions::renumberPriorities(doc, from, t);
    return t;
}

using orvane::testing::rawRecord;

// A node with a record written by hand, as a file might hold it.
inline Node* rawNode(Diagram& d, qint32 userData, const QStringList& fields)
{
    Node* n = d.addNode(500, 500, 200, 200);
    n->setUserData(userData);
    n->setTag(rawRecord(fields));
    return n;
}
inline QString priority(const Node* t) { return transitionRecord(t).priority; }

}  // namespace orvane::testkit
