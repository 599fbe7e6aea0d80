#include "DialogTestSupport.h"

#include "CodeEditor.h"
#include "StateDialog.h"
#include "Texts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace orvane;
using namespace orvane::testing;
namespace States = orvane::States;

namespace {

class StateDialogTest : public DialogTest {
protected:
    void SetUp() override
    {
        DialogTest::SetUp();
        s1 = addState(QStringLiteral("Idle"), QStringLiteral("1"), NodeStateInitial);
        s2 = addState(QStringLiteral("Run"), QStringLiteral("2"));
        s3 = addState(QStringLiteral("Stop"), QStringLiteral("3"));
    }
    std::unique_ptr<StateDialog> open(Node* n)
    {
        doc.diagram().setCurrentNode(n);
        return std::make_unique<StateDialog>(doc, nullptr, &asker);
    }
    template <class T> static T* find(QWidget& dlg, const char* name)
    {
        return dlg.findChild<T*>(QLatin1String(name));
    }
    static QString indexText(const Node* n) { return stateRecord(n).index; }

    Node* s1 = nullptr;
    Node* s2 = nullptr;
    Node* s3 = nullptr;
};

TEST_F(StateDialogTest, IllegalIndexEmptiesTheFieldWithAMessage)
{
    auto dlg = open(s2);
    auto* index = find<QLineEdit>(*dlg, "indexEdit");
    for (const char* bad : {"0", "10000", "abc", "-3"}) {
        asker.messages.clear();
        index->setText(QLatin1String(bad));
        EXPECT_FALSE(dlg->validateIndex()) << bad;
        EXPECT_TRUE(index->text().isEmpty()) << bad;
        EXPECT_EQ(asker.messages,
                  QStringList{QStringLiteral("Illegal index, try other different")});
    }
    EXPECT_TRUE(asker.questions.isEmpty());
    EXPECT_EQ(indexText(s2), QStringLiteral("2"));
}

TEST_F(StateDialogTest, AcceptedIndexChangeRenumbersAtOnceEvenIfCancelledLater)
{
    auto dlg = open(s3);
    auto* index = find<QLineEdit>(*dlg, "indexEdit");
    index->setText(QStringLiteral("01"));
    leaveControl(index);
    ASSERT_EQ(asker.questions,
              QStringList{QStringLiteral(
                  "This can reorganize all index of this diagram | The index has changed")});
    EXPECT_EQ(index->text(), QStringLiteral("1"));
    dlg->reject();
    EXPECT_EQ(indexText(s3), QStringLiteral("1"));
    EXPECT_EQ(indexText(s1), QStringLiteral("2"));
    EXPECT_EQ(indexText(s2), QStringLiteral("3"));
}

TEST_F(StateDialogTest, TypedIndexIsCheckedWhenOkIsClicked)
{
    auto dlg = open(s2);
    dlg->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(dlg.get()));
    auto* index = find<QLineEdit>(*dlg, "indexEdit");
    index->setFocus();
    index->selectAll();
    QTest::keyClicks(index, QStringLiteral("0"));
    QTest::mouseClick(find<QPushButton>(*dlg, "okButton"), Qt::LeftButton);
    EXPECT_TRUE(dlg->isVisible());
    EXPECT_FALSE(asker.messages.isEmpty());
    EXPECT_EQ(asker.messages.front(), QStringLiteral("Illegal index, try other different"));

    index->setFocus();
    QTest::keyClicks(index, QStringLiteral("4"));
    QTest::mouseClick(find<QPushButton>(*dlg, "okButton"), Qt::LeftButton);
    EXPECT_EQ(asker.questions.size(), 1);
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_EQ(indexText(s2), QStringLiteral("3"));
    EXPECT_EQ(indexText(s3), QStringLiteral("2"));
}

TEST_F(StateDialogTest, CancelledIndexQuestionPutsTheLoadedIndexBack)
{
    const QString before = s3->tag();
    auto dlg = open(s3);
    auto* index = find<QLineEdit>(*dlg, "indexEdit");
    asker.answers = {false};
    index->setText(QStringLiteral("1"));
    EXPECT_TRUE(dlg->validateIndex());
    EXPECT_EQ(index->text(), QStringLiteral("3"));
    EXPECT_EQ(s3->tag(), before);
    EXPECT_EQ(indexText(s1), QStringLiteral("1"));
}

