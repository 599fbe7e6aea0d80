#include "FsmTestKit.h"

#include <gtest/gtest.h>

#include <QSet>

using namespace orvane;
using namespace orvane::States;
using namespace orvane::testkit;

namespace {
const QString kHistory = QStringLiteral("<History>\r\n");
constexpr quint32 rgb(quint32 r, quint32 g, quint32 b) { return r + 256 * g + 65536 * b; }

bool configure(FsmDocument& doc, Node* n, const QString& name, qint32 kind, const QString& index,
               RecordingMessenger& m)
{
    return configureState(doc, StateRecord{name, {}, index, {}, {}, N, N, {}}, kind, n, m);
}
}  // namespace

TEST(StateDisplay, HeadersAppearOnlyForPresentActions)
{
    FsmDocument doc;
    Node* onlyDuring = addState(
        doc, {QStringLiteral("A"), QStringLiteral("1"), NodeStateNormal, QStringLiteral("x = 1;")});
    EXPECT_EQ(onlyDuring->text(), QStringLiteral("\u00B7A\u00B7\r\n x = 1;\r\n"));

    Node* all = addState(doc, {QStringLiteral("B"), QStringLiteral("2"), NodeStateNormal,
                               QStringLiteral("d1\r\nd2"), QStringLiteral("e"), QStringLiteral("x"),
                               QStringLiteral("el")});
    EXPECT_EQ(all->text(),
              QStringLiteral("\u00B7B\u00B7\r\n#entry:\r\n e\r\n#during:\r\n d1\r\n d2\r\n"
                             "#else:\r\n el\r\n#exit:\r\n x\r\n"));
}

TEST(StateDisplay, HideCommentsDropsCommentLinesButKeepsTheRecord)
{
    FsmDocument doc;
    doc.hideComments = true;
    const QString during = QStringLiteral("  // note\r\nx = 1; // kept\r\ny = 2; //HIDE_LINE");
    Node* n = addState(doc, {QStringLiteral("A"), QStringLiteral("1"), NodeStateNormal, during});
    EXPECT_EQ(n->text(), QStringLiteral("\u00B7A\u00B7\r\n x = 1; // kept\r\n"));
    EXPECT_EQ(stateRecord(n).during, during);
}

TEST(StateRecord, UnknownKindIsRefusedAndLeavesTheNodeAlone)
{
    FsmDocument doc;
    RecordingMessenger m;
    Node* n = rawNode(doc.diagram(), 0, {"old"});
    const QString tagBefore = n->tag();
    for (qint32 kind : {0, qint32(NodeTransition), NodeStateNormal | NodeStateFinal, -1}) {
        QString name = QStringLiteral("X");
        EXPECT_FALSE(configure(doc, n, name, kind, QStringLiteral("1"), m));
    }
    ASSERT_EQ(m.messages.size(), 4u);
    EXPECT_EQ(m.messages[0].text, QStringLiteral("Error in Configura_Nodo_Estado"));
    EXPECT_EQ(n->tag(), tagBefore);
    EXPECT_EQ(n->userData(), 0);
    EXPECT_EQ(n->left(), 500);
    EXPECT_EQ(n->width(), 200);
}

TEST(StateNames, DefaultNameSkipsNamesTakenIgnoringCase)
{
    FsmDocument doc;
    addState(doc, {QStringLiteral("state_1"), QStringLiteral("1")});
    addState(doc, {QStringLiteral("STATE_3"), QStringLiteral("2")});
    Node* fresh = addState(doc, {QString(), QStringLiteral("3")});
    EXPECT_EQ(stateRecord(fresh).name, QStringLiteral("STATE_2"));
    QString name;
    RecordingMessenger m;
    Node* another = doc.diagram().addNode(0, 0, 400, 300);
    configure(doc, another, name, NodeStateNormal, QStringLiteral("4"), m);
    EXPECT_EQ(stateRecord(another).name, QStringLiteral("STATE_4"));
}

