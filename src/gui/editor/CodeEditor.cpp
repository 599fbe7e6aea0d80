#include "CodeEditor.h"

#include "CodeEditorPropertyPage.h"

#include <Qsci/qscicommand.h>
#include <Qsci/qscicommandset.h>
#include <Qsci/qscilexercpp.h>

#include <QApplication>
#include <QContextMenuEvent>
#include <QCursor>
#include <QDragEnterEvent>
#include <QFocusEvent>
#include <QHash>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QScrollBar>
#include <QSet>
#include <QToolTip>

namespace orvane {

namespace {

// The C lexer with its keyword sets taken from a language definition.
class LanguageLexer : public QsciLexerCPP {
public:
    LanguageLexer(QObject* parent, const LanguageDefinition* def)
        : QsciLexerCPP(parent, def && !def->caseSensitive)
    {
        if (!def)
            return;
        m_keywords = words(def->keywords);
        m_scopeWords = words(def->scopeKeywordsStart + QLatin1Char('\n') + def->scopeKeywordsEnd);
    }
    const char* keywords(int set) const override
    {
        if (set == 1)
            return m_keywords.constData();
        if (set == 2)
            return m_scopeWords.constData();
        return nullptr;
    }

private:
    // The lexer wants words separated by blanks; entries with blanks inside
    // could never match a word and are dropped.
    static QByteArray words(const QString& lines)
    {
        QStringList words;
        for (const QString& line : lines.split(QLatin1Char('\n'))) {
            const QString w = line.trimmed();
            if (!w.isEmpty() && !w.contains(QLatin1Char(' ')))
                words.append(w);
        }
        return words.join(QLatin1Char(' ')).toUtf8();
    }
    QByteArray m_keywords;
    QByteArray m_scopeWords;
};

struct StyleMap {
    int lexerStyle;
    int foreItem;
    int backItem;
    int styleItem;
};

using E = CodeEditor;
// Which colour and font-style items each style of the C lexer shows.
constexpr StyleMap kStyleMap[] = {
    {QsciLexerCPP::Default, E::ClrText, E::ClrTextBk, E::StyText},
    {QsciLexerCPP::Comment, E::ClrComment, E::ClrCommentBk, E::StyComment},
    {QsciLexerCPP::CommentLine, E::ClrComment, E::ClrCommentBk, E::StyComment},
    {QsciLexerCPP::CommentDoc, E::ClrComment, E::ClrCommentBk, E::StyComment},
    {QsciLexerCPP::Number, E::ClrNumber, E::ClrNumberBk, E::StyNumber},
    {QsciLexerCPP::Keyword, E::ClrKeyword, E::ClrKeywordBk, E::StyKeyword},
    {QsciLexerCPP::DoubleQuotedString, E::ClrString, E::ClrStringBk, E::StyString},
    {QsciLexerCPP::SingleQuotedString, E::ClrString, E::ClrStringBk, E::StyString},
    {QsciLexerCPP::UUID, E::ClrText, E::ClrTextBk, E::StyText},
    {QsciLexerCPP::PreProcessor, E::ClrKeyword, E::ClrKeywordBk, E::StyKeyword},
    {QsciLexerCPP::Operator, E::ClrOperator, E::ClrOperatorBk, E::StyOperator},
    {QsciLexerCPP::Identifier, E::ClrText, E::ClrTextBk, E::StyText},
    {QsciLexerCPP::UnclosedString, E::ClrString, E::ClrStringBk, E::StyString},
    {QsciLexerCPP::VerbatimString, E::ClrString, E::ClrStringBk, E::StyString},
    {QsciLexerCPP::Regex, E::ClrText, E::ClrTextBk, E::StyText},
    {QsciLexerCPP::CommentLineDoc, E::ClrComment, E::ClrCommentBk, E::StyComment},
    {QsciLexerCPP::KeywordSet2, E::ClrScopeKeyword, E::ClrScopeKeywordBk, E::StyScopeKeyword},
    {QsciLexerCPP::CommentDocKeyword, E::ClrComment, E::ClrCommentBk, E::StyComment},
    {QsciLexerCPP::CommentDocKeywordError, E::ClrComment, E::ClrCommentBk, E::StyComment},
    {QsciLexerCPP::GlobalClass, E::ClrText, E::ClrTextBk, E::StyText},
    {QsciLexerCPP::RawString, E::ClrString, E::ClrStringBk, E::StyString},
    {QsciLexerCPP::TripleQuotedVerbatimString, E::ClrString, E::ClrStringBk, E::StyString},
    {QsciLexerCPP::HashQuotedString, E::ClrString, E::ClrStringBk, E::StyString},
    {QsciLexerCPP::PreProcessorComment, E::ClrComment, E::ClrCommentBk, E::StyComment},
    {QsciLexerCPP::PreProcessorCommentLineDoc, E::ClrComment, E::ClrCommentBk, E::StyComment},
    {QsciLexerCPP::UserLiteral, E::ClrString, E::ClrStringBk, E::StyString},
    {QsciLexerCPP::TaskMarker, E::ClrComment, E::ClrCommentBk, E::StyComment},
    {QsciLexerCPP::EscapeSequence, E::ClrString, E::ClrStringBk, E::StyString},
};

// Colours before any options are applied (the shipped defaults).
constexpr std::array<qint32, CodeEditor::ColorItemCount> kDefaultColors = {
    0xFFFFFF, 0xFFFFFF, -1,       -1,       0,        -1,       0,        -1,
    0xFF0000, -1,       0x0000FF, -1,       0xFF0000, -1,       0x008000, -1,
    0x800080, -1,       0,        -1,       0x0000FF, -1,       0x000080, -1,
    0xFF0000, -1,       0x101010, 0xA0A0A0, 0xFFFFFF, 0xFFFFFF, 0x00FFFF};
constexpr std::array<int, CodeEditor::FontStyleItemCount> kDefaultFontStyles = {0, 0, 1, 0, 0, 2,
                                                                                0, 1, 0, 0, 0, 0};

// The rectangular-selection commands, unbound while column selection is off.
constexpr QsciCommand::Command kRectCommands[] = {
    QsciCommand::LineDownRectExtend, QsciCommand::LineUpRectExtend,
    QsciCommand::CharLeftRectExtend, QsciCommand::CharRightRectExtend,
    QsciCommand::HomeRectExtend,     QsciCommand::VCHomeRectExtend,
    QsciCommand::LineEndRectExtend,  QsciCommand::PageUpRectExtend,
    QsciCommand::PageDownRectExtend,
};

QHash<QString, LanguageDefinition>& languages()
{
    static QHash<QString, LanguageDefinition> table;
    return table;
}

QSet<int>& removedHotKeys()
{
    static QSet<int> keys;
    return keys;
}

// A Windows colour value 0x00BBGGRR.
QColor fromColorRef(qint32 c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }

// Every line break as CR LF.
QString withCrLf(const QString& text)
{
    if (!text.contains(QLatin1Char('\n')) && !text.contains(QLatin1Char('\r')))
        return text;
    QString t = text;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    t.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return t;
}

int shiftBits(Qt::KeyboardModifiers m)
{
    return ((m & Qt::ShiftModifier) ? 1 : 0) | ((m & Qt::ControlModifier) ? 2 : 0)
           | ((m & Qt::AltModifier) ? 4 : 0);
}
}  // namespace

CodeEditor::CodeEditor(QWidget* parent) : QsciScintilla(parent)
{
    m_colors = kDefaultColors;
    m_fontStyles = kDefaultFontStyles;
    setUtf8(true);
    setEolMode(EolWindows);
    SendScintilla(SCI_SETPASTECONVERTENDINGS, 1);
    setMarginType(0, NumberMargin);
    setMarginType(1, SymbolMarginColor);
    setMarginWidth(2, 0);
    setIndentationWidth(0);
    rebuildLexer();
    setTabSize(m_tabSize);
    setAutoIndentMode(m_autoIndentMode);
    setExpandTabs(m_expandTabs);
    setDisplayWhitespace(m_displayWhitespace);
    setDisplayLeftMargin(m_displayLeftMargin);
    setLineNumbering(m_lineNumbering);
    setHScrollVisible(m_hScrollVisible);
    setVScrollVisible(m_vScrollVisible);
    applyCaretStyle();
    applyRectangularKeys();
    applyRemovedHotKeys();
    connect(this, &QsciScintilla::linesChanged, this, &CodeEditor::updateLineNumberMargin);
    connect(verticalScrollBar(), &QScrollBar::sliderMoved, this, &CodeEditor::showLineToolTip);
}

CodeEditor::~CodeEditor() = default;

QString CodeEditor::code() const { return text(); }

void CodeEditor::setCode(const QString& t)
{
    setText(withCrLf(t));
    SendScintilla(SCI_EMPTYUNDOBUFFER);
}

void CodeEditor::replaceSelection(const QString& t) { replaceSelectedText(withCrLf(t)); }

bool CodeEditor::isLocked() const { return isReadOnly(); }

void CodeEditor::setLocked(bool on) { setReadOnly(on); }

void CodeEditor::setColourItem(int item, qint32 colour)
{
    if (item < 0 || item >= ColorItemCount)
        return;
    m_colors[size_t(item)] = colour;
    applyStyles();
}

qint32 CodeEditor::colourItem(int item) const
{
    return item >= 0 && item < ColorItemCount ? m_colors[size_t(item)] : -1;
}

void CodeEditor::setFontStyle(int item, int style)
{
    if (item < 0 || item >= FontStyleItemCount)
        return;
    m_fontStyles[size_t(item)] = style;
    applyStyles();
}

int CodeEditor::getFontStyle(int item) const
{
    return item >= 0 && item < FontStyleItemCount ? m_fontStyles[size_t(item)] : 0;
}

void CodeEditor::setLanguage(const QString& name)
{
    // The options are applied on every focus change; the lexer is only
    // rebuilt when the language really changes.
    if (name == m_language && m_lexer)
        return;
    m_language = name;
    rebuildLexer();
}

void CodeEditor::setFontName(const QString& name)
{
    m_fontName = name;
    applyStyles();
}

void CodeEditor::setFontSize(double points)
{
    if (points > 0)
        m_fontSize = points;
    applyStyles();
}

void CodeEditor::setColorSyntax(bool on)
{
    m_colorSyntax = on;
    applyStyles();
}

void CodeEditor::setDisplayWhitespace(bool on)
{
    m_displayWhitespace = on;
    setWhitespaceVisibility(on ? WsVisible : WsInvisible);
}

void CodeEditor::setExpandTabs(bool on)
{
    m_expandTabs = on;
    setIndentationsUseTabs(!on);
}

void CodeEditor::setSmoothScrolling(bool on) { m_smoothScrolling = on; }

void CodeEditor::setLineToolTips(bool on) { m_lineToolTips = on; }

void CodeEditor::setDisplayLeftMargin(bool on)
{
    m_displayLeftMargin = on;
    setMarginWidth(1, on ? 12 : 0);
}

void CodeEditor::setEnableColumnSel(bool on)
{
    m_enableColumnSel = on;
    applyRectangularKeys();
}

void CodeEditor::setEnableDragDrop(bool on) { m_enableDragDrop = on; }

void CodeEditor::setHScrollVisible(bool on)
{
    m_hScrollVisible = on;
    SendScintilla(SCI_SETHSCROLLBAR, on ? 1 : 0);
}

void CodeEditor::setVScrollVisible(bool on)
{
    m_vScrollVisible = on;
    SendScintilla(SCI_SETVSCROLLBAR, on ? 1 : 0);
}

void CodeEditor::setEnableHSplitter(bool on) { m_enableHSplitter = on; }

void CodeEditor::setEnableVSplitter(bool on) { m_enableVSplitter = on; }

void CodeEditor::setLineNumbering(bool on)
{
    m_lineNumbering = on;
    setMarginLineNumbers(0, on);
    updateLineNumberMargin();
}

void CodeEditor::setNormalizeCase(bool on) { m_normalizeCase = on; }

void CodeEditor::setOvertypeCaret(bool on)
{
    m_overtypeCaret = on;
    applyCaretStyle();
}

void CodeEditor::setTabSize(int columns)
{
    if (columns > 0)
        m_tabSize = columns;
    setTabWidth(m_tabSize);
}

void CodeEditor::setAutoIndentMode(int mode)
{
    m_autoIndentMode = mode;
    setAutoIndent(mode != 0);
    if (m_lexer)
        m_lexer->setAutoIndentStyle(mode >= 2 ? 0 : AiMaintain);
}

void CodeEditor::registerLanguage(const QString& name, const LanguageDefinition& definition)
{
    languages().insert(name, definition);
}

void CodeEditor::unregisterAllLanguages() { languages().clear(); }

const LanguageDefinition* CodeEditor::findLanguage(const QString& name)
{
    const auto it = languages().constFind(name);
    return it == languages().constEnd() ? nullptr : &it.value();
}

void CodeEditor::removeHotKey(int virtualKey)
{
    removedHotKeys().insert(virtualKey);
    for (QWidget* w : QApplication::allWidgets())
        if (auto* editor = qobject_cast<CodeEditor*>(w))
            editor->applyRemovedHotKeys();
}

int CodeEditor::virtualKeyCode(int qtKey)
{
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24)
        return 112 + (qtKey - Qt::Key_F1);
    if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) || (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9))
        return qtKey;
    switch (qtKey) {
    case Qt::Key_Backspace:
        return 8;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return 9;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return 13;
    case Qt::Key_Shift:
        return 16;
    case Qt::Key_Control:
        return 17;
    case Qt::Key_Alt:
        return 18;
    case Qt::Key_Escape:
        return 27;
    case Qt::Key_Space:
        return 32;
    case Qt::Key_PageUp:
        return 33;
    case Qt::Key_PageDown:
        return 34;
    case Qt::Key_End:
        return 35;
    case Qt::Key_Home:
        return 36;
    case Qt::Key_Left:
        return 37;
    case Qt::Key_Up:
        return 38;
    case Qt::Key_Right:
        return 39;
    case Qt::Key_Down:
        return 40;
    case Qt::Key_Insert:
        return 45;
    case Qt::Key_Delete:
        return 46;
    default:
        return 0;
    }
}

