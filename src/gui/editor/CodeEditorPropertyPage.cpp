#include "CodeEditorPropertyPage.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace orvane {

namespace {
QColor fromColorRef(qint32 c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }
qint32 toColorRef(const QColor& c) { return c.red() | (c.green() << 8) | (c.blue() << 16); }
}  // namespace

CodeEditorPropertyPage::CodeEditorPropertyPage(const CodeEditor& editor, QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("CodeEditorPropertyPage"));
    setWindowTitle(tr("Editor Properties"));
    for (int i = 0; i < CodeEditor::ColorItemCount; ++i)
        m_colors[size_t(i)] = editor.colourItem(i);
    for (int i = 0; i < CodeEditor::FontStyleItemCount; ++i)
        m_styles[size_t(i)] = editor.getFontStyle(i);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(generalGroup(editor));
    layout->addWidget(switchesGroup(editor));
    layout->addWidget(coloursGroup());
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

// Font, tab size and automatic indentation.
QWidget* CodeEditorPropertyPage::generalGroup(const CodeEditor& editor)
{
    auto* general = new QGroupBox(tr("General"), this);
    auto* form = new QFormLayout(general);
    m_font = new QFontComboBox(general);
    m_font->setCurrentFont(QFont(editor.fontName()));
    m_fontSize = new QSpinBox(general);
    m_fontSize->setRange(3, 72);
    m_fontSize->setValue(qRound(editor.fontSize()));
    auto* fontRow = new QHBoxLayout;
    fontRow->addWidget(m_font, 1);
    fontRow->addWidget(m_fontSize);
    form->addRow(tr("Font:"), fontRow);
    m_tabSize = new QSpinBox(general);
    m_tabSize->setRange(1, 32);
    m_tabSize->setValue(editor.tabSize());
    form->addRow(tr("Tab size:"), m_tabSize);
    m_autoIndent = new QComboBox(general);
    m_autoIndent->addItems({tr("None"), tr("Keep the previous line's"), tr("Follow the blocks")});
    m_autoIndent->setCurrentIndex(std::clamp(editor.autoIndentMode(), 0, 2));
    form->addRow(tr("Auto indent:"), m_autoIndent);
    return general;
}

// The editor's on/off options, two to a row.
QWidget* CodeEditorPropertyPage::switchesGroup(const CodeEditor& editor)
{
    auto* display = new QGroupBox(tr("Options"), this);
    auto* grid = new QGridLayout(display);
    const auto addSwitch = [&](const QString& caption, bool (CodeEditor::*get)() const,
                               void (CodeEditor::*set)(bool)) {
        auto* box = new QCheckBox(caption, display);
        box->setChecked((editor.*get)());
        const int n = int(m_switches.size());
        grid->addWidget(box, n / 2, n % 2);
        m_switches.push_back({box, get, set});
    };
    addSwitch(tr("Colour syntax"), &CodeEditor::colorSyntax, &CodeEditor::setColorSyntax);
    addSwitch(tr("Show white space"), &CodeEditor::displayWhitespace,
              &CodeEditor::setDisplayWhitespace);
    addSwitch(tr("Expand tabs"), &CodeEditor::expandTabs, &CodeEditor::setExpandTabs);
    addSwitch(tr("Line numbers"), &CodeEditor::lineNumbering, &CodeEditor::setLineNumbering);
    addSwitch(tr("Left margin"), &CodeEditor::displayLeftMargin, &CodeEditor::setDisplayLeftMargin);
    addSwitch(tr("Line tool tips while scrolling"), &CodeEditor::lineToolTips,
              &CodeEditor::setLineToolTips);
    addSwitch(tr("Column selection (Alt+drag)"), &CodeEditor::enableColumnSel,
              &CodeEditor::setEnableColumnSel);
    addSwitch(tr("Drag and drop"), &CodeEditor::enableDragDrop, &CodeEditor::setEnableDragDrop);
    addSwitch(tr("Horizontal scroll bar"), &CodeEditor::hScrollVisible,
              &CodeEditor::setHScrollVisible);
    addSwitch(tr("Vertical scroll bar"), &CodeEditor::vScrollVisible,
              &CodeEditor::setVScrollVisible);
    addSwitch(tr("Block caret when overtyping"), &CodeEditor::overtypeCaret,
              &CodeEditor::setOvertypeCaret);
    return display;
}

