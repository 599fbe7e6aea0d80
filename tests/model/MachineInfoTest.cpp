#include "FsmTestKit.h"
#include "MachineInfo.h"

#include <gtest/gtest.h>

using namespace orvane;
using namespace orvane::MachineInfo;
using namespace orvane::testkit;

namespace {
void setSample(Diagram& d, const QString& options)
{
    setMachineConfig(d, MachineConfig{kSignature, QStringLiteral("  my fsm  "),
                                      QStringLiteral("init;"), QStringLiteral("before;"), options,
                                      QStringLiteral("int p"), QStringLiteral("after;"),
                                      QStringLiteral("final;"), QStringLiteral("/* mod */"),
                                      QStringLiteral("/* fn */\r\n"), QStringLiteral("dflt;")});
}

int infoNodes(const Diagram& d)
{
    int count = 0;
    for (const auto& n : d.nodes())
        count += (n->userData() & NodeInfo) ? 1 : 0;
    return count;
}
}  // namespace

TEST(GraphRecord, OptionsStringListsEveryToken)
{
    FsmDocument doc;
    EXPECT_EQ(optionsString(doc),
              QStringLiteral(";AS_Y;FO_N;HC_N;FI_N;FE_N;DI_N;AC_N;PT_N;HF_N;BF_Y;UM_Y;"));
    doc.defaultMethodology = Methodology::SwitchCase;
    doc.autosizeNodes = false;
    doc.hideComments = true;
    doc.debugInfo = true;
    doc.historyMachine = true;
    doc.useBitFields = false;
    EXPECT_EQ(optionsString(doc), QStringLiteral("&Switch Case...;AS_N;FO_N;HC_Y;FI_N;FE_N;DI_Y;"
                                                 "AC_N;PT_N;HF_Y;BF_N;UM_Y;"));
}

TEST(GraphRecord, SaveAddsOneInfoNodeAndClearsItemTextsOnly)
{
    FsmDocument doc;
    doc.filePath = QStringLiteral("/work/my machine.v2.fsm");
    Diagram& d = doc.diagram();
    setSample(d, QStringLiteral("old"));
    d.setDefaultFillColor(0x00AABBCC);
    Node* s = addState(doc, {QStringLiteral("A"), QStringLiteral("1")});
    Node* remark = rawNode(d, NodeTextBox, {});
    remark->setText(QStringLiteral("remark"));
    d.setChanged(false);
    EXPECT_EQ(machineConfig(d).name, QStringLiteral("my fsm"));  // trimmed

    saveGraphInfo(doc, true);
    EXPECT_FALSE(d.changed());
    ASSERT_EQ(infoNodes(d), 1);
    const Node* info = d.item(d.nodeCount());
    EXPECT_EQ(machineConfig(d).name, QStringLiteral("my_machine.v2"));
    EXPECT_EQ(machineConfig(d).options, optionsString(doc));
    EXPECT_EQ(machineConfig(d).init, QStringLiteral("init;"));
    EXPECT_EQ(machineConfig(d).params, QStringLiteral("int p"));
    EXPECT_EQ(machineConfig(d).functionHeader, QStringLiteral("/* fn */\r\n"));
    EXPECT_EQ(machineConfig(d).defaultAction, QStringLiteral("dflt;"));
    EXPECT_EQ(info->tag(), d.tag());
    EXPECT_FALSE(info->isFsmItem());
    EXPECT_EQ(info->fillColor(), 0x00AABBCCu);
    EXPECT_EQ(info->left(), 0);
    EXPECT_EQ(info->width(), 100);
    EXPECT_TRUE(s->text().isEmpty());
    EXPECT_TRUE(s->toolTip().isEmpty());
    EXPECT_EQ(remark->text(), QStringLiteral("remark"));
}

TEST(GraphRecord, LoadCopiesTheInfoNodeRemovesItAndKeepsEverythingElse)
{
    FsmDocument doc;
    Diagram& d = doc.diagram();
    Node* s = addState(doc, {QStringLiteral("A"), QStringLiteral("1")});
    Node* remark = rawNode(d, NodeTextBox, {});
    Node* info = rawNode(d, NodeInfo, {"FSM V0.4c", "Lamp"});
    DiagramFont f;
    f.name = QStringLiteral("Courier");
    f.size = 11;
    info->setFont(f);
    info->setForeColor(0x0000FF);
    Link* selectedLink = d.addLink(s, remark);
    selectedLink->setSelected(true);
    s->setSelected(true);
    d.setChanged(false);

    loadGraphInfo(doc, true);
    EXPECT_EQ(infoNodes(d), 0);
    EXPECT_EQ(d.nodeCount(), 2);
    EXPECT_EQ(d.links().size(), 1u);  // a selected link is not deleted with it
    EXPECT_FALSE(s->selected());
    EXPECT_EQ(machineConfig(d).name, QStringLiteral("Lamp"));
    EXPECT_EQ(d.font(), f);
    EXPECT_EQ(d.defaultForeColor(), 0x0000FFu);
    EXPECT_FALSE(remark->isFsmItem());
    EXPECT_TRUE(s->isFsmItem());
    EXPECT_FALSE(d.changed());
    EXPECT_TRUE(d.redraw());
}

TEST(GraphRecord, LoadWithoutCopyKeepsTheLiveRecord)
{
    FsmDocument doc;
    Diagram& d = doc.diagram();
    setSample(d, QStringLiteral("live"));
    rawNode(d, NodeInfo, {"FSM V0.4c", "Stale"});
    rawNode(d, NodeInfo, {"FSM V0.4c", "Stale too"});
    loadGraphInfo(doc, false);
    EXPECT_EQ(machineConfig(d).name, QStringLiteral("my fsm"));
    EXPECT_EQ(d.nodeCount(), 0);
}

TEST(GraphRecord, SignatureOrderIsPlainCodeUnitOrder)
{
    EXPECT_FALSE(signatureIsNewer(QStringLiteral("FSM V0.4c")));
    EXPECT_FALSE(signatureIsNewer(QStringLiteral("FSM V0.4b")));
    EXPECT_FALSE(signatureIsNewer(QString()));
    EXPECT_FALSE(signatureIsNewer(QStringLiteral("FSM V0.4C")));  // upper case sorts first
    EXPECT_FALSE(signatureIsNewer(QStringLiteral("FSM V0.10")));  // not a version compare
    EXPECT_TRUE(signatureIsNewer(QStringLiteral("FSM V0.5")));
    EXPECT_TRUE(signatureIsNewer(QStringLiteral("FSM V0.4c ")));
    EXPECT_TRUE(signatureIsNewer(QStringLiteral("fsm v0.1")));
}