bool CodeEditor::isControlFocusChange(Qt::FocusReason reason)
{
    return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
}

void CodeEditor::showPropertyPage()
{
    CodeEditorPropertyPage page(*this, this);
    if (page.exec() == QDialog::Accepted) {
        page.applyTo(*this);
        emit optionsChangedByUser();
    }
}

void CodeEditor::focusInEvent(QFocusEvent* e)
{
    QsciScintilla::focusInEvent(e);
    if (isControlFocusChange(e->reason()))
        emit gotFocus();
}

void CodeEditor::focusOutEvent(QFocusEvent* e)
{
    QsciScintilla::focusOutEvent(e);
    if (isControlFocusChange(e->reason()))
        emit lostFocus();
}

// Alt+letter is a dialog's button or a menu, never text: a combination the
// editor has no command for belongs to the window around it.
bool CodeEditor::isWindowKey(const QKeyEvent* e) const
{
    const Qt::KeyboardModifiers mods = e->modifiers() & ~Qt::KeypadModifier;
    return (mods & Qt::AltModifier) && !(mods & Qt::ControlModifier) && !e->text().isEmpty()
           && !const_cast<CodeEditor*>(this)->standardCommands()->boundTo(e->key() | int(mods));
}

bool CodeEditor::event(QEvent* e)
{
    // The editor would claim the key before the window's shortcuts see it.
    if (e->type() == QEvent::ShortcutOverride && isWindowKey(static_cast<QKeyEvent*>(e))) {
        e->ignore();
        return false;
    }
    return QsciScintilla::event(e);
}

