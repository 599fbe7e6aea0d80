#include "frmFind.h"
#include "ModalTestSupport.h"
#include "PropertyDialogSupport.h"

#include <gtest/gtest.h>

#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

using namespace orvane;
using namespace orvane::testing;

namespace {

QPlainTextEdit* Box(QDialog* d) { return Child<QPlainTextEdit>(d, "txtFind"); }
QPushButton* Button(QDialog* d, const char* name) { return Child<QPushButton>(d, name); }
QString Selected(QDialog* d) { return Box(d)->textCursor().selectedText(); }

TEST(frmFindTest, TextWithoutMatchIsNeverShown)
{
    frmFind find;
    // A dialog would be dismissed by the watch; none must come.
    const QPointer<QTimer> watch = OnModal([](QDialog* d) { d->reject(); });
    QString text = QStringLiteral("int A;");
    EXPECT_TRUE(find.busqueda(QStringLiteral("c"), text, QStringLiteral("a"), {}, true, false));
    EXPECT_TRUE(StopWatch(watch));
    EXPECT_EQ(text, QStringLiteral("int A;"));
}

TEST(frmFindTest, ChangeTwiceReplacesBothMatchesThenCloses)
{
    frmFind find;
    OnModal([](QDialog* d) {
        QTest::qWait(2 * frmFind::kReiniciaMs);
        EXPECT_EQ(Box(d)->toPlainText(), QStringLiteral("x x"));
        EXPECT_EQ(Selected(d), QStringLiteral("x"));
        Button(d, "cmdSustituir")->click();
        EXPECT_EQ(Box(d)->toPlainText(), QStringLiteral("yy x"));
        EXPECT_EQ(Box(d)->textCursor().selectionStart(), 3);
        EXPECT_EQ(Selected(d), QStringLiteral("x"));
        Button(d, "cmdSustituir")->click();
        EXPECT_FALSE(d->isVisible());
    });
    QString text = QStringLiteral("x x");
    EXPECT_TRUE(find.busqueda(QStringLiteral("c"), text, QStringLiteral("x"), QStringLiteral("yy"),
                              false, false));
    EXPECT_EQ(text, QStringLiteral("yy yy"));
}

TEST(frmFindTest, ReplacementHoldingTheSearchStringDoesNotLoop)
{
    frmFind find;
    int changes = 0;
    std::function<void(QDialog*)> act = [&](QDialog* d) {
        // A loop would keep the dialog open; stop it after far too many.
        while (d->isVisible() && changes < 10) {
            Button(d, "cmdSustituir")->click();
            ++changes;
        }
        if (d->isVisible())
            d->reject();
    };
    OnModal(act);
    QString text = QStringLiteral("x\r\nx");
    EXPECT_TRUE(find.busqueda(QStringLiteral("c"), text, QStringLiteral("x"), QStringLiteral("xx"),
                              false, false));
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(text, QStringLiteral("xx\r\nxx"));  // the text keeps its CR LF line ends
}

TEST(frmFindTest, CancelDropsThisTextsChangesAndStops)
{
    frmFind find;
    OnModal([](QDialog* d) {
        Button(d, "cmdSustituir")->click();
        QTest::keyClick(Box(d), Qt::Key_Escape);
    });
    QString text = QStringLiteral("a a");
    EXPECT_FALSE(find.busqueda(QStringLiteral("c"), text, QStringLiteral("a"), QStringLiteral("b"),
                               false, false));
    EXPECT_EQ(text, QStringLiteral("a a"));
}

TEST(frmFindTest, KeysNextAndTabSpacesAndUntouchedTextIsKeptExactly)
{
    frmFind find;
    OnModal([](QDialog* d) {
        QPlainTextEdit* box = Box(d);
        QTest::keyClick(Button(d, "cmdCancelar"), Qt::Key_F3);  // F3 anywhere: next match
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
    EXPECT_TRUE(find.busqueda(QStringLiteral("c"), text, QStringLiteral("AB"), QStringLiteral("z"),
                              false, false));
    EXPECT_EQ(text, QStringLiteral("ab\r\nab\u00A0x"));
}

TEST(frmFindTest, ReadOnlyTextCannotBeChanged)
{
    frmFind find;
    OnModal([](QDialog* d) {
        EXPECT_TRUE(Box(d)->isReadOnly());
        EXPECT_EQ(Box(d)->palette().color(QPalette::Base), QColor(0xFF, 0xFF, 0xF0));
        EXPECT_FALSE(Button(d, "cmdSustituir")->isEnabled());
        QTest::keyClick(Box(d), Qt::Key_Tab, Qt::ControlModifier);
        QTest::keyClick(Box(d), Qt::Key_F3);
    });
    QString text = QStringLiteral("x");
    EXPECT_TRUE(find.busqueda(QStringLiteral("c"), text, QStringLiteral("x"), QStringLiteral("y"),
                              false, true));
    EXPECT_EQ(text, QStringLiteral("x"));
}

}  // namespace