TEST(StateNames, ARefreshNamesUnnamedStatesInDiagramOrderAroundTakenNames)
{
    // A file may leave names out; the refresh after loading names them in
    // one pass, as naming them one after the other would.
    FsmDocument doc;
    Diagram& d = doc.diagram();
    Node* first = rawNode(d, NodeStateNormal, {"", "", "1"});
    rawNode(d, NodeStateNormal, {"state_2", "", "2"});
    Node* second = rawNode(d, NodeStateInitial, {"", "", "3"});
    Node* broken = rawNode(d, NodeStateNormal | NodeStateFinal, {"", "", "4"});
    rawNode(d, NodeStateNormal, {"STATE_4", "", "5"});
    Node* third = rawNode(d, NodeStateNormal, {"", "", "6"});
    // The current node's own name never blocks another state's.
    Node* current = rawNode(d, NodeStateNormal, {"", "", "7"});
    Node* fourth = rawNode(d, NodeStateNormal, {"", "", "8"});
    d.setCurrentNode(current);
    RecordingMessenger m;
    refreshAllItems(doc, m);
    EXPECT_EQ(stateRecord(first).name, QStringLiteral("STATE_1"));
    EXPECT_EQ(stateRecord(second).name, QStringLiteral("STATE_3"));
    EXPECT_EQ(stateRecord(broken).name, QString());  // refused, left as it was
    EXPECT_EQ(stateRecord(third).name, QStringLiteral("STATE_5"));
    EXPECT_EQ(stateRecord(current).name, QStringLiteral("STATE_6"));
    EXPECT_EQ(stateRecord(fourth).name, QStringLiteral("STATE_6"));
}

TEST(StateNames, TheCurrentNodeDoesNotBlockItsOwnName)
{
    FsmDocument doc;
    Node* a = addState(doc, {QStringLiteral("Run"), QStringLiteral("1")});
    EXPECT_FALSE(isStateNameFree(doc, QStringLiteral("RUN")));
    doc.diagram().setCurrentNode(a);
    EXPECT_TRUE(isStateNameFree(doc, QStringLiteral("run")));
    // Non-state nodes never block a name.
    rawNode(doc.diagram(), NodeTransition, {"Stop"});
    EXPECT_TRUE(isStateNameFree(doc, QStringLiteral("Stop")));
}

TEST(StateLook, NewInitialStateDemotesThePreviousOneAndItsHistoryLine)
{
    FsmDocument doc;
    doc.historyMachine = true;
    Node* a = addState(doc, {QStringLiteral("A"), QStringLiteral("1"), NodeStateInitial});
    EXPECT_TRUE(a->text().startsWith(kHistory));
    EXPECT_EQ(a->drawColor(), rgb(180, 0, 60));
    EXPECT_EQ(a->drawWidth(), 2);

    Node* b = addState(doc, {QStringLiteral("B"), QStringLiteral("2"), NodeStateInitial});
    EXPECT_EQ(b->userData(), NodeStateInitial);
    EXPECT_EQ(a->userData(), NodeStateNormal);
    EXPECT_EQ(a->drawWidth(), 1);
    EXPECT_EQ(a->drawColor(), 0xFF0000u);
    EXPECT_FALSE(a->text().startsWith(kHistory));
    EXPECT_GE(a->width(), 150);
    EXPECT_GE(a->height(), 100);
}

TEST(StateLook, HistoryLineIsWrittenOnceAndFollowsTheOption)
{
    FsmDocument doc;
    doc.historyMachine = true;
    Node* a = addState(doc, {QStringLiteral("A"), QStringLiteral("1"), NodeStateInitial});
    setHistoryMark(doc, nullptr);  // the diagram's initial state
    EXPECT_EQ(a->text().count(QStringLiteral("<History>")), 1);

    doc.historyMachine = false;
    RecordingMessenger m;
    refreshAllItems(doc, m);
    EXPECT_FALSE(a->text().contains(QStringLiteral("<History>")));
    EXPECT_EQ(a->drawColor(), rgb(230, 0, 0));
}