void CodeEditor::keyPressEvent(QKeyEvent* e)
{
    bool handled = false;
    emit keyDown(virtualKeyCode(e->key()), shiftBits(e->modifiers()), handled);
    if (handled) {
        e->accept();
        return;
    }
    // Esc belongs to the dialog around the editor (its Cancel button)
    // unless a completion list or call tip is open.
    if (e->key() == Qt::Key_Escape && e->modifiers() == Qt::NoModifier && !isListActive()
        && !isCallTipActive()) {
        e->ignore();
        return;
    }
    if (isWindowKey(e)) {
        e->ignore();
        return;
    }
    QsciScintilla::keyPressEvent(e);
    if (e->key() == Qt::Key_Insert)
        applyCaretStyle();
}

// Alt+drag makes a column selection; without column selection the drag is
// an ordinary one.
void CodeEditor::mousePressEvent(QMouseEvent* e)
{
    QMouseEvent plain = withoutColumnSelection(e);
    QsciScintilla::mousePressEvent(&plain);
}

void CodeEditor::mouseMoveEvent(QMouseEvent* e)
{
    QMouseEvent plain = withoutColumnSelection(e);
    QsciScintilla::mouseMoveEvent(&plain);
}

QMouseEvent CodeEditor::withoutColumnSelection(const QMouseEvent* e) const
{
    const Qt::KeyboardModifiers mods =
        m_enableColumnSel ? e->modifiers() : e->modifiers() & ~Qt::AltModifier;
    return QMouseEvent(e->type(), e->position(), e->scenePosition(), e->globalPosition(),
                       e->button(), e->buttons(), mods, e->pointingDevice());
}