TEST_F(StateDialogTest, IndexChangeIsRefusedWhileTheNameIsTaken)
{
    auto dlg = open(s3);
    find<QLineEdit>(*dlg, "nameEdit")->setText(QStringLiteral("run"));
    auto* index = find<QLineEdit>(*dlg, "indexEdit");
    index->setText(QStringLiteral("1"));
    EXPECT_FALSE(dlg->validateIndex());
    EXPECT_EQ(index->text(), QStringLiteral("3"));
    EXPECT_EQ(stateRecord(s3).name, QStringLiteral("Stop"));
    EXPECT_EQ(indexText(s1), QStringLiteral("1"));
}

TEST_F(StateDialogTest, BlanksInTheNameBecomeUnderscoresOnLeaving)
{
    auto dlg = open(s2);
    auto* name = find<QLineEdit>(*dlg, "nameEdit");
    name->setText(QStringLiteral("  a b "));
    leaveControl(name);
    EXPECT_EQ(name->text(), QStringLiteral("a_b"));
}

TEST_F(StateDialogTest, NameUsedByAnotherStateKeepsTheDialogOpen)
{
    auto dlg = open(s2);
    dlg->show();
    find<QLineEdit>(*dlg, "nameEdit")->setText(QStringLiteral("IDLE"));
    find<QPushButton>(*dlg, "okButton")->click();
    EXPECT_TRUE(dlg->isVisible());
    EXPECT_EQ(asker.messages, QStringList{QStringLiteral("The name: IDLE is already used")});
    EXPECT_EQ(stateRecord(s2).name, QStringLiteral("Run"));
}

TEST_F(StateDialogTest, OkWithoutChangeLeavesTheNodeUntouched)
{
    doc.diagram().setChanged(false);
    const QString tag = s2->tag(), text = s2->text();
    auto dlg = open(s2);
    find<QPushButton>(*dlg, "okButton")->click();
    EXPECT_EQ(dlg->result(), QDialog::Accepted);
    EXPECT_EQ(s2->tag(), tag);
    EXPECT_EQ(s2->text(), text);
    EXPECT_FALSE(doc.diagram().changed());
}

TEST_F(StateDialogTest, OkStoresEveryFieldAndTidiesTheActions)
{
    auto dlg = open(s2);
    auto* during = find<CodeEditor>(*dlg, "duringEdit");
    during->setCode(QStringLiteral("  x = 1;\ty = 2;  "));
    leaveControl(during);
    EXPECT_EQ(during->code(), QStringLiteral("x = 1;  y = 2;"));
    find<CodeEditor>(*dlg, "entryEdit")->setCode(QStringLiteral("init();"));
    find<QCheckBox>(*dlg, "gotoFunctionBox")->setChecked(true);
    find<QRadioButton>(*dlg, "finalButton")->setChecked(true);
    find<QPushButton>(*dlg, "okButton")->click();
    EXPECT_EQ(stateRecord(s2),
              (StateRecord{"Run", "x = 1;  y = 2;", "2", "init();", "", "N", "Y", ""}));
    EXPECT_EQ(s2->userData(), NodeStateFinal);
}

TEST_F(StateDialogTest, CallingAnExistingChildMakesASuperStateAndOpensIt)
{
    doc.filePath = dir.filePath(QStringLiteral("Top.fsm"));
    QFile child(dir.filePath(QStringLiteral("CHILD.fsm")));
    ASSERT_TRUE(child.open(QIODevice::WriteOnly));
    child.close();
    auto dlg = open(s2);
    auto* during = find<CodeEditor>(*dlg, "duringEdit");
    during->setCode(QStringLiteral("x = 1;\r\nCHILD();"));
    leaveControl(during);
    auto* list = find<QComboBox>(*dlg, "childList");
    ASSERT_EQ(list->count(), 1);
    EXPECT_EQ(list->currentText(), QStringLiteral("CHILD.fsm"));
    find<QPushButton>(*dlg, "openChildButton")->click();
    EXPECT_EQ(dlg->result(), QDialog::Accepted);
    EXPECT_EQ(dlg->pendingDocument(), dir.filePath(QStringLiteral("CHILD.fsm")));
    EXPECT_EQ(s2->userData(), NodeStateSuper);

    // Without the call the state is ordinary again on the next change.
    auto again = open(s2);
    find<CodeEditor>(*again, "duringEdit")->setCode(QStringLiteral("x = 1;"));
    find<QPushButton>(*again, "okButton")->click();
    EXPECT_EQ(s2->userData(), NodeStateNormal);
}

