#pragma once
// Small machines written as diagram files, for tests that need a tree of
// files on disk (child diagrams are found by their files).

#include "Diagram.h"
#include "Records.h"

#include <QDir>
#include <QFileInfo>

namespace orvane::testfiles {

struct TwoStateMachine {
    QString name;
    QString during;  // of the first state, where children are called
    bool initial = true;
    QString entry;  // of the second state
    QString options = QStringLiteral("HF_N;UM_Y;");
};

inline TwoStateMachine twoStates(const QString& name, const QString& during, bool initial = true,
                                 const QString& entry = {})
{
    TwoStateMachine m;
    m.name = name;
    m.during = during;
    m.initial = initial;
    m.entry = entry;
    return m;
}

// Saves a diagram whose configuration record is in its Tag as a saved file
// holds it: the record in an info node. Missing folders are made.
inline bool saveWithRecord(Diagram& d, const QString& path, QString* error = nullptr)
{
    Node* info = d.addNode(0, 0, 100, 100);
    info->setUserData(0x200);
    info->setIsFsmItem(false);
    info->setTag(d.tag());
    QDir().mkpath(QFileInfo(path).absolutePath());
    return d.saveFile(path, error);
}

// States S1 (initial unless asked otherwise) and S2, S1 -> S2 on "go" and
// S2 -> S1 on "back"; the configuration record in an info node, as a saved
// file holds it. False when the file was not written.
inline bool writeMachine(const QString& path, const TwoStateMachine& m, QString* error = nullptr)
{
    Diagram d;
    auto state = [&d](const QString& name, qint32 kind, const QString& index, const QString& during,
                      const QString& entry) {
        Node* n = d.addNode(0, 0, 1500, 900);
        n->setUserData(kind);
        n->setTag(StateRecord{name, during, index, entry, QString(), QStringLiteral("N"),
                              QStringLiteral("N"), QString()}
                      .toText());
        return n;
    };
    auto transition = [&d](Node* from, Node* to, const QString& condition) {
        Node* t = d.addNode(0, 0, 150, 100);
        t->setUserData(0x800);
        t->setTag(TransitionRecord{QStringLiteral("1"), condition, QString(), QStringLiteral("Y"),
                                   QStringLiteral("N")}
                      .toText());
        d.addLink(from, t);
        d.addLink(t, to);
    };
    Node* s1 = state(QStringLiteral("S1"), m.initial ? 0x4000 : 0x2000, QStringLiteral("1"),
                     m.during, QString());
    Node* s2 = state(QStringLiteral("S2"), 0x2000, QStringLiteral("2"), QString(), m.entry);
    transition(s1, s2, QStringLiteral("go"));
    transition(s2, s1, QStringLiteral("back"));
    MachineConfig config;
    config.signature = QStringLiteral("FSM V0.4c");
    config.name = m.name;
    config.options = m.options;
    d.setTag(config.toText());
    return saveWithRecord(d, path, error);
}

}  // namespace orvane::testfiles
