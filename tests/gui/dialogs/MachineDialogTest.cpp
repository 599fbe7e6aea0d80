#include "DialogTestSupport.h"

#include "CodeEditor.h"
#include "frmPropFSM.h"
#include "modGrafoInfo.h"

#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTest>

using namespace orvane;
using namespace orvane::testing;
namespace Grafo = orvane::modGrafoInfo;

namespace {

class frmPropFSMTest : public DialogTest {
protected:
    void SetUp() override
    {
        DialogTest::SetUp();
        initial = AddState(QStringLiteral("Idle"), QStringLiteral("1"),
                           modNodoEstado::NODE_STATE_INITIAL);
        Grafo::SetGraphInfo(doc.diagram(), QStringLiteral("Lamp"), QStringLiteral("int ev"),
                            QStringLiteral("int x;"), QStringLiteral("x++;"), QString(),
                            QStringLiteral("x--;"), QStringLiteral("void f(void){}"),
                            Grafo::kSignature, QStringLiteral("&Switch Case...;AS_Y;"),
                            QStringLiteral("/* module */"), QStringLiteral("/* function */"));
        doc.diagram().setChanged(false);
    }
    std::unique_ptr<frmPropFSM> Open() { return std::make_unique<frmPropFSM>(doc, nullptr, &asker); }
    template <class T>
    static T* Find(QWidget& dlg, const char* name)
    {
        return dlg.findChild<T*>(QLatin1String(name));
    }
    QString Field(int k) const { return Grafo::GetGraphField(k, doc.diagram()); }