TEST_F(StateDialogTest, LockedDiagramShowsEverythingReadOnly)
{
    addTransition(s1, s2);
    doc.diagram().setReadOnly(true);
    auto dlg = open(s1);
    EXPECT_FALSE(find<QPushButton>(*dlg, "okButton")->isEnabled());
    EXPECT_TRUE(find<QLineEdit>(*dlg, "indexEdit")->isReadOnly());
    for (const char* name : {"entryEdit", "duringEdit", "exitEdit", "elseEdit"}) {
        auto* e = find<CodeEditor>(*dlg, name);
        EXPECT_TRUE(e->isLocked()) << name;
        EXPECT_EQ(e->colourItem(CodeEditor::ClrWindow), 0xF0FFFF) << name;
    }
    EXPECT_FALSE(find<QRadioButton>(*dlg, "normalButton")->isEnabled());
}

TEST_F(StateDialogTest, ExitActionIsReadOnlyWithoutOutgoingTransitions)
{
    addTransition(s1, s2);
    auto withExit = open(s1);
    EXPECT_FALSE(find<CodeEditor>(*withExit, "exitEdit")->isLocked());
    auto withoutExit = open(s2);
    EXPECT_TRUE(find<CodeEditor>(*withoutExit, "exitEdit")->isLocked());
    EXPECT_FALSE(find<CodeEditor>(*withoutExit, "duringEdit")->isLocked());
}

// Replaces every "x" by "y" and stops at the caption given.
class ScriptedMatcher : public FindMatcher {
public:
    bool showMatch(const QString& caption, QString& text, const QString& findWhat,
                   const QString& replaceWith, bool, bool) override
    {
        captions << caption;
        if (caption.contains(stopAt))
            return false;
        text.replace(findWhat, replaceWith);
        return true;
    }
    QString stopAt = QStringLiteral("never");
    QStringList captions;
};

TEST_F(StateDialogTest, SearchStoresReplacementsUpToTheCancelledField)
{
    QString name = QStringLiteral("Run");
    States::configureState(doc,
                           StateRecord{name, QStringLiteral("x++;"), QStringLiteral("2"),
                                       QStringLiteral("x = 0;"), QString(), QStringLiteral("N"),
                                       QStringLiteral("N"), QString()},
                           NodeStateNormal, s2, silent);
    doc.diagram().setCurrentNode(s2);
    ScriptedMatcher m;
    m.stopAt = QStringLiteral("Moore");
    EXPECT_FALSE(
        StateDialog::search(doc, m, QStringLiteral("x"), QStringLiteral("y"), false, &asker));
    EXPECT_EQ(m.captions, (QStringList{"State: Name", "State[Run]: Input actions ",
                                       "State[Run]: Moore actions "}));
    EXPECT_EQ(stateRecord(s2).entry, QStringLiteral("y = 0;"));
    EXPECT_EQ(stateRecord(s2).during, QStringLiteral("x++;"));
}

TEST_F(StateDialogTest, SearchNeverWritesIntoALockedDiagram)
{
    doc.diagram().setReadOnly(true);
    const QString before = s2->tag();
    doc.diagram().setCurrentNode(s2);
    ScriptedMatcher m;
    EXPECT_TRUE(
        StateDialog::search(doc, m, QStringLiteral("R"), QStringLiteral("W"), true, &asker));
    EXPECT_EQ(m.captions.size(), 5);
    EXPECT_EQ(s2->tag(), before);
}

}  // namespace
