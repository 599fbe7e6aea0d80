#include "FindMatchDialog.h"
#include "ModalTestSupport.h"
#include "PropertyDialogSupport.h"

#include <gtest/gtest.h>

#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

using namespace orvane;
using namespace orvane::testing;

namespace {

QPlainTextEdit* textBox(QDialog* d) { return child<QPlainTextEdit>(d, "textBox"); }
QPushButton* button(QDialog* d, const char* name) { return child<QPushButton>(d, name); }
QString selectedText(QDialog* d) { return textBox(d)->textCursor().selectedText(); }

TEST(FindMatchDialogTest, TextWithoutMatchIsNeverShown)
{
    FindMatchDialog find;
    // A dialog would be dismissed by the watch; none must come.
    const QPointer<QTimer> watch = onModal([](QDialog* d) { d->reject(); });
    QString text = QStringLiteral("int A;");
    EXPECT_TRUE(find.showMatch(QStringLiteral("c"), text, QStringLiteral("a"), {}, true, false));
    EXPECT_TRUE(stopWatch(watch));
    EXPECT_EQ(text, QStringLiteral("int A;"));
}

TEST(FindMatchDialogTest, ChangeTwiceReplacesBothMatchesThenCloses)
{
    FindMatchDialog find;
    onModal([](QDialog* d) {
        QTest::qWait(2 * FindMatchDialog::kRestartMs);
        EXPECT_EQ(textBox(d)->toPlainText(), QStringLiteral("x x"));
        EXPECT_EQ(selectedText(d), QStringLiteral("x"));
        button(d, "replaceButton")->click();
        EXPECT_EQ(textBox(d)->toPlainText(), QStringLiteral("yy x"));
        EXPECT_EQ(textBox(d)->textCursor().selectionStart(), 3);
        EXPECT_EQ(selectedText(d), QStringLiteral("x"));
        button(d, "replaceButton")->click();
        EXPECT_FALSE(d->isVisible());
    });
    QString text = QStringLiteral("x x");
    EXPECT_TRUE(find.showMatch(QStringLiteral("c"), text, QStringLiteral("x"), QStringLiteral("yy"),
                               false, false));
    EXPECT_EQ(text, QStringLiteral("yy yy"));
}

TEST(FindMatchDialogTest, ReplacementHoldingTheSearchStringDoesNotLoop)
{
    FindMatchDialog find;
    int changes = 0;
    std::function<void(QDialog*)> act = [&](QDialog* d) {
        // A loop would keep the dialog open; stop it after far too many.
        while (d->isVisible() && changes < 10) {
            button(d, "replaceButton")->click();
            ++changes;
        }
        if (d->isVisible())
            d->reject();
    };
    onModal(act);
    QString text = QStringLiteral("x\r\nx");
    EXPECT_TRUE(find.showMatch(QStringLiteral("c"), text, QStringLiteral("x"), QStringLiteral("xx"),
                               false, false));
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(text, QStringLiteral("xx\r\nxx"));  // the text keeps its CR LF line ends
}

TEST(FindMatchDialogTest, CancelDropsThisTextsChangesAndStops)
{
    FindMatchDialog find;
    onModal([](QDialog* d) {
        button(d, "replaceButton")->click();
        QTest::keyClick(textBox(d), Qt::Key_Escape);
    });
    QString text = QStringLiteral("a a");
    EXPECT_FALSE(find.showMatch(QStringLiteral("c"), text, QStringLiteral("a"), QStringLiteral("b"),
                                false, false));
    EXPECT_EQ(text, QStringLiteral("a a"));
}

TEST(FindMatchDialogTest, KeysNextAndTabSpacesAndUntouchedTextIsKeptExactly)
{
    FindMatchDialog find;
    onModal([](QDialog* d) {
        QPlainTextEdit* box = textBox(d);
        QTest::keyClick(button(d, "cancelButton"), Qt::Key_F3);  // F3 anywhere: next match
        EXPECT_EQ(box->textCursor().selectionStart(), 3);
        QTextCursor caret = box->textCursor();
        caret.setPosition(5);
        box->setTextCursor(caret);
        QTest::keyClick(box, Qt::Key_Tab, Qt::ControlModifier);  // column 2: two blanks
        EXPECT_EQ(box->document()->toRawText(), QStringLiteral("ab\u2029ab  \u00A0x"));
        box->undo();
        QTest::keyClick(box, Qt::Key_Return);  // no more matches: closes, search goes on
    });
    QString text = QStringLiteral("ab\r\nab\u00A0x");
    EXPECT_TRUE(find.showMatch(QStringLiteral("c"), text, QStringLiteral("AB"), QStringLiteral("z"),
                               false, false));
    EXPECT_EQ(text, QStringLiteral("ab\r\nab\u00A0x"));
}

TEST(FindMatchDialogTest, ReadOnlyTextCannotBeChanged)
{
    FindMatchDialog find;
    onModal([](QDialog* d) {
        EXPECT_TRUE(textBox(d)->isReadOnly());
        EXPECT_EQ(textBox(d)->palette().color(QPalette::Base), QColor(0xFF, 0xFF, 0xF0));
        EXPECT_FALSE(button(d, "replaceButton")->isEnabled());
        QTest::keyClick(textBox(d), Qt::Key_Tab, Qt::ControlModifier);
        QTest::keyClick(textBox(d), Qt::Key_F3);
    });
    QString text = QStringLiteral("x");
    EXPECT_TRUE(find.showMatch(QStringLiteral("c"), text, QStringLiteral("x"), QStringLiteral("y"),
                               false, true));
    EXPECT_EQ(text, QStringLiteral("x"));
}

}  // namespace
