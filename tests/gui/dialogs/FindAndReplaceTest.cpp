#include "DialogTestSupport.h"
#include "ModalTestSupport.h"

#include "FindAndReplace.h"
#include "FindMatchDialog.h"
#include "MachineInfo.h"

#include <QClipboard>
#include <QLineEdit>
#include <QPushButton>

using namespace orvane;
using namespace orvane::testing;
namespace States = orvane::States;
namespace Transitions = orvane::Transitions;

namespace {

// Records the caption of every text that holds the search string, and
// replaces every occurrence (as "Change" until the end would).
class ReplacingMatcher : public FindMatcher {
public:
    bool showMatch(const QString& caption, QString& text, const QString& findWhat,
                   const QString& replaceWith, bool, bool readOnly) override
    {
        if (!text.contains(findWhat))
            return true;
        shown << caption;
        if (!readOnly)
            text.replace(findWhat, replaceWith);
        return true;
    }
    QStringList shown;
};

// The real match dialog, recording the texts it was given that match.
class RecordingFind : public FindMatchDialog {
public:
    bool showMatch(const QString& caption, QString& text, const QString& findWhat,
                   const QString& replaceWith, bool caseSensitive, bool readOnly) override
    {
        if (text.contains(findWhat))
            shown << caption;
        return FindMatchDialog::showMatch(caption, text, findWhat, replaceWith, caseSensitive,
                                          readOnly);
    }
    QStringList shown;
};

class FindAndReplaceTest : public DialogTest {
protected:
    void SetUp() override
    {
        DialogTest::SetUp();
        s1 = addState(QStringLiteral("S1"), QStringLiteral("1"), NodeStateInitial,
                      QStringLiteral("x1();"));
        s2 = addState(QStringLiteral("S2"), QStringLiteral("2"), NodeStateNormal,
                      QStringLiteral("x2(x);"));
        t = addTransition(s1, s2);
        Transitions::configureTransition(doc,
                                         TransitionRecord{QStringLiteral("1"),
                                                          QStringLiteral("x3"),
                                                          {},
                                                          QStringLiteral("N"),
                                                          QStringLiteral("N")},
                                         t);
        remark = doc.diagram().addNode(100, 4000, 800, 400);
        remark->setUserData(NodeTextBox);
        remark->setText(QStringLiteral("see x4"));
        MachineInfo::setMachineConfig(doc.diagram(), MachineConfig{MachineInfo::kSignature,
                                                                   QStringLiteral("M"),
                                                                   QStringLiteral("int x5;"),
                                                                   {},
                                                                   {},
                                                                   {},
                                                                   {},
                                                                   {},
                                                                   {},
                                                                   {},
                                                                   {}});
        doc.diagram().setChanged(false);
    }

    Node* s1 = nullptr;
    Node* s2 = nullptr;
    Node* t = nullptr;
    Node* remark = nullptr;
};

TEST_F(FindAndReplaceTest, StagesRunInOrderAndStoreTheirReplacements)
{
    ReplacingMatcher matcher;
    EXPECT_TRUE(FindAndReplace::searchDocument(doc, matcher, QStringLiteral("x"),
                                               QStringLiteral("y"), true, &asker));
    EXPECT_EQ(matcher.shown, (QStringList{QStringLiteral("FSM properties: Initialization"),
                                          QStringLiteral("State[S1]: Moore actions "),
                                          QStringLiteral("State[S2]: Moore actions "),
                                          QStringLiteral("Transition(1) from [S1]: Condition"),
                                          QStringLiteral("Label")}));
    EXPECT_EQ(machineConfig(doc.diagram()).init, QStringLiteral("int y5;"));
    EXPECT_EQ(stateRecord(s1).during, QStringLiteral("y1();"));
    EXPECT_EQ(stateRecord(s2).during, QStringLiteral("y2(y);"));
    EXPECT_EQ(transitionRecord(t).condition, QStringLiteral("y3"));
    EXPECT_EQ(remark->text(), QStringLiteral("see y4"));
    EXPECT_TRUE(doc.diagram().changed());
    EXPECT_TRUE(doc.diagram().redraw());
}

TEST_F(FindAndReplaceTest, ReadOnlyDiagramIsShownButNeverWritten)
{
    doc.diagram().setReadOnly(true);
    ReplacingMatcher matcher;
    EXPECT_TRUE(FindAndReplace::searchDocument(doc, matcher, QStringLiteral("x"),
                                               QStringLiteral("y"), true, &asker));
    EXPECT_EQ(matcher.shown.size(), 5);
    EXPECT_EQ(stateRecord(s1).during, QStringLiteral("x1();"));
    EXPECT_EQ(remark->text(), QStringLiteral("see x4"));
    EXPECT_FALSE(doc.diagram().changed());
}

TEST_F(FindAndReplaceTest, CancelInTheSecondStateStopsEverything)
{
    // The FSM text and the first state are finished with a change each; the
    // second state is cancelled after a change, which it drops.
    RecordingFind find;
    auto change = [](QDialog* d) { child<QPushButton>(d, "replaceButton")->click(); };
    onModal([change](QDialog* fsm) {
        change(fsm);
        onModal([change](QDialog* first) {
            change(first);
            onModal([change](QDialog* second) {
                change(second);
                child<QPushButton>(second, "cancelButton")->click();
            });
        });
    });
    EXPECT_FALSE(FindAndReplace::searchDocument(doc, find, QStringLiteral("x"), QStringLiteral("z"),
                                                true, &asker));
    EXPECT_EQ(find.shown, (QStringList{QStringLiteral("FSM properties: Initialization"),
                                       QStringLiteral("State[S1]: Moore actions "),
                                       QStringLiteral("State[S2]: Moore actions ")}));
    EXPECT_EQ(machineConfig(doc.diagram()).init, QStringLiteral("int z5;"));
    EXPECT_EQ(stateRecord(s1).during, QStringLiteral("z1();"));
    EXPECT_EQ(stateRecord(s2).during, QStringLiteral("x2(x);"));
    EXPECT_EQ(transitionRecord(t).condition, QStringLiteral("x3"));
    EXPECT_EQ(remark->text(), QStringLiteral("see x4"));
}

TEST_F(FindAndReplaceTest, FirstSearchProposesTheClipboardsFirstLine)
{
    QGuiApplication::clipboard()->setText(QStringLiteral("x1\r\nrest"));
    QString proposed;
    onModal([&proposed](QDialog* d) {
        proposed = child<QLineEdit>(d, "findEdit")->text();
        d->reject();
    });
    FindTexts texts;
    bool caseSensitive = false;
    FindAndReplace::runFind(doc, texts, caseSensitive);
    EXPECT_EQ(proposed, QStringLiteral("x1"));
    EXPECT_TRUE(texts.findWhat.isEmpty());  // cancelled: nothing searched
    EXPECT_FALSE(doc.diagram().changed());
}

}  // namespace
