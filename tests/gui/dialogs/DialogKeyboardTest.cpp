// The property dialogs worked from the keyboard alone: the first field has
// the focus, Enter and Ctrl+Enter are "Ok", Ctrl+Tab and Ctrl+PgDown turn
// the pages, Alt+letter reaches the buttons from a code editor, and Esc asks
// before typed text is thrown away.

#include "DialogTestSupport.h"

#include "CodeEditor.h"
#include "StateDialog.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

using namespace orvane;
using namespace orvane::testing;

namespace {

class DialogKeyboardTest : public DialogTest {
protected:
    void SetUp() override
    {
        DialogTest::SetUp();
        state = addState(QStringLiteral("Idle"), QStringLiteral("1"), NodeStateInitial);
        doc.diagram().setCurrentNode(state);
        dialog = std::make_unique<StateDialog>(doc, nullptr, &asker);
        dialog->show();
        dialog->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
        tabs = dialog->findChild<QTabWidget*>();
        ASSERT_TRUE(tabs);
    }
    void TearDown() override
    {
        dialog.reset();
        DialogTest::TearDown();
    }
    QWidget* focused() const { return QApplication::focusWidget(); }
    template <class T> T* find(const char* name) { return dialog->findChild<T*>(name); }
    // Keys go where the user's keys go: to the widget with the focus.
    void key(Qt::Key k, Qt::KeyboardModifiers mods = {}) { QTest::keyClick(focused(), k, mods); }
    bool closed() const { return !dialog->isVisible(); }

    Node* state = nullptr;
    std::unique_ptr<StateDialog> dialog;
    QTabWidget* tabs = nullptr;
};

}  // namespace

TEST_F(DialogKeyboardTest, TheFirstFieldHasTheFocusAndOkIsTheDefaultButton)
{
    EXPECT_EQ(focused(), find<QLineEdit>("indexEdit"));
    EXPECT_TRUE(find<QPushButton>("okButton")->isDefault());
    // Enter steps from the index to the name and on to the code; Ctrl+Enter
    // is "Ok" anywhere.
    key(Qt::Key_Return);
    EXPECT_EQ(focused(), find<QLineEdit>("nameEdit"));
    key(Qt::Key_End);
    QTest::keyClicks(focused(), QStringLiteral("2"));
    key(Qt::Key_Return);
    EXPECT_TRUE(qobject_cast<CodeEditor*>(focused()));
    EXPECT_FALSE(closed());
    key(Qt::Key_Return, Qt::ControlModifier);
    EXPECT_TRUE(closed());
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(stateRecord(state).name, QStringLiteral("Idle2"));
}

TEST_F(DialogKeyboardTest, CtrlTabAndCtrlPageKeysTurnThePagesEvenFromACodeEditor)
{
    ASSERT_GE(tabs->count(), 3);
    key(Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(tabs->currentIndex(), 1);
    // The page's editor takes the focus, and keeps the keys working.
    EXPECT_EQ(focused(), tabs->currentWidget());
    key(Qt::Key_PageDown, Qt::ControlModifier);
    EXPECT_EQ(tabs->currentIndex(), 2);
    key(Qt::Key_PageUp, Qt::ControlModifier);
    EXPECT_EQ(tabs->currentIndex(), 1);
    key(Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(tabs->currentIndex(), 0);
    // Backwards from the first page goes round to the last one that can be
    // used (the exit page of a state without transitions cannot).
    key(Qt::Key_PageUp, Qt::ControlModifier);
    EXPECT_NE(tabs->currentIndex(), 0);
    EXPECT_TRUE(tabs->isTabEnabled(tabs->currentIndex()));
    EXPECT_FALSE(closed());
}

TEST_F(DialogKeyboardTest, CtrlEnterInACodeEditorIsOkAndKeepsTheTypedCode)
{
    key(Qt::Key_Tab, Qt::ControlModifier);
    auto* editor = qobject_cast<CodeEditor*>(focused());
    ASSERT_TRUE(editor);
    QTest::keyClicks(editor, QStringLiteral("x = 1;"));
    key(Qt::Key_Return);  // a plain Enter is a new line in code
    EXPECT_FALSE(closed());
    key(Qt::Key_Return, Qt::ControlModifier);
    EXPECT_TRUE(closed());
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_TRUE(stateRecord(state).entry.startsWith(QStringLiteral("x = 1;")))
        << stateRecord(state).entry.toStdString();
}

TEST_F(DialogKeyboardTest, AltLettersReachTheButtonsAndNeverTypeIntoTheCode)
{
    key(Qt::Key_Tab, Qt::ControlModifier);
    auto* editor = qobject_cast<CodeEditor*>(focused());
    ASSERT_TRUE(editor);
    key(Qt::Key_K, Qt::AltModifier);  // no button has K
    EXPECT_EQ(editor->code(), QString());
    EXPECT_FALSE(closed());
    key(Qt::Key_O, Qt::AltModifier);
    // A mnemonic presses the button visibly, then clicks it.
    EXPECT_TRUE(QTest::qWaitFor([this] { return closed(); }));
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
}

TEST_F(DialogKeyboardTest, EscapeAsksBeforeDroppingTypedCodeAndClosesAtOnceWhenNothingWasTyped)
{
    key(Qt::Key_Tab, Qt::ControlModifier);
    QTest::keyClicks(focused(), QStringLiteral("go();"));
    asker.answers = {false};
    key(Qt::Key_Escape);
    ASSERT_EQ(asker.questions.size(), 1);
    EXPECT_FALSE(closed()) << "the user chose to keep the text";
    EXPECT_TRUE(qobject_cast<CodeEditor*>(focused())->code().contains(QStringLiteral("go();")));
    asker.answers = {true};
    key(Qt::Key_Escape);
    EXPECT_TRUE(closed());
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_EQ(stateRecord(state).entry, QString());

    // A second dialog where nothing is typed closes without a question.
    asker.questions.clear();
    dialog = std::make_unique<StateDialog>(doc, nullptr, &asker);
    dialog->show();
    dialog->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
    key(Qt::Key_Escape);
    EXPECT_TRUE(closed());
    EXPECT_TRUE(asker.questions.isEmpty());
}
