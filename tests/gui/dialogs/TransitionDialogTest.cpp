#include "DialogTestSupport.h"

#include "CodeEditor.h"
#include "TransitionDialog.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

using namespace orvane;
using namespace orvane::testing;
namespace Transitions = orvane::Transitions;

namespace {

class TransitionDialogTest : public DialogTest {
protected:
    void SetUp() override
    {
        DialogTest::SetUp();
        a = addState(QStringLiteral("A"), QStringLiteral("1"), NodeStateInitial);
        b = addState(QStringLiteral("B"), QStringLiteral("2"));
        c = addState(QStringLiteral("C"), QStringLiteral("3"));
        t1 = addTransition(a, b);
        t2 = addTransition(a, c);
        t3 = addTransition(a, a);
    }
    std::unique_ptr<TransitionDialog> open(Node* n)
    {
        doc.diagram().setCurrentNode(n);
        return std::make_unique<TransitionDialog>(doc, nullptr, &asker);
    }
    template <class T> static T* find(QWidget& dlg, const char* name)
    {
        return dlg.findChild<T*>(QLatin1String(name));
    }
    static QString priorityText(const Node* t) { return transitionRecord(t).priority; }

    Node *a = nullptr, *b = nullptr, *c = nullptr;
    Node *t1 = nullptr, *t2 = nullptr, *t3 = nullptr;
};

TEST_F(TransitionDialogTest, IllegalPriorityIsRefusedWithAMessage)
{
    auto dlg = open(t2);
    auto* priority = find<QLineEdit>(*dlg, "priorityEdit");
    for (const char* bad : {"0", "10000", "high"}) {
        asker.messages.clear();
        priority->setText(QLatin1String(bad));
        EXPECT_FALSE(dlg->validatePriority()) << bad;
        EXPECT_EQ(asker.messages,
                  QStringList{QStringLiteral("Illegal priority, try other different")});
    }
    EXPECT_TRUE(asker.questions.isEmpty());
    EXPECT_EQ(priorityText(t2), QStringLiteral("2"));
}

TEST_F(TransitionDialogTest, MustBeLastMovesTheTransitionLastWithoutAQuestion)
{
    auto dlg = open(t1);
    find<QCheckBox>(*dlg, "mustBeLastBox")->click();
    EXPECT_TRUE(asker.questions.isEmpty());
    EXPECT_EQ(find<QLineEdit>(*dlg, "priorityEdit")->text(), QStringLiteral("3"));
    EXPECT_EQ(priorityText(t1), QStringLiteral("3"));
    EXPECT_TRUE(t1->text().startsWith(QStringLiteral("{3}")));
    EXPECT_EQ(priorityText(t2), QStringLiteral("1"));
    EXPECT_EQ(priorityText(t3), QStringLiteral("2"));
    find<QPushButton>(*dlg, "okButton")->click();
    EXPECT_EQ(transitionRecord(t1).lastFlag, QStringLiteral("Y"));

    // At most one must-be-last transition per state.
    auto other = open(t2);
    EXPECT_FALSE(find<QCheckBox>(*other, "mustBeLastBox")->isEnabled());
}

TEST_F(TransitionDialogTest, UnchangedPriorityAsksNothing)
{
    doc.diagram().setChanged(false);
    const QString tag = t2->tag();
    auto dlg = open(t2);
    leaveControl(find<QLineEdit>(*dlg, "priorityEdit"));
    find<QPushButton>(*dlg, "okButton")->click();
    EXPECT_TRUE(asker.questions.isEmpty());
    EXPECT_EQ(t2->tag(), tag);
    EXPECT_FALSE(doc.diagram().changed());
}

TEST_F(TransitionDialogTest, ReorganizeQuestionRenumbersOrRestores)
{
    auto dlg = open(t3);
    auto* priority = find<QLineEdit>(*dlg, "priorityEdit");
    asker.answers = {false, true};
    priority->setText(QStringLiteral("1"));
    EXPECT_TRUE(dlg->validatePriority());
    EXPECT_EQ(priority->text(), QStringLiteral("3"));
    EXPECT_EQ(priorityText(t1), QStringLiteral("1"));

    priority->setText(QStringLiteral("1"));
    EXPECT_TRUE(dlg->validatePriority());
    EXPECT_EQ(asker.questions.size(), 2);
    EXPECT_EQ(asker.questions.front(),
              QStringLiteral(
                  "This can reorganize all priorities of this node | The priority has changed"));
    EXPECT_EQ(priorityText(t3), QStringLiteral("1"));
    EXPECT_EQ(priorityText(t1), QStringLiteral("2"));
    EXPECT_EQ(priorityText(t2), QStringLiteral("3"));
}

TEST_F(TransitionDialogTest, SelfTransitionBoxOnlyForALoop)
{
    auto between = open(t1);
    EXPECT_TRUE(find<QCheckBox>(*between, "selfTransitionBox")->isHidden());
    auto loop = open(t3);
    auto* self = find<QCheckBox>(*loop, "selfTransitionBox");
    EXPECT_FALSE(self->isHidden());
    EXPECT_TRUE(self->isChecked());
    self->setChecked(false);
    find<CodeEditor>(*loop, "conditionEdit")->setCode(QStringLiteral("tick"));
    find<QPushButton>(*loop, "okButton")->click();
    EXPECT_EQ(transitionRecord(t3).selfFlag, QStringLiteral("N"));
    EXPECT_EQ(transitionRecord(t3).condition, QStringLiteral("tick"));
}

TEST_F(TransitionDialogTest, CancelDropsEditsOfTheTexts)
{
    const QString tag = t1->tag();
    auto dlg = open(t1);
    find<CodeEditor>(*dlg, "actionEdit")->setCode(QStringLiteral("go();"));
    find<QPushButton>(*dlg, "cancelButton")->click();
    EXPECT_EQ(dlg->result(), QDialog::Rejected);
    EXPECT_EQ(t1->tag(), tag);
}

}  // namespace