void CodeEditor::contextMenuEvent(QContextMenuEvent* e)
{
    QMenu* menu = createStandardContextMenu();
    if (!menu)
        return;
    menu->addSeparator();
    menu->addAction(tr("Properties..."), this, &CodeEditor::showPropertyPage);
    menu->exec(e->globalPos());
    delete menu;
}

void CodeEditor::dragEnterEvent(QDragEnterEvent* e)
{
    if (m_enableDragDrop)
        QsciScintilla::dragEnterEvent(e);
    else
        e->ignore();
}

void CodeEditor::dragMoveEvent(QDragMoveEvent* e)
{
    if (m_enableDragDrop)
        QsciScintilla::dragMoveEvent(e);
    else
        e->ignore();
}

void CodeEditor::dropEvent(QDropEvent* e)
{
    if (m_enableDragDrop)
        QsciScintilla::dropEvent(e);
    else
        e->ignore();
}

void CodeEditor::rebuildLexer()
{
    QsciLexerCPP* old = m_lexer;
    m_lexer = new LanguageLexer(this, findLanguage(m_language));
    setLexer(m_lexer);
    delete old;
    setAutoIndentMode(m_autoIndentMode);
    applyStyles();
}

QColor CodeEditor::background(int item) const
{
    const qint32 c = m_colors[size_t(item)];
    if (c >= 0)
        return fromColorRef(c);
    const qint32 window = m_colors[ClrWindow];
    return window >= 0 ? fromColorRef(window) : QColor(Qt::white);
}