// Colours and font style of each kind of token.
QWidget* CodeEditorPropertyPage::coloursGroup()
{
    using E = CodeEditor;
    m_tokens = {
        {tr("Text"), E::ClrText, E::ClrTextBk, E::StyText},
        {tr("Keywords"), E::ClrKeyword, E::ClrKeywordBk, E::StyKeyword},
        {tr("Operators"), E::ClrOperator, E::ClrOperatorBk, E::StyOperator},
        {tr("Scope keywords"), E::ClrScopeKeyword, E::ClrScopeKeywordBk, E::StyScopeKeyword},
        {tr("Comments"), E::ClrComment, E::ClrCommentBk, E::StyComment},
        {tr("Numbers"), E::ClrNumber, E::ClrNumberBk, E::StyNumber},
        {tr("Strings"), E::ClrString, E::ClrStringBk, E::StyString},
        {tr("Line numbers"), E::ClrLineNumber, E::ClrLineNumberBk, E::StyLineNumber},
    };
    auto* colours = new QGroupBox(tr("Colours"), this);
    auto* colourGrid = new QGridLayout(colours);
    m_token = new QComboBox(colours);
    for (const TokenKind& t : m_tokens)
        m_token->addItem(t.caption);
    colourGrid->addWidget(m_token, 0, 0);
    auto* fore = new QPushButton(tr("Text colour..."), colours);
    auto* back = new QPushButton(tr("Background..."), colours);
    colourGrid->addWidget(fore, 0, 1);
    colourGrid->addWidget(back, 0, 2);
    m_bold = new QCheckBox(tr("Bold"), colours);
    m_italic = new QCheckBox(tr("Italic"), colours);
    m_underline = new QCheckBox(tr("Underline"), colours);
    colourGrid->addWidget(m_bold, 1, 1);
    colourGrid->addWidget(m_italic, 1, 2);
    colourGrid->addWidget(m_underline, 1, 3);

    connect(m_token, &QComboBox::currentIndexChanged, this, &CodeEditorPropertyPage::showToken);
    connect(fore, &QPushButton::clicked, this,
            [this] { chooseColour(m_tokens[size_t(m_token->currentIndex())].foreItem); });
    connect(back, &QPushButton::clicked, this,
            [this] { chooseColour(m_tokens[size_t(m_token->currentIndex())].backItem); });
    connect(m_bold, &QCheckBox::clicked, this,
            [this](bool on) { setStyleBit(CodeEditor::FontBold, on); });
    connect(m_italic, &QCheckBox::clicked, this,
            [this](bool on) { setStyleBit(CodeEditor::FontItalic, on); });
    connect(m_underline, &QCheckBox::clicked, this,
            [this](bool on) { setStyleBit(CodeEditor::FontUnderline, on); });
    showToken(0);
    return colours;
}

void CodeEditorPropertyPage::showToken(int index)
{
    if (index < 0 || index >= int(m_tokens.size()))
        return;
    const int bits = m_styles[size_t(m_tokens[size_t(index)].styleItem)];
    m_bold->setChecked(bits & CodeEditor::FontBold);
    m_italic->setChecked(bits & CodeEditor::FontItalic);
    m_underline->setChecked(bits & CodeEditor::FontUnderline);
}

void CodeEditorPropertyPage::chooseColour(int item)
{
    const qint32 current = m_colors[size_t(item)];
    const QColor chosen =
        QColorDialog::getColor(current >= 0 ? fromColorRef(current) : QColor(Qt::white), this);
    if (chosen.isValid())
        m_colors[size_t(item)] = toColorRef(chosen);
}

void CodeEditorPropertyPage::setStyleBit(int bit, bool on)
{
    int& bits = m_styles[size_t(m_tokens[size_t(m_token->currentIndex())].styleItem)];
    bits = on ? (bits | bit) : (bits & ~bit);
}

void CodeEditorPropertyPage::applyTo(CodeEditor& editor) const
{
    editor.setFontName(m_font->currentFont().family());
    editor.setFontSize(m_fontSize->value());
    editor.setTabSize(m_tabSize->value());
    editor.setAutoIndentMode(m_autoIndent->currentIndex());
    for (const Switch& s : m_switches)
        (editor.*s.set)(s.box->isChecked());
    for (int i = 0; i < CodeEditor::ColorItemCount; ++i)
        editor.setColourItem(i, m_colors[size_t(i)]);
    for (int i = 0; i < CodeEditor::FontStyleItemCount; ++i)
        editor.setFontStyle(i, m_styles[size_t(i)]);
}

}  // namespace orvane
