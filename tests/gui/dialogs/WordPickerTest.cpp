#include "DialogTestSupport.h"
#include "ModalTestSupport.h"
#include "ScriptedUserInterface.h"

#include "CodeEditor.h"
#include "Document.h"
#include "DocumentRegistry.h"
#include "WordPicker.h"
#include "MachineInfo.h"

#include <QClipboard>
#include <QComboBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

using namespace orvane;
using namespace orvane::testing;
namespace States = orvane::States;

namespace {

QStringList words(const QString& text)
{
    QStringList words;
    RepositoryWords::scan(text, words);
    return words;
}

TEST(RepositoryWordsTest, ScannerKeepsCallsPreprocessorWordsAndLiterals)
{
    EXPECT_EQ(words(QStringLiteral("x = foo(a, b);\r\nif(!done)")),
              (QStringList{QStringLiteral("foo("), QStringLiteral("if("), QStringLiteral("done")}));
    EXPECT_EQ(words(QStringLiteral("bar() #include \"text\"")),
              (QStringList{QStringLiteral("bar()"), QStringLiteral("#include"),
                           QStringLiteral("\"text\"")}));
    EXPECT_EQ(words(QStringLiteral("a&b x! _tmp 3d d3")),
              (QStringList{QStringLiteral("tmp"), QStringLiteral("d3")}));
    // Letters outside a to z never start a word; inside one they stay.
    EXPECT_EQ(words(QStringLiteral("ñu añadir tbl[i].x\tend")),
              (QStringList{QStringLiteral("añadir"), QStringLiteral("tbl[i].x\tend")}));
}

TEST(RepositoryWordsTest, RepeatsAreSkippedAndTheListStopsAt1024)
{
    QStringList words;
    RepositoryWords::scan(QStringLiteral("Go go Go"), words);
    EXPECT_EQ(words, (QStringList{QStringLiteral("Go"), QStringLiteral("go")}));
    QString many;
    for (int i = 0; i < 1100; ++i)
        many += QStringLiteral("w%1 ").arg(i);
    RepositoryWords::scan(many, words);
    EXPECT_EQ(words.size(), RepositoryWords::kMaxWords);
    EXPECT_EQ(words.last(), QStringLiteral("w1021"));
}

class WordPickerTest : public DialogTest {
protected:
    void SetUp() override
    {
        DialogTest::SetUp();
        Node* a = addState(QStringLiteral("A"), QStringLiteral("1"), NodeStateInitial,
                           QStringLiteral("during_a();"));
        Node* b = addState(QStringLiteral("B"), QStringLiteral("2"), NodeStateNormal,
                           QStringLiteral("during_b(); during_a();"));
        Node* t = addTransition(a, b);
        Transitions::configureTransition(
            doc,
            TransitionRecord{QStringLiteral("1"), QStringLiteral("ready"), QStringLiteral("go()"),
                             QStringLiteral("N"), QStringLiteral("N")},
            t);
        MachineInfo::setMachineConfig(doc.diagram(), MachineConfig{MachineInfo::kSignature,
                                                                   QStringLiteral("Motor"),
                                                                   {},
                                                                   {},
                                                                   {},
                                                                   QStringLiteral("int ev"),
                                                                   {},
                                                                   {},
                                                                   {},
                                                                   {},
                                                                   QStringLiteral("never_seen")});
    }
    void TearDown() override
    {
        WordPicker::install(nullptr);
        DialogTest::TearDown();
    }
};

TEST_F(WordPickerTest, DiagramTextsInTheirOrderWithoutTheIndexErrorCode)
{
    EXPECT_EQ(words(RepositoryWords::collectTexts(doc)),
              (QStringList{QStringLiteral("during_a()"), QStringLiteral("during_b()"),
                           QStringLiteral("ready"), QStringLiteral("go()"), QStringLiteral("Motor"),
                           QStringLiteral("int"), QStringLiteral("ev")}));
}

TEST_F(WordPickerTest, InsertReplacesTheSelectionAndFillsTheClipboard)
{
    CodeEditor editor;
    editor.setCode(QStringLiteral("x = old;"));
    editor.setSelection(0, 4, 0, 7);
    onModal([](QDialog* d) {
        auto* list = child<QComboBox>(d, "wordList");
        EXPECT_EQ(list->currentText(), QStringLiteral("during_a()"));
        list->setCurrentText(QStringLiteral("ready"));
        child<QPushButton>(d, "insertButton")->click();
    });
    WordPicker::pickWord(&editor, nullptr, 2, doc);
    EXPECT_EQ(editor.code(), QStringLiteral("x = ready;"));
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("ready"));
}

TEST_F(WordPickerTest, ReadOnlyTargetsOpenNothing)
{
    // A dialog would be dismissed by the watch; none must come.
    const QPointer<QTimer> watch = onModal([](QDialog* d) { d->reject(); });
    CodeEditor editor;
    editor.setLocked(true);
    WordPicker::pickWord(&editor, nullptr, 2, doc);
    QPlainTextEdit box;
    box.setReadOnly(true);
    WordPicker::pickWord(nullptr, &box, 1, doc);
    EXPECT_TRUE(stopWatch(watch));
}

TEST_F(WordPickerTest, SeekInAllFsmAddsTheOtherDocumentsWords)
{
    ScriptedUserInterface ui;
    DocumentRegistry registry(ui);
    Document* other = registry.create();
    MachineInfo::setMachineConfig(
        other->fsm.diagram(),
        MachineConfig{
            MachineInfo::kSignature, QStringLiteral("Pump"), {}, {}, {}, {}, {}, {}, {}, {}, {}});
    WordPicker::install(&registry);
    QPlainTextEdit box;
    box.setPlainText(QStringLiteral("ab"));
    box.moveCursor(QTextCursor::End);
    onModal([](QDialog* d) {
        child<QPushButton>(d, "seekAllButton")->click();
        auto* list = child<QComboBox>(d, "wordList");
        EXPECT_EQ(list->count(), 8);
        EXPECT_EQ(list->itemText(7), QStringLiteral("Pump"));
        list->setCurrentIndex(7);
        child<QPushButton>(d, "copyButton")->click();
    });
    WordPicker::pickWord(nullptr, &box, 1, doc);
    EXPECT_EQ(box.toPlainText(), QStringLiteral("ab"));  // Copy leaves the box alone
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("Pump"));
}

}  // namespace
