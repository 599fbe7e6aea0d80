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
    editor.setCode(QStringLiteral("a\nb\r\nc\rd"));
    EXPECT_EQ(editor.code(), QStringLiteral("a\r\nb\r\nc\r\nd"));
    editor.setCursorPosition(0, 1);
    editor.replaceSelection(QStringLiteral("x\ny"));
    EXPECT_EQ(editor.code(), QStringLiteral("ax\r\ny\r\nb\r\nc\r\nd"));
    editor.setCode(QStringLiteral("üñí €"));
    EXPECT_EQ(editor.code(), QStringLiteral("üñí €"));
}

TEST(CodeEditorTest, ReadOnlyStopsTheUserButNotTheProgram)
{
    CodeEditor editor;
    editor.setLocked(true);
    editor.setCode(QStringLiteral("fixed"));
    QTest::keyClicks(&editor, QStringLiteral("zz"));
    EXPECT_EQ(editor.code(), QStringLiteral("fixed"));
    editor.setLocked(false);
    editor.setCursorPosition(0, 0);
    QTest::keyClicks(&editor, QStringLiteral("zz"));
    EXPECT_EQ(editor.code(), QStringLiteral("zzfixed"));
}

TEST(CodeEditorTest, F2ReachesKeyDownAndCanBeSwallowed)
{
    CodeEditor::removeHotKey(113);
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
    EXPECT_EQ(editor.code(), QStringLiteral("a"));
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
    editor.setColourItem(CodeEditor::ClrWindow, 0xF0FFFF);
    editor.setColourItem(CodeEditor::ClrCommentBk, -1);
    editor.setColourItem(CodeEditor::ColorItemCount, 5);
    editor.setFontStyle(CodeEditor::StyComment, CodeEditor::FontBold | CodeEditor::FontItalic);
    editor.setTabSize(0);
    editor.setAutoIndentMode(0);
    editor.setLineNumbering(false);
    editor.setEnableColumnSel(true);
    EXPECT_EQ(editor.colourItem(CodeEditor::ClrWindow), 0xF0FFFF);
    EXPECT_EQ(editor.colourItem(CodeEditor::ClrCommentBk), -1);
    EXPECT_EQ(editor.colourItem(CodeEditor::ColorItemCount), -1);
    EXPECT_EQ(editor.getFontStyle(CodeEditor::StyComment), 3);
    EXPECT_EQ(editor.tabSize(), 4);
    EXPECT_EQ(editor.tabWidth(), 4);
    EXPECT_EQ(editor.autoIndentMode(), 0);
    EXPECT_FALSE(editor.autoIndent());
    EXPECT_EQ(editor.marginWidth(0), 0);
    EXPECT_TRUE(editor.enableColumnSel());
    editor.setExpandTabs(false);
    EXPECT_TRUE(editor.indentationsUseTabs());
}

}  // namespace

namespace {

TEST(CodeEditorPropertyPageTest, AcceptedPageCopiesEveryOptionItShows)
{
    CodeEditor source;
    source.setFontName(QStringLiteral("DejaVu Sans Mono"));
    source.setFontSize(14);
    source.setTabSize(8);
    source.setAutoIndentMode(2);
    source.setDisplayWhitespace(true);
    source.setLineNumbering(false);
    source.setEnableDragDrop(false);
    source.setColourItem(CodeEditor::ClrString, 0x123456);
    source.setFontStyle(CodeEditor::StyKeyword, CodeEditor::FontUnderline);
    CodeEditorPropertyPage page(source);
    CodeEditor target;
    page.applyTo(target);
    EXPECT_EQ(target.fontSize(), 14);
    EXPECT_EQ(target.tabSize(), 8);
    EXPECT_EQ(target.autoIndentMode(), 2);
    EXPECT_TRUE(target.displayWhitespace());
    EXPECT_FALSE(target.lineNumbering());
    EXPECT_FALSE(target.enableDragDrop());
    EXPECT_TRUE(target.colorSyntax());
    EXPECT_EQ(target.colourItem(CodeEditor::ClrString), 0x123456);
    EXPECT_EQ(target.getFontStyle(CodeEditor::StyKeyword), CodeEditor::FontUnderline);
}

}  // namespace
