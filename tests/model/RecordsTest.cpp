#include "FsmTestKit.h"
#include "Records.h"

#include <gtest/gtest.h>

using namespace orvane;
using testkit::rawRecord;

TEST(Records, EveryRecordRoundTripsThroughItsTextForm)
{
    const StateRecord s{"Idle", "tick();\r\nx++;", "3", "on();", "off();", "Y", "N", "idle();"};
    EXPECT_EQ(s.toText(),
              rawRecord({"Idle", "tick();\r\nx++;", "3", "on();", "off();", "Y", "N", "idle();"}));
    EXPECT_EQ(StateRecord::fromText(s.toText()), s);

    const TransitionRecord t{"2", "a && b", "go();", "Y", "N"};
    EXPECT_EQ(t.toText(), rawRecord({"2", "a && b", "go();", "Y", "N"}));
    EXPECT_EQ(TransitionRecord::fromText(t.toText()), t);

    const MachineConfig c{"FSM V0.4c", "Lamp", "int x;", "x++;",    "&Switch Case...;AS_Y;",
                          "int ev",    "x--;", "end();", "/* m */", "/* f */",
                          "trap();"};
    EXPECT_EQ(c.toText(), rawRecord({"FSM V0.4c", "Lamp", "int x;", "x++;", "&Switch Case...;AS_Y;",
                                     "int ev", "x--;", "end();", "/* m */", "/* f */", "trap();"}));
    EXPECT_EQ(MachineConfig::fromText(c.toText()), c);
}

TEST(Records, MissingAndUnterminatedFieldsReadEmpty)
{
    // A field counts only when a separator ends it.
    const StateRecord shortRecord = StateRecord::fromText(rawRecord({"S", "d"}) + "tail");
    EXPECT_EQ(shortRecord.name, "S");
    EXPECT_EQ(shortRecord.during, "d");
    EXPECT_EQ(shortRecord.index, QString());
    EXPECT_EQ(shortRecord.elseAction, QString());
    EXPECT_EQ(StateRecord::fromText("no separator"), StateRecord{});
    EXPECT_EQ(TransitionRecord::fromText(QString()), TransitionRecord{});
    // Extra fields after the last one are ignored.
    EXPECT_EQ(TransitionRecord::fromText(rawRecord({"1", "c", "a", "N", "Y", "extra"})),
              (TransitionRecord{"1", "c", "a", "N", "Y"}));
}

TEST(Records, AMiddleDotAloneIsNoSeparator)
{
    const StateRecord r = StateRecord::fromText(rawRecord({"x\u00B7y", "a \u00B7b"}));
    EXPECT_EQ(r.name, "x\u00B7y");
    EXPECT_EQ(r.during, "a \u00B7b");
    // A dot right before a separator, and a record cut inside a separator.
    const StateRecord s =
        StateRecord::fromText(QStringLiteral("x\u00B7\u00B7 \u00B7d\u00B7 \u00B7e\u00B7 "));
    EXPECT_EQ(s.name, "x\u00B7");
    EXPECT_EQ(s.during, "d");
    EXPECT_EQ(s.index, QString());
}

TEST(Records, NodesWithoutARecordReadEmpty)
{
    EXPECT_EQ(stateRecord(nullptr), StateRecord{});
    EXPECT_EQ(transitionRecord(nullptr), TransitionRecord{});
    Diagram d;
    EXPECT_EQ(machineConfig(d), MachineConfig{});
}

TEST(Records, OneFieldReadsAsTheWholeRecordReadsIt)
{
    Diagram d;
    Node* state = d.addNode(0, 0, 100, 100);
    state->setTag(rawRecord({"Idle", "during", "7", "entry", "exit", "N", "N", ""}));
    Node* transition = d.addNode(0, 0, 10, 10);
    transition->setTag(rawRecord({"3", "c", "a", "N"}) + "Y");
    EXPECT_EQ(recordField(state, RecordField::StateName), stateRecord(state).name);
    EXPECT_EQ(recordField(state, RecordField::StateIndex), stateRecord(state).index);
    EXPECT_EQ(recordField(transition, RecordField::TransitionPriority), "3");
    EXPECT_EQ(recordField(transition, RecordField::SelfFlag), "N");

    // Unterminated or missing fields, and no node, read empty.
    Node* shortRecord = d.addNode(0, 0, 10, 10);
    shortRecord->setTag(rawRecord({"S", "d"}) + "7");
    EXPECT_EQ(recordField(shortRecord, RecordField::StateIndex), QString());
    EXPECT_EQ(recordField(shortRecord, RecordField::StateName), "S");
    EXPECT_EQ(recordField(nullptr, RecordField::StateName), QString());
}
