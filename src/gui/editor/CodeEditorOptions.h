#pragma once
// The options shared by every code editor of the program: font, tabs and
// display switches (settings section "cMax"), the colour table and the C
// language lists (file "Coder.ini"). One instance lives for the whole
// interactive session; it is written back when it is destroyed.

#include "CodeEditor.h"

#include <QString>

#include <array>

namespace orvane {

class Messenger;

class CodeEditorOptions {
public:
    struct Scalars {
        bool displayWhiteSpace = false;
        QString fontName = QStringLiteral("Courier New");
        qint16 fontSize = 10;
        qint16 autoIndentMode = 1;
        qint16 tabSize = 4;
        bool expandTabs = true;
        bool normalizeCase = true;
        bool smoothScrolling = false;
        bool displayLeftMargin = false;
        bool lineToolTips = false;
        bool enableDragDrop = true;
        bool enableColumnSel = false;
        bool overtypeCaret = true;
        bool colorSyntax = true;
        bool hScrollVisible = true;
        bool vScrollVisible = true;
        bool enableHSplitter = true;
        bool enableVSplitter = true;
        bool lineNumbering = true;
    };
    struct ColourEntry {
        qint32 bg = 0;
        qint32 fr = 0;
        qint32 fontStyle = 0;
        friend bool operator==(const ColourEntry&, const ColourEntry&) = default;
    };
    static constexpr int kColourEntries = 18;
    using ColourTable = std::array<ColourEntry, kColourEntries>;

    // The name under which the C language is registered.
    static inline const QString kLanguageName = QStringLiteral("my_C");

    // Reads the scalar options from the settings and the colour table and
    // language from `coderIni`; registers the language. A damaged or
    // missing colour table is replaced by the defaults and written to the
    // file; a damaged one (in a file that exists) is reported through
    // `messenger`.
    explicit CodeEditorOptions(Messenger& messenger, const QString& coderIni = coderIniPath());
    // Writes the scalar options and the colour table back.
    ~CodeEditorOptions();
    CodeEditorOptions(const CodeEditorOptions&) = delete;
    CodeEditorOptions& operator=(const CodeEditorOptions&) = delete;

    // Applies the shared options to an editor.
    void getConfig(CodeEditor& editor) const;
    // Takes an editor's options into the shared set.
    void setConfig(const CodeEditor& editor);

    const Scalars& scalars() const { return m_scalars; }
    const ColourTable& colours() const { return m_colours; }
    const LanguageDefinition& language() const { return m_language; }
    const QString& coderIni() const { return m_coderIni; }

    static ColourTable defaultColours();
    // The Coder.ini beside the program when it is there and writable, else
    // the per-user copy. A missing user copy is made from the program's
    // copy, else from the installed one (ORVANE_DATA_FROM_PROGRAM, relative
    // to the program's folder), else from the copy built into the program.
    static QString coderIniPath();
    static QString coderIniPath(const QString& programFolder, const QString& userFolder);

private:
    void readScalars();
    void writeScalars() const;
    // False when a value is missing or not a number.
    bool loadColours();
    void saveColours() const;
    void loadLanguage();
    QString readList(const QString& section, const QString& prefix) const;

    QString m_coderIni;
    Scalars m_scalars;
    ColourTable m_colours{};
    LanguageDefinition m_language;
};

}  // namespace orvane
