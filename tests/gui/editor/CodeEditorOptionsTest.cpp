#include "DialogTestSupport.h"

#include "CodeEditor.h"
#include "ProfileFile.h"
#include "CodeEditorOptions.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSettings>

using namespace orvane;
using namespace orvane::testing;

namespace {

class Recorder : public Messenger {
public:
    void message(const QString& text, MessageIcon, const QString&) override { messages << text; }
    QStringList messages;
};

class CodeEditorOptionsTest : public DialogTest {
protected:
    QString ini() const { return dir.filePath(QStringLiteral("Coder.ini")); }
    void writeIni(const QByteArray& text)
    {
        QFile f(ini());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    }
    QString readIni() const
    {
        QFile f(ini());
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    }
    void setOption(const QString& key, const QString& value)
    {
        AppSettings::open()->setValue(QStringLiteral("cMax/") + key, value);
    }
    Recorder recorder;
    const QString kDamaged =
        QStringLiteral("Application INI File was damaged. Working default values.");
};

TEST_F(CodeEditorOptionsTest, FirstStartWritesTheDefaultColourTableWithoutCallingItDamage)
{
    {
        CodeEditorOptions options(recorder, ini());
        EXPECT_TRUE(recorder.messages.isEmpty());
        const QString ini = readIni();
        EXPECT_EQ(ini.count(QRegularExpression(QStringLiteral("^clr\\d+(bg|fr|fnt)=-?\\d+$"),
                                               QRegularExpression::MultilineOption)),
                  54);
        EXPECT_TRUE(ini.contains(QStringLiteral("[Colors]")));
        EXPECT_TRUE(ini.contains(QStringLiteral("clr1fr=32768")));
        EXPECT_EQ(options.colours(), CodeEditorOptions::defaultColours());

        CodeEditor editor;
        options.getConfig(editor);
        EXPECT_EQ(editor.fontName(), QStringLiteral("Courier New"));
        EXPECT_EQ(editor.fontSize(), 10);
        EXPECT_EQ(editor.tabSize(), 4);
        EXPECT_EQ(editor.language(), QStringLiteral("my_C"));
        EXPECT_EQ(editor.lineNumberStyle(), 10);
    }
    CodeEditorOptions again(recorder, ini());
    EXPECT_TRUE(recorder.messages.isEmpty());
}

TEST_F(CodeEditorOptionsTest, AFileWithoutItsColourTableIsDamaged)
{
    writeIni("[keywords]\nk1=if\n");
    CodeEditorOptions options(recorder, ini());
    EXPECT_EQ(recorder.messages, QStringList{kDamaged});
    EXPECT_EQ(options.colours(), CodeEditorOptions::defaultColours());
    EXPECT_TRUE(readIni().contains(QStringLiteral("clr17fnt=0")));
    EXPECT_TRUE(readIni().contains(QStringLiteral("k1=if")));
}

// Where the program looks for Coder.ini: beside itself (the build tree),
// then the user's copy, made from the installed file or the built-in one.
class CoderIniLookupTest : public CodeEditorOptionsTest {
protected:
    QString programFolder() const { return dir.filePath(QStringLiteral("prefix/bin")); }
    QString installedIni() const
    {
        return dir.filePath(QStringLiteral("prefix/share/orvane/Coder.ini"));
    }
    QString userFolder() const { return dir.filePath(QStringLiteral("user")); }
    static void write(const QString& path, const QByteArray& text)
    {
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    }
    static QByteArray read(const QString& path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    void SetUp() override
    {
        CodeEditorOptionsTest::SetUp();
        QDir().mkpath(programFolder());
    }
};

TEST_F(CoderIniLookupTest, AnInstalledProgramCopiesTheInstalledFileForTheUser)
{
    const QByteArray shipped = read(QStringLiteral(ORVANE_SOURCE_DIR "/resources/Coder.ini"));
    ASSERT_FALSE(shipped.isEmpty());
    write(installedIni(), shipped);
    const QString path = CodeEditorOptions::coderIniPath(programFolder(), userFolder());
    EXPECT_EQ(path, userFolder() + QStringLiteral("/Coder.ini"));
    EXPECT_EQ(read(path), shipped);
    EXPECT_TRUE(QFileInfo(path).isWritable());

    {
        CodeEditorOptions options(recorder, path);
        EXPECT_TRUE(recorder.messages.isEmpty());
        EXPECT_TRUE(options.language().keywords.split(u'\n').contains(QStringLiteral("while")));
    }

    // The user's copy, once made, is the one read: an update of the
    // installed file does not overwrite the user's colours.
    write(installedIni(), "[keywords]\nk1=updated\n");
    EXPECT_EQ(CodeEditorOptions::coderIniPath(programFolder(), userFolder()), path);
    EXPECT_FALSE(read(path).contains("k1=updated"));
}

TEST_F(CoderIniLookupTest, AWritableFileBesideTheProgramIsUsedInPlace)
{
    write(programFolder() + QStringLiteral("/Coder.ini"), "[keywords]\nk1=beside\n");
    write(installedIni(), "[keywords]\nk1=installed\n");
    EXPECT_EQ(CodeEditorOptions::coderIniPath(programFolder(), userFolder()),
              programFolder() + QStringLiteral("/Coder.ini"));
    EXPECT_FALSE(QFileInfo::exists(userFolder() + QStringLiteral("/Coder.ini")));
}

TEST_F(CoderIniLookupTest, AReadOnlyFileBesideTheProgramComesBeforeTheInstalledOne)
{
    const QString beside = programFolder() + QStringLiteral("/Coder.ini");
    write(beside, "[keywords]\nk1=beside\n");
    QFile::setPermissions(beside, QFile::ReadOwner);
    write(installedIni(), "[keywords]\nk1=installed\n");
    const QString path = CodeEditorOptions::coderIniPath(programFolder(), userFolder());
    if (QFileInfo(beside).isWritable())
        GTEST_SKIP() << "read-only files are writable for this user (root)";
    EXPECT_EQ(read(path), QByteArray("[keywords]\nk1=beside\n"));
}

TEST_F(CoderIniLookupTest, AProgramCopiedOnItsOwnStartsFromTheBuiltInFile)
{
    const QString path = CodeEditorOptions::coderIniPath(programFolder(), userFolder());
    EXPECT_EQ(path, userFolder() + QStringLiteral("/Coder.ini"));
    CodeEditorOptions options(recorder, path);
    EXPECT_TRUE(recorder.messages.isEmpty());
    EXPECT_TRUE(options.language().keywords.split(u'\n').contains(QStringLiteral("while")));
    EXPECT_EQ(options.colours(), CodeEditorOptions::defaultColours());
}

TEST_F(CodeEditorOptionsTest, OneBadColourValueResetsTheWholeTable)
{
    {
        CodeEditorOptions options(recorder, ini());
    }
    ASSERT_TRUE(ProfileFile::writeString(QStringLiteral("Colors"), QStringLiteral("clr1fr"),
                                         QStringLiteral("255"), ini()));
    ASSERT_TRUE(ProfileFile::writeString(QStringLiteral("Colors"), QStringLiteral("clr9bg"),
                                         QStringLiteral("blue"), ini()));
    recorder.messages.clear();
    CodeEditorOptions options(recorder, ini());
    EXPECT_EQ(recorder.messages, QStringList{kDamaged});
    EXPECT_EQ(options.colours()[1].fr, 0x008000);
    EXPECT_EQ(
        ProfileFile::readString(QStringLiteral("Colors"), QStringLiteral("clr9bg"), {}, ini()),
        QStringLiteral("-1"));
}

TEST_F(CodeEditorOptionsTest, LanguageListsStopAtTheFirstMissingKey)
{
    writeIni("[keywords]\nk1=if\nk2=while\nk4=goto\n[stringDelims]\nd1=\"\nd2='\n"
             "[singleLineComments]\nc1=//\n");
    CodeEditorOptions options(recorder, ini());
    EXPECT_EQ(options.language().keywords, QStringLiteral("if\nwhile"));
    EXPECT_EQ(options.language().stringDelims, QStringLiteral("\"\n'"));
    EXPECT_EQ(options.language().singleLineComments, QStringLiteral("//"));
    EXPECT_TRUE(options.language().operators.isEmpty());
    ASSERT_NE(CodeEditor::findLanguage(QStringLiteral("my_C")), nullptr);
    EXPECT_EQ(CodeEditor::findLanguage(QStringLiteral("my_C"))->keywords,
              QStringLiteral("if\nwhile"));
    // The language sections are never written.
    EXPECT_TRUE(readIni().contains(QStringLiteral("k4=goto")));
}

TEST_F(CodeEditorOptionsTest, UnreadableSettingsFallBackToTheirDefaults)
{
    setOption(QStringLiteral("displayWhiteSpace"), QStringLiteral("maybe"));
    setOption(QStringLiteral("lineNumbering"), QStringLiteral("False"));
    setOption(QStringLiteral("fontSize"), QStringLiteral("big"));
    setOption(QStringLiteral("tabSize"), QStringLiteral("0"));
    {
        CodeEditorOptions options(recorder, ini());
        EXPECT_FALSE(options.scalars().displayWhiteSpace);
        EXPECT_FALSE(options.scalars().lineNumbering);
        EXPECT_EQ(options.scalars().fontSize, 10);
        EXPECT_EQ(options.scalars().tabSize, 4);
    }
    setOption(QStringLiteral("displayWhiteSpace"), QStringLiteral("True"));
    CodeEditorOptions options(recorder, ini());
    EXPECT_TRUE(options.scalars().displayWhiteSpace);
}

TEST_F(CodeEditorOptionsTest, AnEditorsChangeReachesTheOthersAndTheNextStart)
{
    {
        CodeEditorOptions options(recorder, ini());
        CodeEditor first, second;
        options.getConfig(first);
        first.setFontName(QStringLiteral("DejaVu Sans Mono"));
        first.setFontSize(12.6);
        first.setColourItem(CodeEditor::ClrKeyword, 0x0000AA);
        first.setExpandTabs(false);
        options.setConfig(first);
        options.getConfig(second);
        EXPECT_EQ(second.fontName(), QStringLiteral("DejaVu Sans Mono"));
        EXPECT_EQ(second.fontSize(), 13);
        EXPECT_EQ(second.colourItem(CodeEditor::ClrKeyword), 0x0000AA);
        EXPECT_FALSE(second.expandTabs());
    }
    EXPECT_EQ(AppSettings::open()->value(QStringLiteral("cMax/expandTabs")).toString(),
              QStringLiteral("False"));
    CodeEditorOptions restarted(recorder, ini());
    CodeEditor editor;
    restarted.getConfig(editor);
    EXPECT_EQ(editor.fontName(), QStringLiteral("DejaVu Sans Mono"));
    EXPECT_EQ(editor.colourItem(CodeEditor::ClrKeyword), 0x0000AA);
    EXPECT_TRUE(recorder.messages.isEmpty());
}

TEST_F(CodeEditorOptionsTest, StyleTenTakesEntryThirteenAndIsReadBackIntoBoth)
{
    {
        CodeEditorOptions options(recorder, ini());
    }
    ProfileFile::writeString(QStringLiteral("Colors"), QStringLiteral("clr12fnt"),
                             QStringLiteral("1"), ini());
    ProfileFile::writeString(QStringLiteral("Colors"), QStringLiteral("clr13fnt"),
                             QStringLiteral("2"), ini());
    CodeEditorOptions options(recorder, ini());
    CodeEditor editor;
    options.getConfig(editor);
    EXPECT_EQ(editor.getFontStyle(CodeEditor::StyTagElementName), 2);
    options.setConfig(editor);
    EXPECT_EQ(options.colours()[12].fontStyle, 2);
    EXPECT_EQ(options.colours()[13].fontStyle, 2);
}

TEST(ProfileFileTest, ReadsAndWritesLikePrivateProfiles)
{
    QTemporaryDir dir;
    const QString ini = dir.filePath(QStringLiteral("x.ini"));
    QFile f(ini);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("; comment\r\n[Colors]\r\nCLR0BG = \"12\" \r\n[Other]\r\nkey=v\r\n");
    f.close();
    EXPECT_EQ(ProfileFile::readString(QStringLiteral("colors"), QStringLiteral("clr0bg"), {}, ini),
              QStringLiteral("12"));
    EXPECT_EQ(ProfileFile::readString(QStringLiteral("Colors"), QStringLiteral("key"),
                                      QStringLiteral("d"), ini),
              QStringLiteral("d"));
    ASSERT_TRUE(ProfileFile::writeString(QStringLiteral("Colors"), QStringLiteral("clr0fr"),
                                         QStringLiteral("7"), ini));
    ASSERT_TRUE(ProfileFile::writeString(QStringLiteral("Colors"), QStringLiteral("clr0bg"),
                                         QStringLiteral("8"), ini));
    ASSERT_TRUE(ProfileFile::writeString(QStringLiteral("New"), QStringLiteral("a"),
                                         QStringLiteral("1"), ini));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(
        QString::fromUtf8(f.readAll()),
        QStringLiteral(
            "; comment\r\n[Colors]\r\nclr0bg=8\r\nclr0fr=7\r\n[Other]\r\nkey=v\r\n\r\n[New]\r\na=1\r\n"));
}

}  // namespace
