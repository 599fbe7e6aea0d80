#include "DialogTestSupport.h"

#include "CodeEditor.h"
#include "frmPropTransicion.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

using namespace orvane;
using namespace orvane::testing;
namespace Trans = orvane::modNodoTransicion;

namespace {

class frmPropTransicionTest : public DialogTest {
protected:
    void SetUp() override
    {
        DialogTest::SetUp();
        a = AddState(QStringLiteral("A"), QStringLiteral("1"), modNodoEstado::NODE_STATE_INITIAL);
        b = AddState(QStringLiteral("B"), QStringLiteral("2"));
        c = AddState(QStringLiteral("C"), QStringLiteral("3"));
        t1 = AddTransition(a, b);
        t2 = AddTransition(a, c);
        t3 = AddTransition(a, a);
    }
    std::unique_ptr<frmPropTransicion> Open(Node* n)
    {
        doc.diagram().setCurrentNode(n);
        return std::make_unique<frmPropTransicion>(doc, nullptr, &asker);
    }
    template <class T>
    static T* Find(QWidget& dlg, const char* name)
    {
        return dlg.findChild<T*>(QLatin1String(name));
    }
    static QString Priority(const Node* t) { return Trans::GetTransitionField(Trans::kTransPriority, t); }

    Node *a = nullptr, *b = nullptr, *c = nullptr;
    Node *t1 = nullptr, *t2 = nullptr, *t3 = nullptr;
};

TEST_F(frmPropTransicionTest, IllegalPriorityIsRefusedWithAMessage)
{
    auto dlg = Open(t2);
    auto* priority = Find<QLineEdit>(*dlg, "txtPrioridad");
    for (const char* bad : {"0", "10000", "high"}) {
        asker.messages.clear();
        priority->setText(QLatin1String(bad));
        EXPECT_FALSE(dlg->ValidarPrioridad()) << bad;
        EXPECT_EQ(asker.messages, QStringList{QStringLiteral("Illegal priority, try other different")});
    }
    EXPECT_TRUE(asker.questions.isEmpty());
    EXPECT_EQ(Priority(t2), QStringLiteral("2"));
}

TEST_F(frmPropTransicionTest, MustBeLastMovesTheTransitionLastWithoutAQuestion)
{
    auto dlg = Open(t1);
    Find<QCheckBox>(*dlg, "chkMustBeLast")->click();
    EXPECT_TRUE(asker.questions.isEmpty());
    EXPECT_EQ(Find<QLineEdit>(*dlg, "txtPrioridad")->text(), QStringLiteral("3"));
    EXPECT_EQ(Priority(t1), QStringLiteral("3"));
    EXPECT_TRUE(t1->text().startsWith(QStringLiteral("{3}")));
    EXPECT_EQ(Priority(t2), QStringLiteral("1"));
    EXPECT_EQ(Priority(t3), QStringLiteral("2"));
    Find<QPushButton>(*dlg, "cmdValidar")->click();
    EXPECT_EQ(Trans::GetTransitionField(Trans::kTransLast, t1), QStringLiteral("Y"));

    // At most one must-be-last transition per state.
    auto other = Open(t2);
    EXPECT_FALSE(Find<QCheckBox>(*other, "chkMustBeLast")->isEnabled());
}

TEST_F(frmPropTransicionTest, UnchangedPriorityAsksNothing)
{
    doc.diagram().setChanged(false);
    const QString tag = t2->tag();
    auto dlg = Open(t2);
    LeaveControl(Find<QLineEdit>(*dlg, "txtPrioridad"));
    Find<QPushButton>(*dlg, "cmdValidar")->click();
    EXPECT_TRUE(asker.questions.isEmpty());
    EXPECT_EQ(t2->tag(), tag);
    EXPECT_FALSE(doc.diagram().changed());
}

TEST_F(frmPropTransicionTest, ReorganizeQuestionRenumbersOrRestores)
{
    auto dlg = Open(t3);
    auto* priority = Find<QLineEdit>(*dlg, "txtPrioridad");
    asker.answers = {false, true};
    priority->setText(QStringLiteral("1"));
    EXPECT_TRUE(dlg->ValidarPrioridad());
    EXPECT_EQ(priority->text(), QStringLiteral("3"));
    EXPECT_EQ(Priority(t1), QStringLiteral("1"));

    priority->setText(QStringLiteral("1"));
    EXPECT_TRUE(dlg->ValidarPrioridad());
    EXPECT_EQ(asker.questions.size(), 2);
    EXPECT_EQ(asker.questions.front(),
              QStringLiteral("This can reorganize all priorities of this node | The priority has changed"));
    EXPECT_EQ(Priority(t3), QStringLiteral("1"));
    EXPECT_EQ(Priority(t1), QStringLiteral("2"));
    EXPECT_EQ(Priority(t2), QStringLiteral("3"));
}

TEST_F(frmPropTransicionTest, SelfTransitionBoxOnlyForALoop)
{
    auto between = Open(t1);
    EXPECT_TRUE(Find<QCheckBox>(*between, "chkSelfTransition")->isHidden());
    auto loop = Open(t3);
    auto* self = Find<QCheckBox>(*loop, "chkSelfTransition");
    EXPECT_FALSE(self->isHidden());
    EXPECT_TRUE(self->isChecked());
    self->setChecked(false);
    Find<CodeEditor>(*loop, "txtCondicion")->SetText(QStringLiteral("tick"));
    Find<QPushButton>(*loop, "cmdValidar")->click();
    EXPECT_EQ(Trans::GetTransitionField(Trans::kTransSelf, t3), QStringLiteral("N"));
    EXPECT_EQ(Trans::GetTransitionField(Trans::kTransCondition, t3), QStringLiteral("tick"));
}

TEST_F(frmPropTransicionTest, CancelDropsEditsOfTheTexts)
{
    const QString tag = t1->tag();
    auto dlg = Open(t1);
    Find<CodeEditor>(*dlg, "txtAccion")->SetText(QStringLiteral("go();"));
    Find<QPushButton>(*dlg, "cmdCancelar")->click();
    EXPECT_EQ(dlg->result(), QDialog::Rejected);
    EXPECT_EQ(t1->tag(), tag);
}

}  // namespace
