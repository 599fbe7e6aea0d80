#include "DialogTestSupport.h"

#include "CodeEditor.h"
#include "frmPropNodo.h"
#include "modStrings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace orvane;
using namespace orvane::testing;
namespace Estado = orvane::modNodoEstado;

namespace {

class frmPropNodoTest : public DialogTest {
protected:
    void SetUp() override
    {
        DialogTest::SetUp();
        s1 = AddState(QStringLiteral("Idle"), QStringLiteral("1"), Estado::NODE_STATE_INITIAL);
        s2 = AddState(QStringLiteral("Run"), QStringLiteral("2"));
        s3 = AddState(QStringLiteral("Stop"), QStringLiteral("3"));
    }
    std::unique_ptr<frmPropNodo> Open(Node* n)
    {
        doc.diagram().setCurrentNode(n);
        return std::make_unique<frmPropNodo>(doc, nullptr, &asker);
    }
    template <class T>
    static T* Find(QWidget& dlg, const char* name)
    {
        return dlg.findChild<T*>(QLatin1String(name));
    }
    static QString Index(const Node* n) { return Estado::GetStateField(Estado::kStateIndex, n); }

    Node* s1 = nullptr;
    Node* s2 = nullptr;
    Node* s3 = nullptr;
};

TEST_F(frmPropNodoTest, IllegalIndexEmptiesTheFieldWithAMessage)
{
    auto dlg = Open(s2);
    auto* index = Find<QLineEdit>(*dlg, "txtIndice");
    for (const char* bad : {"0", "10000", "abc", "-3"}) {
        asker.messages.clear();
        index->setText(QLatin1String(bad));
        EXPECT_FALSE(dlg->ValidarIndice()) << bad;
        EXPECT_TRUE(index->text().isEmpty()) << bad;
        EXPECT_EQ(asker.messages, QStringList{QStringLiteral("Illegal index, try other different")});
    }
    EXPECT_TRUE(asker.questions.isEmpty());
    EXPECT_EQ(Index(s2), QStringLiteral("2"));
}

TEST_F(frmPropNodoTest, AcceptedIndexChangeRenumbersAtOnceEvenIfCancelledLater)
{
    auto dlg = Open(s3);
    auto* index = Find<QLineEdit>(*dlg, "txtIndice");
    index->setText(QStringLiteral("01"));
    LeaveControl(index);
    ASSERT_EQ(asker.questions,
              QStringList{QStringLiteral("This can reorganize all index of this diagram | The index has changed")});
    EXPECT_EQ(index->text(), QStringLiteral("1"));
    dlg->reject();
    EXPECT_EQ(Index(s3), QStringLiteral("1"));
    EXPECT_EQ(Index(s1), QStringLiteral("2"));
    EXPECT_EQ(Index(s2), QStringLiteral("3"));
}

TEST_F(frmPropNodoTest, TypedIndexIsCheckedWhenOkIsClicked)
{
    auto dlg = Open(s2);
    dlg->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(dlg.get()));
    auto* index = Find<QLineEdit>(*dlg, "txtIndice");
    index->setFocus();
    index->selectAll();
    QTest::keyClicks(index, QStringLiteral("0"));
    QTest::mouseClick(Find<QPushButton>(*dlg, "cmdValidar"), Qt::LeftButton);
    EXPECT_TRUE(dlg->isVisible());
    EXPECT_FALSE(asker.messages.isEmpty());
    EXPECT_EQ(asker.messages.front(), QStringLiteral("Illegal index, try other different"));

    index->setFocus();
    QTest::keyClicks(index, QStringLiteral("4"));
    QTest::mouseClick(Find<QPushButton>(*dlg, "cmdValidar"), Qt::LeftButton);
    EXPECT_EQ(asker.questions.size(), 1);
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_EQ(Index(s2), QStringLiteral("3"));
    EXPECT_EQ(Index(s3), QStringLiteral("2"));
}

TEST_F(frmPropNodoTest, CancelledIndexQuestionPutsTheLoadedIndexBack)
{
    const QString before = s3->tag();
    auto dlg = Open(s3);
    auto* index = Find<QLineEdit>(*dlg, "txtIndice");
    asker.answers = {false};
    index->setText(QStringLiteral("1"));
    EXPECT_TRUE(dlg->ValidarIndice());
    EXPECT_EQ(index->text(), QStringLiteral("3"));
    EXPECT_EQ(s3->tag(), before);
    EXPECT_EQ(Index(s1), QStringLiteral("1"));
}

