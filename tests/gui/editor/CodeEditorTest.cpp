#include "DialogTestSupport.h"

#include "CodeEditor.h"
#include "CodeEditorPropertyPage.h"

#include <QSignalSpy>
#include <QTest>

using namespace orvane;
using namespace orvane::testing;

namespace {

TEST(CodeEditorTest, TextKeepsCrLfLineEnds)
{
    CodeEditor editor;
    editor.SetText(QStringLiteral("a\nb\r\nc\rd"));
    EXPECT_EQ(editor.Text(), QStringLiteral("a\r\nb\r\nc\r\nd"));
    editor.setCursorPosition(0, 1);
    editor.SetSelText(QStringLiteral("x\ny"));
    EXPECT_EQ(editor.Text(), QStringLiteral("ax\r\ny\r\nb\r\nc\r\nd"));
    editor.SetText(QStringLiteral("üñí €"));
    EXPECT_EQ(editor.Text(), QStringLiteral("üñí €"));
}

TEST(CodeEditorTest, ReadOnlyStopsTheUserButNotTheProgram)
{
    CodeEditor editor;
    editor.SetReadOnly(true);
    editor.SetText(QStringLiteral("fixed"));
    QTest::keyClicks(&editor, QStringLiteral("zz"));
    EXPECT_EQ(editor.Text(), QStringLiteral("fixed"));
    editor.SetReadOnly(false);
    editor.setCursorPosition(0, 0);
    QTest::keyClicks(&editor, QStringLiteral("zz"));
    EXPECT_EQ(editor.Text(), QStringLiteral("zzfixed"));
}

TEST(CodeEditorTest, F2ReachesKeyDownAndCanBeSwallowed)
{
    CodeEditor::RemoveHotKey(113);
    CodeEditor editor;
    std::vector<std::pair<int, int>> keys;
    QObject::connect(&editor, &CodeEditor::keyDown, [&keys](int code, int shift, bool& handled) {
        if (code != 16)  // the Shift key itself
            keys.emplace_back(code, shift);
        handled = code == 113 || code == 'Q';
    });
    QTest::keyClick(&editor, Qt::Key_F2);
    QTest::keyClick(&editor, Qt::Key_F2, Qt::ShiftModifier);
    QTest::keyClick(&editor, Qt::Key_Q, Qt::ShiftModifier);
    QTest::keyClick(&editor, Qt::Key_A);
    EXPECT_EQ(keys, (std::vector<std::pair<int, int>>{{113, 0}, {113, 1}, {'Q', 1}, {'A', 0}}));
    EXPECT_EQ(editor.Text(), QStringLiteral("a"));
}

TEST(CodeEditorTest, FocusSignalsOnlyForMovesBetweenControls)
{
    CodeEditor editor;
    QSignalSpy got(&editor, &CodeEditor::gotFocus);
    QSignalSpy lost(&editor, &CodeEditor::lostFocus);
    for (Qt::FocusReason reason : {Qt::ActiveWindowFocusReason, Qt::PopupFocusReason,
                                   Qt::MouseFocusReason, Qt::TabFocusReason}) {
        QFocusEvent in(QEvent::FocusIn, reason);
        QFocusEvent out(QEvent::FocusOut, reason);
        QApplication::sendEvent(&editor, &in);
        QApplication::sendEvent(&editor, &out);
    }
    EXPECT_EQ(got.count(), 2);
    EXPECT_EQ(lost.count(), 2);
}

TEST(CodeEditorTest, OptionsReadBackAsSet)
{
    CodeEditor editor;
    editor.SetColor(CodeEditor::ClrWindow, 0xF0FFFF);
    editor.SetColor(CodeEditor::ClrCommentBk, -1);
    editor.SetColor(CodeEditor::ColorItemCount, 5);
    editor.SetFontStyle(CodeEditor::StyComment, CodeEditor::FontBold | CodeEditor::FontItalic);
    editor.SetTabSize(0);
    editor.SetAutoIndentMode(0);
    editor.SetLineNumbering(false);
    editor.SetEnableColumnSel(true);
    EXPECT_EQ(editor.GetColor(CodeEditor::ClrWindow), 0xF0FFFF);
    EXPECT_EQ(editor.GetColor(CodeEditor::ClrCommentBk), -1);
    EXPECT_EQ(editor.GetColor(CodeEditor::ColorItemCount), -1);
    EXPECT_EQ(editor.GetFontStyle(CodeEditor::StyComment), 3);
    EXPECT_EQ(editor.TabSize(), 4);
    EXPECT_EQ(editor.tabWidth(), 4);
    EXPECT_EQ(editor.AutoIndentMode(), 0);
    EXPECT_FALSE(editor.autoIndent());
    EXPECT_EQ(editor.marginWidth(0), 0);
    EXPECT_TRUE(editor.EnableColumnSel());
    editor.SetExpandTabs(false);
    EXPECT_TRUE(editor.indentationsUseTabs());
}

}  // namespace

namespace {

TEST(CodeEditorPropertyPageTest, AcceptedPageCopiesEveryOptionItShows)
{
    CodeEditor source;
    source.SetFontName(QStringLiteral("DejaVu Sans Mono"));
    source.SetFontSize(14);
    source.SetTabSize(8);
    source.SetAutoIndentMode(2);
    source.SetDisplayWhitespace(true);
    source.SetLineNumbering(false);
    source.SetEnableDragDrop(false);
    source.SetColor(CodeEditor::ClrString, 0x123456);
    source.SetFontStyle(CodeEditor::StyKeyword, CodeEditor::FontUnderline);
    CodeEditorPropertyPage page(source);
    CodeEditor target;
    page.ApplyTo(target);
    EXPECT_EQ(target.FontSize(), 14);
    EXPECT_EQ(target.TabSize(), 8);
    EXPECT_EQ(target.AutoIndentMode(), 2);
    EXPECT_TRUE(target.DisplayWhitespace());
    EXPECT_FALSE(target.LineNumbering());
    EXPECT_FALSE(target.EnableDragDrop());
    EXPECT_TRUE(target.ColorSyntax());
    EXPECT_EQ(target.GetColor(CodeEditor::ClrString), 0x123456);
    EXPECT_EQ(target.GetFontStyle(CodeEditor::StyKeyword), CodeEditor::FontUnderline);
}

}  // namespace
