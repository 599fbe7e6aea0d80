#pragma once
// The C code editor used for every multi-line text of the property dialogs:
// a QScintilla editor with C colouring, addressed through numbered colour and
// font-style items so that the shared editor options can be stored as plain
// numbers. Texts use CR LF line ends.

#include <Qsci/qsciscintilla.h>

#include <QMouseEvent>
#include <QString>

#include <array>

class QsciLexerCPP;

namespace orvane {

// A language for the code editors. Every list holds one entry per line
// (LF-separated).
struct LanguageDefinition {
    bool caseSensitive = true;
    int style = 0;
    QString keywords;
    QString operators;
    QString singleLineComments;
    QString multiLineCommentsStart;
    QString multiLineCommentsEnd;
    QString scopeKeywordsStart;
    QString scopeKeywordsEnd;
    QString stringDelims;
    QString escapeChar;
    QString terminatorChar;
    QString tagAttributeNames;
    QString tagElementNames;
    QString tagEntities;
};

class CodeEditor : public QsciScintilla {
    Q_OBJECT
public:
    // Colour items: a text colour and its background per kind of token, then
    // the window, margins and decorations. -1 means "use the default": the
    // window colour for a background, the text colour for a foreground.
    enum ColorItem {
        ClrWindow = 0,
        ClrLeftMargin = 1,
        ClrBookmark = 2,
        ClrBookmarkBk = 3,
        ClrText = 4,
        ClrTextBk = 5,
        ClrNumber = 6,
        ClrNumberBk = 7,
        ClrKeyword = 8,
        ClrKeywordBk = 9,
        ClrOperator = 10,
        ClrOperatorBk = 11,
        ClrScopeKeyword = 12,
        ClrScopeKeywordBk = 13,
        ClrComment = 14,
        ClrCommentBk = 15,
        ClrString = 16,
        ClrStringBk = 17,
        ClrTagText = 18,
        ClrTagTextBk = 19,
        ClrTagEntity = 20,
        ClrTagEntityBk = 21,
        ClrTagElementName = 22,
        ClrTagElementNameBk = 23,
        ClrTagAttributeName = 24,
        ClrTagAttributeNameBk = 25,
        ClrLineNumber = 26,
        ClrLineNumberBk = 27,
        ClrHDividerLines = 28,
        ClrVDividerLines = 29,
        ClrHighlightedLine = 30,
        ColorItemCount = 31
    };
    // Font-style items, one per kind of token.
    enum FontStyleItem {
        StyText = 0,
        StyNumber = 1,
        StyKeyword = 2,
        StyOperator = 3,
        StyScopeKeyword = 4,
        StyComment = 5,
        StyString = 6,
        StyTagText = 7,
        StyTagAttributeName = 8,
        StyTagEntity = 9,
        StyTagElementName = 10,
        StyLineNumber = 11,
        FontStyleItemCount = 12
    };
    // Font-style values are bit sets.
    enum FontStyleBits { FontBold = 1, FontItalic = 2, FontUnderline = 4 };

    explicit CodeEditor(QWidget* parent = nullptr);
    ~CodeEditor() override;

    // The whole text; line breaks are stored as CR LF.
    QString code() const;
    void setCode(const QString& text);
    // Replaces the selection, or inserts at the caret.
    void replaceSelection(const QString& text);
    // The user cannot edit a read-only editor; setCode still works.
    bool isLocked() const;
    void setLocked(bool on);

    void setColourItem(int item, qint32 colour);
    qint32 colourItem(int item) const;
    void setFontStyle(int item, int style);
    int getFontStyle(int item) const;

    // The name of a registered language.
    QString language() const { return m_language; }
    void setLanguage(const QString& name);

    QString fontName() const { return m_fontName; }
    void setFontName(const QString& name);
    double fontSize() const { return m_fontSize; }
    void setFontSize(double points);