TEST(StateGeometry, KeepsTheCentreAndNeverGoesBelowOne)
{
    FsmDocument doc;
    doc.autosizeNodes = false;
    Node* n = doc.diagram().addNode(2000, 3000, 1000, 600);
    QString name = QStringLiteral("A");
    RecordingMessenger m;
    configure(doc, n, name, NodeStateNormal, QStringLiteral("1"), m);
    EXPECT_EQ(n->left(), 2000);
    EXPECT_EQ(n->top(), 3000);

    Node* corner = doc.diagram().addNode(-50, 10, 20, 20);  // centre (-40, 20)
    configure(doc, corner, name, NodeStateNormal, QStringLiteral("2"), m);
    EXPECT_EQ(corner->width(), 150);
    EXPECT_EQ(corner->height(), 100);
    EXPECT_EQ(corner->left(), 1);
    EXPECT_EQ(corner->top(), 1);
}

TEST(StateGeometry, SizingNeverMarksTheDiagramChanged)
{
    FsmDocument doc;
    Node* n = addState(doc, {QStringLiteral("A"), QStringLiteral("1"), NodeStateNormal,
                             QStringLiteral("a long during action line")});
    doc.diagram().setChanged(false);
    sizeNodeToText(doc, n);
    EXPECT_FALSE(doc.diagram().changed());
    // With autosize the node fits its text plus 15.
    const QSizeF s = doc.diagram().textMeasurer().textSize(n->text(), n->font());
    EXPECT_DOUBLE_EQ(n->width(), s.width() + 120 + 15);
}

TEST(StateIndices, NextIndexReadsLenientlyAndIgnoresOtherNodes)
{
    FsmDocument doc;
    EXPECT_EQ(nextStateIndex(doc.diagram()), QStringLiteral("1"));
    rawNode(doc.diagram(), NodeTransition, {"99"});
    EXPECT_EQ(nextStateIndex(doc.diagram()), QStringLiteral("1"));
    rawNode(doc.diagram(), NodeStateNormal, {"A", "", "7abc"});
    rawNode(doc.diagram(), NodeStateNormal, {"B", "", "x"});
    rawNode(doc.diagram(), NodeStateNormal, {"C"});  // no index field at all
    EXPECT_EQ(nextStateIndex(doc.diagram()), QStringLiteral("8"));
}

TEST(StateIndices, RenumberPutsTheEditedStateFirstAmongEquals)
{
    FsmDocument doc;
    RecordingMessenger m;
    Node* first3 = addState(doc, {QStringLiteral("A"), QStringLiteral("3")});
    Node* seven = addState(doc, {QStringLiteral("B"), QStringLiteral("7")});
    Node* edited3 = addState(doc, {QStringLiteral("C"), QStringLiteral("3")});
    doc.diagram().setAutoRefresh(true);
    renumberStateIndices(doc, edited3, m);
    EXPECT_EQ(stateRecord(edited3).index, QStringLiteral("1"));
    EXPECT_EQ(stateRecord(first3).index, QStringLiteral("2"));
    EXPECT_EQ(stateRecord(seven).index, QStringLiteral("3"));
    EXPECT_EQ(seven->toolTip(), QStringLiteral("B  (3)"));
    for (const auto& n : doc.diagram().nodes())
        EXPECT_EQ(n->userData() & NodeMark, 0);
    EXPECT_TRUE(doc.diagram().autoRefresh());

    // Without an edited state equal indices keep diagram order.
    renumberStateIndices(doc, nullptr, m);
    EXPECT_EQ(stateRecord(edited3).index, QStringLiteral("1"));
    EXPECT_EQ(stateRecord(first3).index, QStringLiteral("2"));
}

