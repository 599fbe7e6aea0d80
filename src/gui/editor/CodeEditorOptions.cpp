#include "CodeEditorOptions.h"

#include "AppSettings.h"
#include "Messenger.h"
#include "ProfileFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace orvane {

namespace {
const QString kGroup = QStringLiteral("cMax");
const QString kColors = QStringLiteral("Colors");
const QString kFileName = QStringLiteral("Coder.ini");
constexpr int kF2 = 113;

struct BoolOption {
    const char* key;
    bool CodeEditorOptions::Scalars::*member;
    bool (CodeEditor::*get)() const;
    void (CodeEditor::*set)(bool);
};

using S = CodeEditorOptions::Scalars;
using E = CodeEditor;
// The Boolean options in the order in which they are read and written,
// "fontName", "fontSize", "autoIndentMode" and "tabSize" coming after the
// first one.
const BoolOption kFirstBool = {"displayWhiteSpace", &S::displayWhiteSpace, &E::displayWhitespace,
                               &E::setDisplayWhitespace};
const BoolOption kOtherBools[] = {
    {"expandTabs", &S::expandTabs, &E::expandTabs, &E::setExpandTabs},
    {"normalizeCase", &S::normalizeCase, &E::normalizeCase, &E::setNormalizeCase},
    {"smoothScrolling", &S::smoothScrolling, &E::smoothScrolling, &E::setSmoothScrolling},
    {"displayLeftMargin", &S::displayLeftMargin, &E::displayLeftMargin, &E::setDisplayLeftMargin},
    {"lineToolTips", &S::lineToolTips, &E::lineToolTips, &E::setLineToolTips},
    {"enableDragDrop", &S::enableDragDrop, &E::enableDragDrop, &E::setEnableDragDrop},
    {"enableColumnSel", &S::enableColumnSel, &E::enableColumnSel, &E::setEnableColumnSel},
    {"overtypeCaret", &S::overtypeCaret, &E::overtypeCaret, &E::setOvertypeCaret},
    {"colorSyntax", &S::colorSyntax, &E::colorSyntax, &E::setColorSyntax},
    {"hScrollVisible", &S::hScrollVisible, &E::hScrollVisible, &E::setHScrollVisible},
    {"vScrollVisible", &S::vScrollVisible, &E::vScrollVisible, &E::setVScrollVisible},
    {"enableHSplitter", &S::enableHSplitter, &E::enableHSplitter, &E::setEnableHSplitter},
    {"enableVSplitter", &S::enableVSplitter, &E::enableVSplitter, &E::setEnableVSplitter},
    {"lineNumbering", &S::lineNumbering, &E::lineNumbering, &E::setLineNumbering},
};

// Which editor items each colour-table entry feeds (-1: stored only).
struct EntryUse {
    int bgItem;
    int frItem;
    int styleItem;
};
constexpr EntryUse kEntryUse[CodeEditorOptions::kColourEntries] = {
    {E::ClrBookmarkBk, E::ClrBookmark, -1},
    {E::ClrCommentBk, E::ClrComment, E::StyComment},
    {-1, E::ClrHDividerLines, -1},
    {-1, E::ClrVDividerLines, -1},
    {-1, E::ClrHighlightedLine, -1},
    {E::ClrKeywordBk, E::ClrKeyword, E::StyKeyword},
    {-1, E::ClrLeftMargin, -1},
    {E::ClrLineNumberBk, E::ClrLineNumber, E::StyLineNumber},
    {E::ClrNumberBk, E::ClrNumber, E::StyNumber},
    {E::ClrOperatorBk, E::ClrOperator, E::StyOperator},
    {E::ClrScopeKeywordBk, E::ClrScopeKeyword, E::StyScopeKeyword},
    {E::ClrStringBk, E::ClrString, E::StyString},
    {E::ClrTagElementNameBk, E::ClrTagElementName, E::StyTagElementName},
    {E::ClrTagEntityBk, E::ClrTagEntity, E::StyTagElementName},
    {E::ClrTagAttributeNameBk, E::ClrTagAttributeName, E::StyTagAttributeName},
    {E::ClrTagTextBk, E::ClrTagText, E::StyTagText},
    {E::ClrTextBk, E::ClrText, E::StyText},
    {-1, -1, -1},
};

// A Boolean setting; a text that is no Boolean gives the default.
bool readBool(const QSettings& s, const char* key, bool fallback)
{
    const QString text =
        s.value(QLatin1String(key), fallback ? QStringLiteral("True") : QStringLiteral("False"))
            .toString()
            .trimmed();
    if (text.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
        return true;
    if (text.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
        return false;
    bool ok = false;
    const double number = text.toDouble(&ok);
    return ok ? number != 0 : fallback;
}

// A 16-bit number setting; a text that is no number, or a value below
// `minimum`, gives the default.
qint16 readShort(const QSettings& s, const char* key, qint16 fallback, int minimum)
{
    bool ok = false;
    const int v =
        s.value(QLatin1String(key), QString::number(fallback)).toString().trimmed().toInt(&ok);
    return ok && v >= minimum && v <= 32767 ? qint16(v) : fallback;
}

QString boolWord(bool v) { return v ? QStringLiteral("True") : QStringLiteral("False"); }

QString colourKey(int entry, const char* part)
{
    return QStringLiteral("clr") + QString::number(entry) + QLatin1String(part);
}
}  // namespace

CodeEditorOptions::CodeEditorOptions(Messenger& messenger, const QString& coderIni)
    : m_coderIni(coderIni)
{
    readScalars();
    // A file that is not there at all is a first start, not damage: the
    // defaults are written without a word.
    const bool present = QFileInfo(m_coderIni).isFile();
    if (!loadColours()) {
        m_colours = defaultColours();
        saveColours();
        if (present)
            messenger.message(
                QStringLiteral("Application INI File was damaged. Working default values."));
    }
    loadLanguage();
    CodeEditor::unregisterAllLanguages();
    CodeEditor::registerLanguage(kLanguageName, m_language);
    CodeEditor::removeHotKey(kF2);
}

CodeEditorOptions::~CodeEditorOptions()
{
    writeScalars();
    saveColours();
}

CodeEditorOptions::ColourTable CodeEditorOptions::defaultColours()
{
    return {{{-1, -1, 0},
             {-1, 0x008000, 2},
             {0, 0xFFFFFF, 0},
             {0, 0xFFFFFF, 0},
             {0, 0x00FFFF, 0},
             {-1, 0xFF0000, 1},
             {0, 0xFFFFFF, 0},
             {0xA0A0A0, 0x101010, 0},
             {-1, 0, 0},
             {-1, 0x0000FF, 0},
             {-1, 0xFF0000, 0},
             {-1, 0x800080, 0},
             {-1, 0x000080, 0},
             {-1, 0x0000FF, 0},
             {-1, 0xFF0000, 0},
             {-1, 0, 1},
             {-1, 0, 0},
             {0, 0xFFFFFF, 0}}};
}

QString CodeEditorOptions::coderIniPath()
{
    return coderIniPath(QCoreApplication::applicationDirPath(),
                        QFileInfo(AppSettings::open()->fileName()).absolutePath());
}

QString CodeEditorOptions::coderIniPath(const QString& programFolder, const QString& userFolder)
{
    const QString program = programFolder + QLatin1Char('/') + kFileName;
    const QFileInfo programInfo(program);
    if (programInfo.isFile() && programInfo.isWritable())
        return program;
    const QString user = userFolder + QLatin1Char('/') + kFileName;
    if (QFileInfo::exists(user))
        return user;
    // The user's copy starts from the file beside the program, else the one
    // installed with it, else the one built into the program.
    const QStringList templates = {
        program,
        programFolder + QLatin1Char('/') + QStringLiteral(ORVANE_DATA_FROM_PROGRAM)
            + QLatin1Char('/') + kFileName,
        QStringLiteral(":/orvane/") + kFileName,
    };
    for (const QString& source : templates) {
        if (!QFileInfo(source).isFile())
            continue;
        QDir().mkpath(userFolder);
        if (QFile::copy(source, user))
            QFile::setPermissions(user, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup
                                            | QFile::ReadOther);
        break;
    }
    return user;
}

void CodeEditorOptions::getConfig(CodeEditor& editor) const
{
    editor.setLanguage(kLanguageName);
    editor.setLineNumberStyle(10);
    editor.setDisplayWhitespace(m_scalars.displayWhiteSpace);
    editor.setFontName(m_scalars.fontName);
    editor.setFontSize(m_scalars.fontSize);
    editor.setAutoIndentMode(m_scalars.autoIndentMode);
    editor.setTabSize(m_scalars.tabSize);
    for (const BoolOption& o : kOtherBools)
        (editor.*o.set)(m_scalars.*o.member);
    // Entries in table order, so that entry 13's style is the one style
    // item 10 keeps.
    for (int n = 0; n < kColourEntries; ++n) {
        const EntryUse& use = kEntryUse[n];
        const ColourEntry& c = m_colours[size_t(n)];
        if (use.frItem >= 0)
            editor.setColourItem(use.frItem, c.fr);
        if (use.bgItem >= 0)
            editor.setColourItem(use.bgItem, c.bg);
        if (use.styleItem >= 0)
            editor.setFontStyle(use.styleItem, c.fontStyle);
    }
}

void CodeEditorOptions::setConfig(const CodeEditor& editor)
{
    m_scalars.displayWhiteSpace = editor.displayWhitespace();
    m_scalars.fontName = editor.fontName();
    m_scalars.fontSize = qint16(qBound(1, qRound(editor.fontSize()), 32767));
    m_scalars.autoIndentMode = qint16(editor.autoIndentMode());
    m_scalars.tabSize = qint16(editor.tabSize());
    for (const BoolOption& o : kOtherBools)
        m_scalars.*o.member = (editor.*o.get)();
    for (int n = 0; n < kColourEntries; ++n) {
        const EntryUse& use = kEntryUse[n];
        ColourEntry& c = m_colours[size_t(n)];
        if (use.frItem >= 0)
            c.fr = editor.colourItem(use.frItem);
        if (use.bgItem >= 0)
            c.bg = editor.colourItem(use.bgItem);
        if (use.styleItem >= 0)
            c.fontStyle = editor.getFontStyle(use.styleItem);
    }
}

void CodeEditorOptions::readScalars()
{
    const auto settings = AppSettings::open();
    settings->beginGroup(kGroup);
    const Scalars defaults;
    m_scalars.*kFirstBool.member = readBool(*settings, kFirstBool.key, defaults.*kFirstBool.member);
    m_scalars.fontName = settings->value(QStringLiteral("fontName"), defaults.fontName).toString();
    m_scalars.fontSize = readShort(*settings, "fontSize", defaults.fontSize, 1);
    m_scalars.autoIndentMode = readShort(*settings, "autoIndentMode", defaults.autoIndentMode, 0);
    m_scalars.tabSize = readShort(*settings, "tabSize", defaults.tabSize, 1);
    for (const BoolOption& o : kOtherBools)
        m_scalars.*o.member = readBool(*settings, o.key, defaults.*o.member);
}

void CodeEditorOptions::writeScalars() const
{
    const auto settings = AppSettings::open();
    settings->beginGroup(kGroup);
    settings->setValue(QLatin1String(kFirstBool.key), boolWord(m_scalars.*kFirstBool.member));
    settings->setValue(QStringLiteral("fontName"), m_scalars.fontName);
    settings->setValue(QStringLiteral("fontSize"), QString::number(m_scalars.fontSize));
    settings->setValue(QStringLiteral("autoIndentMode"), QString::number(m_scalars.autoIndentMode));
    settings->setValue(QStringLiteral("tabSize"), QString::number(m_scalars.tabSize));
    for (const BoolOption& o : kOtherBools)
        settings->setValue(QLatin1String(o.key), boolWord(m_scalars.*o.member));
}

bool CodeEditorOptions::loadColours()
{
    for (int n = 0; n < kColourEntries; ++n) {
        for (auto [part, member] :
             {std::pair{"bg", &ColourEntry::bg}, std::pair{"fr", &ColourEntry::fr},
              std::pair{"fnt", &ColourEntry::fontStyle}}) {
            bool ok = false;
            const qint32 v =
                ProfileFile::readString(kColors, colourKey(n, part), QString(), m_coderIni)
                    .toInt(&ok);
            if (!ok)
                return false;
            m_colours[size_t(n)].*member = v;
        }
    }
    return true;
}

void CodeEditorOptions::saveColours() const
{
    QList<QPair<QString, QString>> values;
    for (int n = 0; n < kColourEntries; ++n) {
        const ColourEntry& c = m_colours[size_t(n)];
        values.append({colourKey(n, "bg"), QString::number(c.bg)});
        values.append({colourKey(n, "fr"), QString::number(c.fr)});
        values.append({colourKey(n, "fnt"), QString::number(c.fontStyle)});
    }
    ProfileFile::writeStrings(kColors, values, m_coderIni);
}

QString CodeEditorOptions::readList(const QString& section, const QString& prefix) const
{
    QStringList values;
    for (int i = 1;; ++i) {
        const QString v =
            ProfileFile::readString(section, prefix + QString::number(i), QString(), m_coderIni);
        if (v.isEmpty())
            break;
        values.append(v);
    }
    return values.join(QLatin1Char('\n'));
}

void CodeEditorOptions::loadLanguage()
{
    using L = LanguageDefinition;
    static const struct {
        const char* section;
        const char* prefix;
        QString L::*list;
    } kLists[] = {
        {"keywords", "k", &L::keywords},
        {"operators", "o", &L::operators},
        {"singleLineComments", "c", &L::singleLineComments},
        {"multiLineCommentsStart", "c", &L::multiLineCommentsStart},
        {"multiLineCommentsEnd", "c", &L::multiLineCommentsEnd},
        {"scopeKeywordsStart", "s", &L::scopeKeywordsStart},
        {"scopeKeywordsEnd", "s", &L::scopeKeywordsEnd},
        {"stringDelims", "d", &L::stringDelims},
        {"escapeChar", "c", &L::escapeChar},
        {"terminatorChar", "c", &L::terminatorChar},
        {"tagAttributeNames", "a", &L::tagAttributeNames},
        {"tagElementNames", "e", &L::tagElementNames},
        {"tagEntities", "e", &L::tagEntities},
    };
    m_language = LanguageDefinition();
    m_language.caseSensitive = true;
    m_language.style = 0;
    for (const auto& l : kLists)
        m_language.*l.list = readList(QLatin1String(l.section), QLatin1String(l.prefix));
}

}  // namespace orvane