    bool colorSyntax() const { return m_colorSyntax; }
    void setColorSyntax(bool on);
    bool displayWhitespace() const { return m_displayWhitespace; }
    void setDisplayWhitespace(bool on);
    bool expandTabs() const { return m_expandTabs; }
    void setExpandTabs(bool on);
    bool smoothScrolling() const { return m_smoothScrolling; }
    void setSmoothScrolling(bool on);
    bool lineToolTips() const { return m_lineToolTips; }
    void setLineToolTips(bool on);
    bool displayLeftMargin() const { return m_displayLeftMargin; }
    void setDisplayLeftMargin(bool on);
    bool enableColumnSel() const { return m_enableColumnSel; }
    void setEnableColumnSel(bool on);
    bool enableDragDrop() const { return m_enableDragDrop; }
    void setEnableDragDrop(bool on);
    bool hScrollVisible() const { return m_hScrollVisible; }
    void setHScrollVisible(bool on);
    bool vScrollVisible() const { return m_vScrollVisible; }
    void setVScrollVisible(bool on);
    bool enableHSplitter() const { return m_enableHSplitter; }
    void setEnableHSplitter(bool on);
    bool enableVSplitter() const { return m_enableVSplitter; }
    void setEnableVSplitter(bool on);
    bool lineNumbering() const { return m_lineNumbering; }
    void setLineNumbering(bool on);
    bool normalizeCase() const { return m_normalizeCase; }
    void setNormalizeCase(bool on);
    bool overtypeCaret() const { return m_overtypeCaret; }
    void setOvertypeCaret(bool on);

    int tabSize() const { return m_tabSize; }
    void setTabSize(int columns);
    // 0 none, 1 keep the previous line's indentation, 2 also indent blocks.
    int autoIndentMode() const { return m_autoIndentMode; }
    void setAutoIndentMode(int mode);
    int lineNumberStyle() const { return m_lineNumberStyle; }
    void setLineNumberStyle(int style) { m_lineNumberStyle = style; }

    // Component-wide language table and key table.
    static void registerLanguage(const QString& name, const LanguageDefinition& definition);
    static void unregisterAllLanguages();
    static const LanguageDefinition* findLanguage(const QString& name);
    // Takes a key (Windows virtual-key code) out of every editor's own key
    // bindings, so that it reaches keyDown instead.
    static void removeHotKey(int virtualKey);
    // The Windows virtual-key code of a Qt key (0 when it has none).
    static int virtualKeyCode(int qtKey);

    // True when a focus change is the user moving between controls, not a
    // window switch or a popup menu; only those raise gotFocus and lostFocus.
    static bool isControlFocusChange(Qt::FocusReason reason);

    // Opens the editor's own options page on this editor.
    void showPropertyPage();

signals:
    void gotFocus();
    void lostFocus();
    // keyCode is a Windows virtual-key code, shift the bit set 1 Shift,
    // 2 Ctrl, 4 Alt. Setting handled swallows the key.
    void keyDown(int keyCode, int shift, bool& handled);
    // The user changed options through the property page.
    void optionsChangedByUser();

protected:
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    bool event(QEvent* e) override;
    bool isWindowKey(const QKeyEvent* e) const;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void contextMenuEvent(QContextMenuEvent* e) override;
    void dragEnterEvent(QDragEnterEvent* e) override;
    void dragMoveEvent(QDragMoveEvent* e) override;
    void dropEvent(QDropEvent* e) override;

private:
    void rebuildLexer();
    void applyStyles();
    void applyCaretStyle();
    void applyRectangularKeys();
    void applyRemovedHotKeys();
    void updateLineNumberMargin();
    void showLineToolTip(int value);
    // The mouse event with Alt taken away while column selection is off.
    QMouseEvent withoutColumnSelection(const QMouseEvent* e) const;
    QColor foreground(int item) const;
    QColor background(int item) const;
    QFont styledFont(int styleItem) const;

    QsciLexerCPP* m_lexer = nullptr;
    QString m_language;
    std::array<qint32, ColorItemCount> m_colors{};
    std::array<int, FontStyleItemCount> m_fontStyles{};
    QString m_fontName = QStringLiteral("Courier New");
    double m_fontSize = 10;
    bool m_colorSyntax = true;
    bool m_displayWhitespace = false;
    bool m_expandTabs = true;
    bool m_smoothScrolling = false;
    bool m_lineToolTips = false;
    bool m_displayLeftMargin = false;
    bool m_enableColumnSel = false;
    bool m_enableDragDrop = true;
    bool m_hScrollVisible = true;
    bool m_vScrollVisible = true;
    bool m_enableHSplitter = true;
    bool m_enableVSplitter = true;
    bool m_lineNumbering = true;
    bool m_normalizeCase = true;
    bool m_overtypeCaret = true;
    int m_tabSize = 4;
    int m_autoIndentMode = 1;
    int m_lineNumberStyle = 10;
    // The rectangular-selection commands' keys, kept while column selection is off.
    std::array<int, 9> m_rectKeys{};
};

}  // namespace orvane
