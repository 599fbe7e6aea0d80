#pragma once
// The typed records an FSM keeps in its nodes and in its diagram: a state's
// eight texts, a transition's five, and the machine configuration's eleven,
// plus the kind bits that say what a node is. In the file (and in the undo
// snapshots) each record is a node's tag in one text form, every field
// followed by the separator "· ·"; this unit is the only one that reads or
// writes that form.

#include <QString>
#include <QtGlobal>

namespace orvane {

class Diagram;
class Node;

// What a node is: bits of its user data, stored in the file as they are.
enum NodeKind : qint32 {
    NodeInfo = 0x200,        // the hidden node that carries the configuration
    NodeTextBox = 0x400,     // a remark
    NodeTransition = 0x800,  // the label node in the middle of a transition
    NodeMark = 0x1000,       // a state's history mark
    NodeStateNormal = 0x2000,
    NodeStateInitial = 0x4000,
    NodeStateFinal = 0x8000,
    NodeStateSuper = 0x10000,
    NodeMargin = 0x20000,    // the page export's frame node
    NodeAnyState = 0x1E000,  // the four state kinds
    NodeFsmItem = 0x1F800,   // every kind that belongs to the machine
};

struct StateRecord {
    QString name;
    QString during;      // actions run while the state stays active
    QString index;       // the state's number, as written
    QString entry;       // actions on entering
    QString exit;        // actions on leaving
    QString isIn;        // "Y": generate the IsIn test of this state
    QString goTo;        // "Y": generate the Goto forcing of this state
    QString elseAction;  // actions when no transition fires

    static StateRecord fromText(const QString& text);
    QString toText() const;
    friend bool operator==(const StateRecord&, const StateRecord&) = default;
};

struct TransitionRecord {
    QString priority;   // the priority, as written
    QString condition;  // the C condition; empty fires always
    QString action;     // actions when it fires
    QString selfFlag;   // "N": internal when the target is the source itself
    QString lastFlag;   // "Y": must be the last transition of its state

    static TransitionRecord fromText(const QString& text);
    QString toText() const;
    friend bool operator==(const TransitionRecord&, const TransitionRecord&) = default;
};

struct MachineConfig {
    QString signature;       // the file generation that wrote the record
    QString name;            // the FSM's name, the generated function's too
    QString init;            // the user's initialization code
    QString before;          // actions before the state analysis
    QString options;         // the default code style and the option tokens
    QString params;          // the FSM function's parameter list
    QString after;           // actions after the state analysis
    QString finalActions;    // the user's ending code
    QString moduleHeader;    // the header of the generated module
    QString functionHeader;  // the comment above the FSM function
    QString defaultAction;   // the state index error trap's code

    static MachineConfig fromText(const QString& text);
    QString toText() const;
    friend bool operator==(const MachineConfig&, const MachineConfig&) = default;
};

// A node's record (all fields empty for a null node or a foreign tag).
StateRecord stateRecord(const Node* node);
TransitionRecord transitionRecord(const Node* node);
// The configuration kept in the diagram's tag while a document is open.
MachineConfig machineConfig(const Diagram& d);

// One field of a node's record, read as fromText reads it (empty when no
// separator ends it), without copying the others: a state's index or a
// transition's priority is wanted often, and actions may be megabytes long.
enum class RecordField { StateName = 0, StateIndex = 2, TransitionPriority = 0, SelfFlag = 3 };
QString recordField(const Node* node, RecordField field);

}  // namespace orvane
