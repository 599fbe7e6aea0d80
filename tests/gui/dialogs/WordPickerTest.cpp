#include "DialogTestSupport.h"
#include "ModalTestSupport.h"
#include "ScriptedUserInterface.h"

#include "CodeEditor.h"
#include "Document.h"
#include "DocumentRegistry.h"
#include "frmRepositorio.h"
#include "modGrafoInfo.h"

#include <QClipboard>
#include <QComboBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

using namespace orvane;
using namespace orvane::testing;
namespace Estado = orvane::modNodoEstado;

namespace {

QStringList Words(const QString& text)
{
    QStringList words;
    RepositoryWords::Scan(text, words);
    return words;
}

TEST(RepositoryWordsTest, ScannerKeepsCallsPreprocessorWordsAndLiterals)
{
    EXPECT_EQ(Words(QStringLiteral("x = foo(a, b);\r\nif(!done)")),
              (QStringList{QStringLiteral("foo("), QStringLiteral("if("), QStringLiteral("done")}));
    EXPECT_EQ(Words(QStringLiteral("bar() #include \"text\"")),
              (QStringList{QStringLiteral("bar()"), QStringLiteral("#include"),
                           QStringLiteral("\"text\"")}));
    EXPECT_EQ(Words(QStringLiteral("a&b x! _tmp 3d d3")),
              (QStringList{QStringLiteral("tmp"), QStringLiteral("d3")}));
    // Letters outside a to z never start a word; inside one they stay.
    EXPECT_EQ(Words(QStringLiteral("ñu añadir tbl[i].x\tend")),
              (QStringList{QStringLiteral("añadir"), QStringLiteral("tbl[i].x\tend")}));
}

TEST(RepositoryWordsTest, RepeatsAreSkippedAndTheListStopsAt1024)
{
    QStringList words;
    RepositoryWords::Scan(QStringLiteral("Go go Go"), words);
    EXPECT_EQ(words, (QStringList{QStringLiteral("Go"), QStringLiteral("go")}));
    QString many;
    for (int i = 0; i < 1100; ++i)
        many += QStringLiteral("w%1 ").arg(i);
    RepositoryWords::Scan(many, words);
    EXPECT_EQ(words.size(), RepositoryWords::kMaxWords);
    EXPECT_EQ(words.last(), QStringLiteral("w1021"));
}

class frmRepositorioTest : public DialogTest {
protected:
    void SetUp() override
    {
        DialogTest::SetUp();
        Node* a = AddState(QStringLiteral("A"), QStringLiteral("1"), Estado::NODE_STATE_INITIAL,
                           QStringLiteral("during_a();"));
        Node* b = AddState(QStringLiteral("B"), QStringLiteral("2"), Estado::NODE_STATE_NORMAL,
                           QStringLiteral("during_b(); during_a();"));
        Node* t = AddTransition(a, b);
        modNodoTransicion::Configura_Nodo_Transicion(
            doc, QStringLiteral("1"), QStringLiteral("ready"), QStringLiteral("go()"),
            QStringLiteral("N"), QStringLiteral("N"), t);
        modGrafoInfo::SetGraphInfo(doc.diagram(), QStringLiteral("Motor"), QStringLiteral("int ev"),
                                   {}, {}, QStringLiteral("never_seen"), {}, {},
                                   modGrafoInfo::kSignature, {}, {}, {});
    }
    void TearDown() override
    {
        frmRepositorio::Install(nullptr);
        DialogTest::TearDown();
    }
};

TEST_F(frmRepositorioTest, DiagramTextsInTheirOrderWithoutTheIndexErrorCode)
{
    EXPECT_EQ(Words(RepositoryWords::CollectTexts(doc)),
              (QStringList{QStringLiteral("during_a()"), QStringLiteral("during_b()"),
                           QStringLiteral("ready"), QStringLiteral("go()"), QStringLiteral("Motor"),
                           QStringLiteral("int"), QStringLiteral("ev")}));
}

TEST_F(frmRepositorioTest, InsertReplacesTheSelectionAndFillsTheClipboard)
{
    CodeEditor editor;
    editor.SetText(QStringLiteral("x = old;"));
    editor.setSelection(0, 4, 0, 7);
    OnModal([](QDialog* d) {
        auto* list = Child<QComboBox>(d, "cmbReposi");
        EXPECT_EQ(list->currentText(), QStringLiteral("during_a()"));
        list->setCurrentText(QStringLiteral("ready"));
        Child<QPushButton>(d, "cmdInsert")->click();
    });
    frmRepositorio::Edita(&editor, nullptr, 2, doc);
    EXPECT_EQ(editor.Text(), QStringLiteral("x = ready;"));
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("ready"));
}

TEST_F(frmRepositorioTest, ReadOnlyTargetsOpenNothing)
{
    // A dialog would be dismissed by the watch; none must come.
    const QPointer<QTimer> watch = OnModal([](QDialog* d) { d->reject(); });
    CodeEditor editor;
    editor.SetReadOnly(true);
    frmRepositorio::Edita(&editor, nullptr, 2, doc);
    QPlainTextEdit box;
    box.setReadOnly(true);
    frmRepositorio::Edita(nullptr, &box, 1, doc);
    EXPECT_TRUE(StopWatch(watch));
}

TEST_F(frmRepositorioTest, SeekInAllFsmAddsTheOtherDocumentsWords)
{
    ScriptedUserInterface ui;
    DocumentRegistry registry(ui);
    Document* other = registry.create();
    modGrafoInfo::SetGraphInfo(other->fsm.diagram(), QStringLiteral("Pump"), {}, {}, {}, {}, {}, {},
                               modGrafoInfo::kSignature, {}, {}, {});
    frmRepositorio::Install(&registry);
    QPlainTextEdit box;
    box.setPlainText(QStringLiteral("ab"));
    box.moveCursor(QTextCursor::End);
    OnModal([](QDialog* d) {
        Child<QPushButton>(d, "cmdSeekAllFsm")->click();
        auto* list = Child<QComboBox>(d, "cmbReposi");
        EXPECT_EQ(list->count(), 8);
        EXPECT_EQ(list->itemText(7), QStringLiteral("Pump"));
        list->setCurrentIndex(7);
        Child<QPushButton>(d, "cmdCopy")->click();
    });
    frmRepositorio::Edita(nullptr, &box, 1, doc);
    EXPECT_EQ(box.toPlainText(), QStringLiteral("ab"));  // Copy leaves the box alone
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("Pump"));
}

}  // namespace
