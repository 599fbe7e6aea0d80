#pragma once
// The code editor's own options page: font, tabs, display switches and the
// colours of each kind of token. It edits a copy and writes it into an
// editor only when the user accepts.

#include "CodeEditor.h"

#include <QDialog>

#include <array>
#include <vector>

class QCheckBox;
class QComboBox;
class QFontComboBox;
class QSpinBox;

namespace orvane {

class CodeEditorPropertyPage : public QDialog {
    Q_OBJECT
public:
    CodeEditorPropertyPage(const CodeEditor& editor, QWidget* parent = nullptr);
    // Writes the page's values into an editor.
    void applyTo(CodeEditor& editor) const;

private:
    struct Switch {
        QCheckBox* box;
        bool (CodeEditor::*get)() const;
        void (CodeEditor::*set)(bool);
    };
    struct TokenKind {
        QString caption;
        int foreItem;
        int backItem;
        int styleItem;
    };
    QWidget* generalGroup(const CodeEditor& editor);
    QWidget* switchesGroup(const CodeEditor& editor);
    QWidget* coloursGroup();
    void showToken(int index);
    void chooseColour(int item);
    void setStyleBit(int bit, bool on);

    QFontComboBox* m_font = nullptr;
    QSpinBox* m_fontSize = nullptr;
    QSpinBox* m_tabSize = nullptr;
    QComboBox* m_autoIndent = nullptr;
    QComboBox* m_token = nullptr;
    QCheckBox* m_bold = nullptr;
    QCheckBox* m_italic = nullptr;
    QCheckBox* m_underline = nullptr;
    std::vector<Switch> m_switches;
    std::vector<TokenKind> m_tokens;
    std::array<qint32, CodeEditor::ColorItemCount> m_colors{};
    std::array<int, CodeEditor::FontStyleItemCount> m_styles{};
};

}  // namespace orvane