TEST(StateIndices, RenumberCopesWithHandWrittenIndices)
{
    FsmDocument doc;
    RecordingMessenger m;
    Diagram& d = doc.diagram();
    Node* junk = rawNode(d, NodeStateNormal, {"J", "", "junk"});
    Node* half = rawNode(d, NodeStateNormal, {"H", "", "2.5"});  // rounds to 2
    Node* big = rawNode(d, NodeStateNormal, {"B", "", "99999999999"});
    Node* two = rawNode(d, NodeStateNormal, {"T", "", " 2"});
    Node* shortRecord = rawNode(d, NodeStateFinal, {"S"});
    Node* remark = rawNode(d, NodeTextBox, {"5"});
    renumberStateIndices(doc, nullptr, m);
    EXPECT_EQ(stateRecord(junk).index, QStringLiteral("1"));
    EXPECT_EQ(stateRecord(shortRecord).index, QStringLiteral("2"));
    EXPECT_EQ(stateRecord(half).index, QStringLiteral("3"));
    EXPECT_EQ(stateRecord(two).index, QStringLiteral("4"));
    EXPECT_EQ(stateRecord(big).index, QStringLiteral("5"));
    EXPECT_EQ(shortRecord->tag(), (StateRecord{"S", "", "2", "", "", "", "", ""}.toText()));
    EXPECT_EQ(remark->tag(), rawRecord({"5"}));
    EXPECT_TRUE(m.messages.empty());
}

TEST(StateIndices, RenumberWithSeveralInitialStatesStillGivesOneToN)
{
    FsmDocument doc;
    RecordingMessenger m;
    Diagram& d = doc.diagram();
    // Visited R, Q, P: R demotes P, then Q demotes the already renumbered R.
    Node* p = rawNode(d, NodeStateInitial, {"P", "", "3"});
    Node* q = rawNode(d, NodeStateInitial, {"Q", "", "2"});
    Node* r = rawNode(d, NodeStateInitial, {"R", "", "1"});
    renumberStateIndices(doc, nullptr, m);
    EXPECT_EQ(stateRecord(r).index, QStringLiteral("1"));
    EXPECT_EQ(stateRecord(q).index, QStringLiteral("2"));
    EXPECT_EQ(stateRecord(p).index, QStringLiteral("3"));
    EXPECT_EQ(q->userData(), NodeStateInitial);
    EXPECT_EQ(p->userData(), NodeStateNormal);
    EXPECT_EQ(r->userData(), NodeStateNormal);
}

TEST(StateRefresh, OfThreeInitialStatesTheLastStaysInitial)
{
    FsmDocument doc;
    RecordingMessenger m;
    Diagram& d = doc.diagram();
    Node* a = rawNode(d, NodeStateInitial, {"A", "", "1"});
    Node* b = rawNode(d, NodeStateInitial, {"B", "", "2"});
    Node* c = rawNode(d, NodeStateInitial, {"C", "", "3"});
    Node* unnamed = rawNode(d, NodeStateNormal, {"", "", "4"});
    refreshAllItems(doc, m);
    EXPECT_EQ(a->userData(), NodeStateNormal);
    EXPECT_EQ(b->userData(), NodeStateNormal);
    EXPECT_EQ(c->userData(), NodeStateInitial);
    EXPECT_EQ(stateRecord(unnamed).name, QStringLiteral("STATE_1"));
    EXPECT_EQ(findOtherNode(d, NodeStateInitial, nullptr), c);
    EXPECT_EQ(findOtherNode(d, NodeStateInitial, c), nullptr);
}

TEST(StateRefresh, ManyUnnamedStatesGetDistinctNames)
{
    FsmDocument doc;
    RecordingMessenger m;
    for (int i = 0; i < 2000; ++i)
        rawNode(doc.diagram(), NodeStateNormal, {"", "", QString::number(i + 1)});
    refreshAllItems(doc, m);
    QSet<QString> names;
    for (const auto& n : doc.diagram().nodes())
        names.insert(stateRecord(n.get()).name);
    EXPECT_EQ(names.size(), 2000);
    EXPECT_TRUE(names.contains(QStringLiteral("STATE_2000")));
}

// Copy and paste through the diagram's own clipboard data, as the editor
// does, then the pasted states made free.
class PastedStates : public ::testing::Test {
protected:
    std::vector<Node*> copyAndPaste(std::initializer_list<Node*> nodes)
    {
        Diagram& d = doc.diagram();
        d.clearSelection();
        for (Node* n : nodes)
            n->setSelected(true);
        const QByteArray data = d.selectionData();
        d.clearSelection();
        QString error;
        EXPECT_TRUE(d.pasteData(data, QPointF(300, 300), &error)) << error.toStdString();
        const std::vector<Node*> pasted = d.selectedNodes();
        freePastedStates(doc, pasted, m);
        return pasted;
    }
    std::vector<Node*> statesOf(const std::vector<Node*>& nodes)
    {
        std::vector<Node*> states;
        for (Node* n : nodes)
            if (isStateNode(n))
                states.push_back(n);
        return states;
    }
    FsmDocument doc;
    RecordingMessenger m;
};