QColor CodeEditor::foreground(int item) const
{
    const qint32 c = m_colors[size_t(item)];
    if (c >= 0)
        return fromColorRef(c);
    const qint32 text = m_colors[ClrText];
    return text >= 0 ? fromColorRef(text) : QColor(Qt::black);
}

QFont CodeEditor::styledFont(int styleItem) const
{
    QFont f(m_fontName);
    f.setPointSizeF(m_fontSize);
    const int bits = m_fontStyles[size_t(styleItem)];
    f.setBold(bits & FontBold);
    f.setItalic(bits & FontItalic);
    f.setUnderline(bits & FontUnderline);
    return f;
}

void CodeEditor::applyStyles()
{
    if (!m_lexer)
        return;
    m_lexer->setDefaultFont(styledFont(StyText));
    m_lexer->setDefaultColor(foreground(ClrText));
    m_lexer->setDefaultPaper(background(ClrTextBk));
    for (const StyleMap& s : kStyleMap) {
        // Without syntax colouring every token looks like plain text.
        const StyleMap& shown =
            m_colorSyntax ? s : StyleMap{s.lexerStyle, ClrText, ClrTextBk, StyText};
        for (int style : {shown.lexerStyle, shown.lexerStyle + 64}) {
            m_lexer->setColor(foreground(shown.foreItem), style);
            m_lexer->setPaper(background(shown.backItem), style);
            m_lexer->setFont(styledFont(shown.styleItem), style);
        }
    }
    // Blank space beyond the end of lines shows the window colour.
    SendScintilla(SCI_STYLESETBACK, STYLE_DEFAULT, background(ClrTextBk));
    setMarginsFont(styledFont(StyLineNumber));
    setMarginsForegroundColor(foreground(ClrLineNumber));
    setMarginsBackgroundColor(background(ClrLineNumberBk));
    setMarginBackgroundColor(1, background(ClrLeftMargin));
    setCaretForegroundColor(foreground(ClrText));
    updateLineNumberMargin();
}

void CodeEditor::applyCaretStyle()
{
    const bool block = overwriteMode() && m_overtypeCaret;
    SendScintilla(SCI_SETCARETSTYLE, block ? CARETSTYLE_BLOCK : CARETSTYLE_LINE);
}

void CodeEditor::applyRectangularKeys()
{
    QsciCommandSet* set = standardCommands();
    for (size_t i = 0; i < std::size(kRectCommands); ++i) {
        QsciCommand* cmd = set->find(kRectCommands[i]);
        if (!cmd)
            continue;
        if (m_rectKeys[i] == 0 && cmd->key() != 0)
            m_rectKeys[i] = cmd->key();
        cmd->setKey(m_enableColumnSel ? m_rectKeys[i] : 0);
    }
}

void CodeEditor::applyRemovedHotKeys()
{
    for (QsciCommand* cmd : standardCommands()->commands()) {
        for (int vk : removedHotKeys()) {
            if (virtualKeyCode(cmd->key()) == vk && (cmd->key() & Qt::KeyboardModifierMask) == 0)
                cmd->setKey(0);
            if (virtualKeyCode(cmd->alternateKey()) == vk
                && (cmd->alternateKey() & Qt::KeyboardModifierMask) == 0)
                cmd->setAlternateKey(0);
        }
    }
}

void CodeEditor::updateLineNumberMargin()
{
    if (!m_lineNumbering) {
        setMarginWidth(0, 0);
        return;
    }
    const int digits = QString::number(std::max(lines(), 1)).size();
    setMarginWidth(0, QString(digits + 1, QLatin1Char('9')));
}

void CodeEditor::showLineToolTip(int value)
{
    if (m_lineToolTips)
        QToolTip::showText(QCursor::pos(), tr("Line %1").arg(value + 1), this);
}

}  // namespace orvane