TEST_F(frmPropNodoTest, IndexChangeIsRefusedWhileTheNameIsTaken)
{
    auto dlg = Open(s3);
    Find<QLineEdit>(*dlg, "txtNombre")->setText(QStringLiteral("run"));
    auto* index = Find<QLineEdit>(*dlg, "txtIndice");
    index->setText(QStringLiteral("1"));
    EXPECT_FALSE(dlg->ValidarIndice());
    EXPECT_EQ(index->text(), QStringLiteral("3"));
    EXPECT_EQ(Estado::GetStateField(Estado::kStateName, s3), QStringLiteral("Stop"));
    EXPECT_EQ(Index(s1), QStringLiteral("1"));
}

TEST_F(frmPropNodoTest, BlanksInTheNameBecomeUnderscoresOnLeaving)
{
    auto dlg = Open(s2);
    auto* name = Find<QLineEdit>(*dlg, "txtNombre");
    name->setText(QStringLiteral("  a b "));
    LeaveControl(name);
    EXPECT_EQ(name->text(), QStringLiteral("a_b"));
}

TEST_F(frmPropNodoTest, NameUsedByAnotherStateKeepsTheDialogOpen)
{
    auto dlg = Open(s2);
    dlg->show();
    Find<QLineEdit>(*dlg, "txtNombre")->setText(QStringLiteral("IDLE"));
    Find<QPushButton>(*dlg, "cmdValidar")->click();
    EXPECT_TRUE(dlg->isVisible());
    EXPECT_EQ(asker.messages, QStringList{QStringLiteral("The name: IDLE is already used")});
    EXPECT_EQ(Estado::GetStateField(Estado::kStateName, s2), QStringLiteral("Run"));
}

TEST_F(frmPropNodoTest, OkWithoutChangeLeavesTheNodeUntouched)
{
    doc.diagram().setChanged(false);
    const QString tag = s2->tag(), text = s2->text();
    auto dlg = Open(s2);
    Find<QPushButton>(*dlg, "cmdValidar")->click();
    EXPECT_EQ(dlg->result(), QDialog::Accepted);
    EXPECT_EQ(s2->tag(), tag);
    EXPECT_EQ(s2->text(), text);
    EXPECT_FALSE(doc.diagram().changed());
}

TEST_F(frmPropNodoTest, OkStoresEveryFieldAndTidiesTheActions)
{
    auto dlg = Open(s2);
    auto* during = Find<CodeEditor>(*dlg, "txtAccionMoore");
    during->SetText(QStringLiteral("  x = 1;\ty = 2;  "));
    LeaveControl(during);
    EXPECT_EQ(during->Text(), QStringLiteral("x = 1;  y = 2;"));
    Find<CodeEditor>(*dlg, "txtAccionInput")->SetText(QStringLiteral("init();"));
    Find<QCheckBox>(*dlg, "chkGenFunctionGoto")->setChecked(true);
    Find<QRadioButton>(*dlg, "optNodoFinal")->setChecked(true);
    Find<QPushButton>(*dlg, "cmdValidar")->click();
    const QStringList f = modStrings::SplitFields(s2->tag(), Estado::kStateFieldCount);
    EXPECT_EQ(f, (QStringList{"Run", "x = 1;  y = 2;", "2", "init();", "", "N", "Y", ""}));
    EXPECT_EQ(s2->userData(), Estado::NODE_STATE_FINAL);
}