TEST_F(PastedStates, ACopyGetsTheNextFreeSuffixAndIndex)
{
    Node* stopping = addState(doc, {QStringLiteral("Stopping"), QStringLiteral("1")});
    addState(doc, {QStringLiteral("stopping_2"), QStringLiteral("2")});  // taken, ignoring case
    addState(doc, {QStringLiteral("Run"), QStringLiteral("7")});
    const auto copy = statesOf(copyAndPaste({stopping}));
    ASSERT_EQ(copy.size(), 1u);
    EXPECT_EQ(stateRecord(copy[0]).name, QStringLiteral("Stopping_3"));
    EXPECT_EQ(stateRecord(copy[0]).index, QStringLiteral("8"));
    EXPECT_EQ(stateRecord(stopping).name, QStringLiteral("Stopping"));
    EXPECT_EQ(stateRecord(stopping).index, QStringLiteral("1"));
    // A copy of the copy replaces the suffix rather than adding one.
    const auto again = statesOf(copyAndPaste({copy[0]}));
    ASSERT_EQ(again.size(), 1u);
    EXPECT_EQ(stateRecord(again[0]).name, QStringLiteral("Stopping_4"));
    EXPECT_EQ(stateRecord(again[0]).index, QStringLiteral("9"));
    EXPECT_EQ(firstNameClash(doc.diagram()).first, nullptr);
    EXPECT_TRUE(m.texts.isEmpty());
}

TEST_F(PastedStates, SeveralCopiesKeepTheirOrderAndTheirKinds)
{
    Node* a = addState(doc, {QStringLiteral("A"), QStringLiteral("2")});
    Node* b = addState(doc, {QStringLiteral("B"), QStringLiteral("1"), NodeStateFinal}, 3000);
    const auto pasted = copyAndPaste({a, b});
    const auto copies = statesOf(pasted);
    ASSERT_EQ(copies.size(), 2u);
    QStringList got;
    for (Node* n : copies)
        got << stateRecord(n).name + u'=' + stateRecord(n).index;
    got.sort();
    // B had the lower index, so its copy comes first.
    EXPECT_EQ(got, (QStringList{QStringLiteral("A_2=4"), QStringLiteral("B_2=3")}));
    for (Node* n : copies) {
        if (stateRecord(n).name == QStringLiteral("B_2")) {
            EXPECT_EQ(n->userData() & NodeAnyState, NodeStateFinal);
        }
    }
}

TEST_F(PastedStates, DefaultNamesContinueTheirNumbering)
{
    Node* named = addState(doc, {QStringLiteral("STATE_1"), QStringLiteral("1")});
    Node* raw = rawNode(doc.diagram(), NodeStateNormal, {"", "", "2"});
    const auto copies = statesOf(copyAndPaste({raw, named}));
    ASSERT_EQ(copies.size(), 2u);
    QStringList names;
    for (Node* n : copies)
        names << stateRecord(n).name;
    names.sort();
    // STATE_1 (index 1) comes first: its copy is STATE_2; the unnamed one
    // then gets the next default name.
    EXPECT_EQ(names, (QStringList{QStringLiteral("STATE_2"), QStringLiteral("STATE_3")}));
}

TEST(StateNames, AClashIsFoundIgnoringCaseInIndexOrder)
{
    FsmDocument doc;
    addState(doc, {QStringLiteral("Run"), QStringLiteral("1")});
    Node* second = addState(doc, {QStringLiteral("STOPPING"), QStringLiteral("3")});
    Node* first = addState(doc, {QStringLiteral("Stopping"), QStringLiteral("2")});
    const auto [a, b] = firstNameClash(doc.diagram());
    EXPECT_EQ(a, first);
    EXPECT_EQ(b, second);
}