    Node* initial = nullptr;
};

// Replaces every findWhat by replaceWith and stops at the caption given.
class ScriptedMatcher : public FindMatcher {
public:
    bool busqueda(const QString& caption, QString& text, const QString& findWhat,
                  const QString& replaceWith, bool, bool) override
    {
        captions << caption;
        text.replace(findWhat, replaceWith);
        return !caption.contains(stopAt);
    }
    QString stopAt = QStringLiteral("never");
    QStringList captions;
};

TEST_F(frmPropFSMTest, OkWithoutChangeLeavesTheDocumentUnchanged)
{
    const QString record = doc.diagram().tag();
    const bool history = doc.bHistoryFsm;
    auto dlg = Open();
    Find<QPushButton>(*dlg, "cmdValidar")->click();
    EXPECT_EQ(dlg->result(), QDialog::Accepted);
    EXPECT_EQ(doc.diagram().tag(), record);
    EXPECT_EQ(doc.bHistoryFsm, history);
    EXPECT_FALSE(doc.diagram().changed());
}

TEST_F(frmPropFSMTest, EditingOnlyTheNameChangesNothing)
{
    const QString record = doc.diagram().tag();
    auto dlg = Open();
    Find<QLineEdit>(*dlg, "txtNombreFSM")->setText(QStringLiteral("Other"));
    Find<QPushButton>(*dlg, "cmdValidar")->click();
    EXPECT_EQ(doc.diagram().tag(), record);
    EXPECT_FALSE(doc.diagram().changed());
}

TEST_F(frmPropFSMTest, ChangesReachTheRecordTheFlagsAndTheHistoryMark)
{
    doc.bHistoryFsm = false;
    auto dlg = Open();
    Find<QLineEdit>(*dlg, "txtNombreFSM")->setText(QStringLiteral("  Lamp2 "));
    Find<CodeEditor>(*dlg, "txtAfterAction")->SetText(QStringLiteral("done();"));
    Find<QCheckBox>(*dlg, "chkHistoryFsm")->setChecked(true);
    Find<QCheckBox>(*dlg, "chkAnsiComment")->setChecked(true);
    Find<QPushButton>(*dlg, "cmdValidar")->click();
    EXPECT_EQ(Field(Grafo::kGraphName), QStringLiteral("Lamp2"));
    EXPECT_EQ(Field(Grafo::kGraphAfter), QStringLiteral("done();"));
    EXPECT_EQ(Field(Grafo::kGraphOptions), QStringLiteral("&Switch Case...;AS_Y;"));
    EXPECT_EQ(Field(Grafo::kGraphInit), QStringLiteral("int x;"));
    EXPECT_TRUE(doc.bHistoryFsm);
    EXPECT_TRUE(doc.bAnsiComment);
    EXPECT_TRUE(doc.diagram().changed());
    EXPECT_TRUE(initial->text().startsWith(QStringLiteral("<History>\r\n")));
}

TEST_F(frmPropFSMTest, HeaderSwitchingKeepsBothTexts)
{
    auto dlg = Open();
    auto* button = Find<QPushButton>(*dlg, "cmdSelectComments");
    auto* header = Find<CodeEditor>(*dlg, "txtHeader");
    EXPECT_EQ(button->text(), QStringLiteral("This is the module header"));
    EXPECT_EQ(header->Text(), QStringLiteral("/* module */"));
    header->SetText(QStringLiteral("/* module 2 */"));
    LeaveControl(header);
    button->click();
    EXPECT_EQ(button->text(), QStringLiteral("This is the function header"));
    EXPECT_EQ(header->Text(), QStringLiteral("/* function */"));
    header->SetText(QStringLiteral("/* function 2 */"));
    button->click();
    EXPECT_EQ(header->Text(), QStringLiteral("/* module 2 */"));
    button->click();
    EXPECT_EQ(header->Text(), QStringLiteral("/* function 2 */"));
    Find<QPushButton>(*dlg, "cmdValidar")->click();
    EXPECT_EQ(Field(Grafo::kGraphModuleHeader), QStringLiteral("/* module 2 */"));
    EXPECT_EQ(Field(Grafo::kGraphFunctionHeader), QStringLiteral("/* function 2 */"));
}

TEST_F(frmPropFSMTest, TabsBecomeBlanksWhenLeavingAnEditor)
{
    auto dlg = Open();
    auto* init = Find<CodeEditor>(*dlg, "txtInicializacion");
    init->SetText(QStringLiteral("ab\tc\r\nx\ty\r\n\tz "));
    LeaveControl(init);
    EXPECT_EQ(init->Text(), QStringLiteral("ab  c\r\nx   y\r\n    z "));
}

TEST_F(frmPropFSMTest, EscInAnEditorCancelsTheDialog)
{
    auto dlg = Open();
    dlg->show();
    auto* init = Find<CodeEditor>(*dlg, "txtInicializacion");
    init->SetText(QStringLiteral("changed"));
    QTest::keyClick(init, Qt::Key_Escape);
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_EQ(dlg->result(), QDialog::Rejected);
    EXPECT_EQ(Field(Grafo::kGraphInit), QStringLiteral("int x;"));
}

TEST_F(frmPropFSMTest, F2OpensTheRepositoryAndTheEditorKeepsItsTextMeanwhile)
{
    QStringList opened;
    SetRepositoryHandler([&opened](CodeEditor& editor, FsmDocument&) {
        opened << editor.objectName();
        LeaveControl(&editor);  // the word picker takes the focus
        editor.SetSelText(QStringLiteral("word"));
    });
    auto dlg = Open();
    auto* init = Find<CodeEditor>(*dlg, "txtInicializacion");
    init->SetText(QStringLiteral("a\t"));
    init->setCursorPosition(0, 2);
    QTest::keyClick(init, Qt::Key_F2);
    QTest::keyClick(Find<CodeEditor>(*dlg, "txtHeader"), Qt::Key_F2);
    SetRepositoryHandler(nullptr);
    EXPECT_EQ(opened, QStringList{QStringLiteral("txtInicializacion")});
    EXPECT_EQ(init->Text(), QStringLiteral("a\tword"));
    LeaveControl(init);
    EXPECT_EQ(init->Text(), QStringLiteral("a   word"));
}

TEST_F(frmPropFSMTest, LockedDiagramIsReadOnlyAndBuscarWritesNothing)
{
    doc.diagram().setReadOnly(true);
    const QString record = doc.diagram().tag();
    {
        auto dlg = Open();
        for (const char* name : {"txtHeader", "txtInicializacion", "txtBeforeAction", "txtDefault",
                                 "txtAfterAction", "txtFinalAction"}) {
            auto* e = Find<CodeEditor>(*dlg, name);
            EXPECT_TRUE(e->ReadOnly()) << name;
            EXPECT_EQ(e->GetColor(CodeEditor::ClrWindow), 0xF0FFFF) << name;
        }
        EXPECT_FALSE(Find<QPushButton>(*dlg, "cmdValidar")->isEnabled());
        EXPECT_FALSE(Find<QCheckBox>(*dlg, "chkUseMacros")->isEnabled());
    }
    ScriptedMatcher m;
    EXPECT_TRUE(frmPropFSM::Buscar(doc, m, QStringLiteral("x"), QStringLiteral("y"), false, &asker));
    EXPECT_EQ(m.captions.size(), 6);
    EXPECT_EQ(doc.diagram().tag(), record);
}

TEST_F(frmPropFSMTest, BuscarKeepsFieldsBeforeTheCancelledOne)
{
    ScriptedMatcher m;
    m.stopAt = QStringLiteral("before dispatcher");
    EXPECT_FALSE(frmPropFSM::Buscar(doc, m, QStringLiteral("x"), QStringLiteral("y"), false, &asker));
    EXPECT_EQ(m.captions, (QStringList{"FSM properties: Parameters", "FSM properties: Initialization",
                                       "FSM properties: Actions before dispatcher"}));
    EXPECT_EQ(Field(Grafo::kGraphInit), QStringLiteral("int y;"));
    EXPECT_EQ(Field(Grafo::kGraphBefore), QStringLiteral("x++;"));
    EXPECT_EQ(Field(Grafo::kGraphAfter), QStringLiteral("x--;"));
}

TEST_F(frmPropFSMTest, ResetColoursStaysAfterCancel)
{
    initial->setFillColor(0x00FF00);
    initial->setForeColor(0x0000FF);
    doc.diagram().setDefaultFillColor(0x123456);
    auto dlg = Open();
    Find<QPushButton>(*dlg, "cmdResetColor")->click();
    Find<QPushButton>(*dlg, "cmdCancelar")->click();
    EXPECT_EQ(initial->fillColor(), 0xFFFFF0u);
    EXPECT_EQ(initial->foreColor(), 0u);
    EXPECT_EQ(doc.diagram().defaultFillColor(), 0xFFFFF0u);
}

TEST_F(frmPropFSMTest, WindowSizeComesFromAndGoesToTheSettings)
{
    {
        auto dlg = Open();
        EXPECT_EQ(dlg->minimumSize(), QSize(8505 / 15, 7575 / 15));
        dlg->resize(10, 10);
        EXPECT_EQ(dlg->size(), dlg->minimumSize());
        dlg->resize(700, 600);
        dlg->reject();
    }
    const auto settings = AppSettings::Open();
    EXPECT_EQ(settings->value(QStringLiteral("PropFSM/WndWidth")).toString(), QStringLiteral("10500"));
    EXPECT_EQ(settings->value(QStringLiteral("PropFSM/WndHeight")).toString(), QStringLiteral("9000"));
    settings->setValue(QStringLiteral("PropFSM/WndWidth"), QStringLiteral("0"));
    settings->setValue(QStringLiteral("PropFSM/WndHeight"), QStringLiteral("0"));
    settings->sync();
    auto maximized = Open();
    EXPECT_TRUE(maximized->windowState() & Qt::WindowMaximized);
    maximized->reject();
    EXPECT_EQ(AppSettings::Open()->value(QStringLiteral("PropFSM/WndWidth")).toString(), QStringLiteral("0"));
}

TEST_F(frmPropFSMTest, OpenChildFsmNeedsAnExistingFile)
{
    doc.sFullDocname = dir.filePath(QStringLiteral("Top.fsm"));
    QString name = QStringLiteral("Idle");
    modNodoEstado::Configura_Nodo_Estado(doc, name, QStringLiteral("SUB();"), {}, {}, {},
                                         QStringLiteral("1"), modNodoEstado::NODE_STATE_INITIAL,
                                         QStringLiteral("N"), QStringLiteral("N"), initial, silent);
    auto none = Open();
    EXPECT_TRUE(Find<QPushButton>(*none, "cmdEnlace")->isHidden());

    QFile child(dir.filePath(QStringLiteral("SUB.fsm")));
    ASSERT_TRUE(child.open(QIODevice::WriteOnly));
    child.close();
    auto dlg = Open();
    dlg->show();
    ASSERT_FALSE(Find<QPushButton>(*dlg, "cmdEnlace")->isHidden());
    ASSERT_TRUE(child.remove());
    Find<QPushButton>(*dlg, "cmdEnlace")->click();
    EXPECT_TRUE(dlg->isVisible());
    EXPECT_TRUE(dlg->pendingDocument().isEmpty());
    ASSERT_TRUE(child.open(QIODevice::WriteOnly));
    child.close();
    Find<QPushButton>(*dlg, "cmdEnlace")->click();
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_EQ(dlg->pendingDocument(), dir.filePath(QStringLiteral("SUB.fsm")));
}

}  // namespace
