#include "FsmTestKit.h"
#include "modGrafoInfo.h"

#include <gtest/gtest.h>

using namespace orvane;
using namespace orvane::modGrafoInfo;
using namespace orvane::testkit;

namespace {
void SetSample(Diagram& d, const QString& options)
{
    SetGraphInfo(d, QStringLiteral("  my fsm  "), QStringLiteral("int p"), QStringLiteral("init;"),
                 QStringLiteral("before;"), QStringLiteral("dflt;"), QStringLiteral("after;"),
                 QStringLiteral("final;"), kSignature, options, QStringLiteral("/* mod */"),
                 QStringLiteral("/* fn */\r\n"));
}

int InfoNodes(const Diagram& d)
{
    int count = 0;
    for (const auto& n : d.nodes())
        count += (n->userData() & modNodoEstado::NODE_INFO) ? 1 : 0;
    return count;
}
}  // namespace

TEST(GraphRecord, OptionsStringListsEveryToken)
{
    FsmDocument doc;
    EXPECT_EQ(OptionsString(doc),
              QStringLiteral(";AS_Y;FO_N;HC_N;FI_N;FE_N;DI_N;AC_N;PT_N;HF_N;BF_Y;UM_Y;"));
    doc.formatCompilacion = kCaptionSwitchCase;
    doc.autosizeNodes = false;
    doc.hideComments = true;
    doc.bDebugInfo = true;
    doc.bHistoryFsm = true;
    doc.bUseBitFields = false;
    EXPECT_EQ(OptionsString(doc), QStringLiteral("&Switch Case...;AS_N;FO_N;HC_Y;FI_N;FE_N;DI_Y;"
                                                 "AC_N;PT_N;HF_Y;BF_N;UM_Y;"));
}

TEST(GraphRecord, SaveAddsOneInfoNodeAndClearsItemTextsOnly)
{
    FsmDocument doc;
    doc.sFullDocname = QStringLiteral("/work/my machine.v2.fsm");
    Diagram& d = doc.diagram();
    SetSample(d, QStringLiteral("old"));
    d.setDefaultFillColor(0x00AABBCC);
    Node* s = AddState(doc, {QStringLiteral("A"), QStringLiteral("1")});
    Node* remark = RawNode(d, modNodoEstado::NODE_TEXTBOX, {});
    remark->setText(QStringLiteral("remark"));
    d.setChanged(false);
    EXPECT_EQ(GetGraphField(kGraphName, d), QStringLiteral("my fsm"));  // trimmed

    SaveGraphInfo(doc, true);
    EXPECT_FALSE(d.changed());
    ASSERT_EQ(InfoNodes(d), 1);
    const Node* info = d.item(d.nodeCount());
    EXPECT_EQ(GetGraphField(kGraphName, d), QStringLiteral("my_machine.v2"));
    EXPECT_EQ(GetGraphField(kGraphOptions, d), OptionsString(doc));
    EXPECT_EQ(GetGraphField(kGraphInit, d), QStringLiteral("init;"));
    EXPECT_EQ(GetGraphField(kGraphParams, d), QStringLiteral("int p"));
    EXPECT_EQ(GetGraphField(kGraphFunctionHeader, d), QStringLiteral("/* fn */\r\n"));
    EXPECT_EQ(GetGraphField(kGraphDefault, d), QStringLiteral("dflt;"));
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
    Node* s = AddState(doc, {QStringLiteral("A"), QStringLiteral("1")});
    Node* remark = RawNode(d, modNodoEstado::NODE_TEXTBOX, {});
    Node* info = RawNode(d, modNodoEstado::NODE_INFO, {"FSM V0.4c", "Lamp"});
    DiagramFont f;
    f.name = QStringLiteral("Courier");
    f.size = 11;
    info->setFont(f);
    info->setForeColor(0x0000FF);
    Link* selectedLink = d.addLink(s, remark);
    selectedLink->setSelected(true);
    s->setSelected(true);
    d.setChanged(false);

    LoadGraphInfo(doc, true);
    EXPECT_EQ(InfoNodes(d), 0);
    EXPECT_EQ(d.nodeCount(), 2);
    EXPECT_EQ(d.links().size(), 1u);  // a selected link is not deleted with it
    EXPECT_FALSE(s->selected());
    EXPECT_EQ(GetGraphField(kGraphName, d), QStringLiteral("Lamp"));
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
    SetSample(d, QStringLiteral("live"));
    RawNode(d, modNodoEstado::NODE_INFO, {"FSM V0.4c", "Stale"});
    RawNode(d, modNodoEstado::NODE_INFO, {"FSM V0.4c", "Stale too"});
    LoadGraphInfo(doc, false);
    EXPECT_EQ(GetGraphField(kGraphName, d), QStringLiteral("my fsm"));
    EXPECT_EQ(d.nodeCount(), 0);
}

TEST(GraphRecord, SignatureOrderIsPlainCodeUnitOrder)
{
    EXPECT_FALSE(SignatureIsNewer(QStringLiteral("FSM V0.4c")));
    EXPECT_FALSE(SignatureIsNewer(QStringLiteral("FSM V0.4b")));
    EXPECT_FALSE(SignatureIsNewer(QString()));
    EXPECT_FALSE(SignatureIsNewer(QStringLiteral("FSM V0.4C")));  // upper case sorts first
    EXPECT_FALSE(SignatureIsNewer(QStringLiteral("FSM V0.10")));   // not a version compare
    EXPECT_TRUE(SignatureIsNewer(QStringLiteral("FSM V0.5")));
    EXPECT_TRUE(SignatureIsNewer(QStringLiteral("FSM V0.4c ")));
    EXPECT_TRUE(SignatureIsNewer(QStringLiteral("fsm v0.1")));
}