TEST_F(frmPropNodoTest, CallingAnExistingChildMakesASuperStateAndOpensIt)
{
    doc.sFullDocname = dir.filePath(QStringLiteral("Top.fsm"));
    QFile child(dir.filePath(QStringLiteral("CHILD.fsm")));
    ASSERT_TRUE(child.open(QIODevice::WriteOnly));
    child.close();
    auto dlg = Open(s2);
    auto* during = Find<CodeEditor>(*dlg, "txtAccionMoore");
    during->SetText(QStringLiteral("x = 1;\r\nCHILD();"));
    LeaveControl(during);
    auto* list = Find<QComboBox>(*dlg, "cmbEnlaces");
    ASSERT_EQ(list->count(), 1);
    EXPECT_EQ(list->currentText(), QStringLiteral("CHILD.fsm"));
    Find<QPushButton>(*dlg, "cmdEnlace")->click();
    EXPECT_EQ(dlg->result(), QDialog::Accepted);
    EXPECT_EQ(dlg->pendingDocument(), dir.filePath(QStringLiteral("CHILD.fsm")));
    EXPECT_EQ(s2->userData(), Estado::NODE_STATE_SUPER);

    // Without the call the state is ordinary again on the next change.
    auto again = Open(s2);
    Find<CodeEditor>(*again, "txtAccionMoore")->SetText(QStringLiteral("x = 1;"));
    Find<QPushButton>(*again, "cmdValidar")->click();
    EXPECT_EQ(s2->userData(), Estado::NODE_STATE_NORMAL);
}

TEST_F(frmPropNodoTest, LockedDiagramShowsEverythingReadOnly)
{
    AddTransition(s1, s2);
    doc.diagram().setReadOnly(true);
    auto dlg = Open(s1);
    EXPECT_FALSE(Find<QPushButton>(*dlg, "cmdValidar")->isEnabled());
    EXPECT_TRUE(Find<QLineEdit>(*dlg, "txtIndice")->isReadOnly());
    for (const char* name : {"txtAccionInput", "txtAccionMoore", "txtAccionOutput", "txtAccionElse"}) {
        auto* e = Find<CodeEditor>(*dlg, name);
        EXPECT_TRUE(e->ReadOnly()) << name;
        EXPECT_EQ(e->GetColor(CodeEditor::ClrWindow), 0xF0FFFF) << name;
    }
    EXPECT_FALSE(Find<QRadioButton>(*dlg, "optNodoNormal")->isEnabled());
}

TEST_F(frmPropNodoTest, ExitActionIsReadOnlyWithoutOutgoingTransitions)
{
    AddTransition(s1, s2);
    auto withExit = Open(s1);
    EXPECT_FALSE(Find<CodeEditor>(*withExit, "txtAccionOutput")->ReadOnly());
    auto withoutExit = Open(s2);
    EXPECT_TRUE(Find<CodeEditor>(*withoutExit, "txtAccionOutput")->ReadOnly());
    EXPECT_FALSE(Find<CodeEditor>(*withoutExit, "txtAccionMoore")->ReadOnly());
}

// Replaces every "x" by "y" and stops at the caption given.
class ScriptedMatcher : public FindMatcher {
public:
    bool busqueda(const QString& caption, QString& text, const QString& findWhat,
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

TEST_F(frmPropNodoTest, BuscarStoresReplacementsUpToTheCancelledField)
{
    QString name = QStringLiteral("Run");
    Estado::Configura_Nodo_Estado(doc, name, QStringLiteral("x++;"), QStringLiteral("x = 0;"),
                                  QString(), QString(), QStringLiteral("2"),
                                  Estado::NODE_STATE_NORMAL, QStringLiteral("N"),
                                  QStringLiteral("N"), s2, silent);
    doc.diagram().setCurrentNode(s2);
    ScriptedMatcher m;
    m.stopAt = QStringLiteral("Moore");
    EXPECT_FALSE(frmPropNodo::Buscar(doc, m, QStringLiteral("x"), QStringLiteral("y"), false, &asker));
    EXPECT_EQ(m.captions, (QStringList{"State: Name", "State[Run]: Input actions ",
                                       "State[Run]: Moore actions "}));
    EXPECT_EQ(Estado::GetStateField(Estado::kStateEntry, s2), QStringLiteral("y = 0;"));
    EXPECT_EQ(Estado::GetStateField(Estado::kStateDuring, s2), QStringLiteral("x++;"));
}

TEST_F(frmPropNodoTest, BuscarNeverWritesIntoALockedDiagram)
{
    doc.diagram().setReadOnly(true);
    const QString before = s2->tag();
    doc.diagram().setCurrentNode(s2);
    ScriptedMatcher m;
    EXPECT_TRUE(frmPropNodo::Buscar(doc, m, QStringLiteral("R"), QStringLiteral("W"), true, &asker));
    EXPECT_EQ(m.captions.size(), 5);
    EXPECT_EQ(s2->tag(), before);
}

}  // namespace
