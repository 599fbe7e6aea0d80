#include "DialogTestSupport.h"

#include "CodeEditor.h"
#include "ProfileFile.h"
#include "clsLib_OptCMax.h"

#include <QFile>
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

class clsLib_OptCMaxTest : public DialogTest {
protected:
    QString Ini() const { return dir.filePath(QStringLiteral("Coder.ini")); }
    void WriteIni(const QByteArray& text)
    {
        QFile f(Ini());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    }
    QString ReadIni() const
    {
        QFile f(Ini());
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    }
    void SetOption(const QString& key, const QString& value)
    {
        AppSettings::Open()->setValue(QStringLiteral("cMax/") + key, value);
    }
    Recorder recorder;
    const QString kDamaged = QStringLiteral("Application INI File was damaged. Working default values.");
};

TEST_F(clsLib_OptCMaxTest, FirstStartWritesTheDefaultColourTableOnce)
{
    {
        clsLib_OptCMax options(recorder, Ini());
        EXPECT_EQ(recorder.messages, QStringList{kDamaged});
        const QString ini = ReadIni();
        EXPECT_EQ(ini.count(QRegularExpression(QStringLiteral("^clr\\d+(bg|fr|fnt)=-?\\d+$"),
                                               QRegularExpression::MultilineOption)),
                  54);
        EXPECT_TRUE(ini.contains(QStringLiteral("[Colors]")));
        EXPECT_TRUE(ini.contains(QStringLiteral("clr1fr=32768")));
        EXPECT_EQ(options.colours(), clsLib_OptCMax::DefaultColours());

        CodeEditor editor;
        options.GetConfig(editor);
        EXPECT_EQ(editor.FontName(), QStringLiteral("Courier New"));
        EXPECT_EQ(editor.FontSize(), 10);
        EXPECT_EQ(editor.TabSize(), 4);
        EXPECT_EQ(editor.Language(), QStringLiteral("my_C"));
        EXPECT_EQ(editor.LineNumberStyle(), 10);
    }
    clsLib_OptCMax again(recorder, Ini());
    EXPECT_EQ(recorder.messages.size(), 1);
}

TEST_F(clsLib_OptCMaxTest, OneBadColourValueResetsTheWholeTable)
{
    {
        clsLib_OptCMax options(recorder, Ini());
    }
    ASSERT_TRUE(ProfileFile::WriteString(QStringLiteral("Colors"), QStringLiteral("clr1fr"),
                                         QStringLiteral("255"), Ini()));
    ASSERT_TRUE(ProfileFile::WriteString(QStringLiteral("Colors"), QStringLiteral("clr9bg"),
                                         QStringLiteral("blue"), Ini()));
    recorder.messages.clear();
    clsLib_OptCMax options(recorder, Ini());
    EXPECT_EQ(recorder.messages, QStringList{kDamaged});
    EXPECT_EQ(options.colours()[1].fr, 0x008000);
    EXPECT_EQ(ProfileFile::ReadString(QStringLiteral("Colors"), QStringLiteral("clr9bg"), {}, Ini()),
              QStringLiteral("-1"));
}

TEST_F(clsLib_OptCMaxTest, LanguageListsStopAtTheFirstMissingKey)
{
    WriteIni("[keywords]\nk1=if\nk2=while\nk4=goto\n[stringDelims]\nd1=\"\nd2='\n"
             "[singleLineComments]\nc1=//\n");
    clsLib_OptCMax options(recorder, Ini());
    EXPECT_EQ(options.language().keywords, QStringLiteral("if\nwhile"));
    EXPECT_EQ(options.language().stringDelims, QStringLiteral("\"\n'"));
    EXPECT_EQ(options.language().singleLineComments, QStringLiteral("//"));
    EXPECT_TRUE(options.language().operators.isEmpty());
    ASSERT_NE(CodeEditor::FindLanguage(QStringLiteral("my_C")), nullptr);
    EXPECT_EQ(CodeEditor::FindLanguage(QStringLiteral("my_C"))->keywords, QStringLiteral("if\nwhile"));
    // The language sections are never written.
    EXPECT_TRUE(ReadIni().contains(QStringLiteral("k4=goto")));
}

TEST_F(clsLib_OptCMaxTest, UnreadableSettingsFallBackToTheirDefaults)
{
    SetOption(QStringLiteral("displayWhiteSpace"), QStringLiteral("maybe"));
    SetOption(QStringLiteral("lineNumbering"), QStringLiteral("False"));
    SetOption(QStringLiteral("fontSize"), QStringLiteral("big"));
    SetOption(QStringLiteral("tabSize"), QStringLiteral("0"));
    {
        clsLib_OptCMax options(recorder, Ini());
        EXPECT_FALSE(options.scalars().displayWhiteSpace);
        EXPECT_FALSE(options.scalars().lineNumbering);
        EXPECT_EQ(options.scalars().fontSize, 10);
        EXPECT_EQ(options.scalars().tabSize, 4);
    }
    SetOption(QStringLiteral("displayWhiteSpace"), QStringLiteral("True"));
    clsLib_OptCMax options(recorder, Ini());
    EXPECT_TRUE(options.scalars().displayWhiteSpace);
}

TEST_F(clsLib_OptCMaxTest, AnEditorsChangeReachesTheOthersAndTheNextStart)
{
    {
        clsLib_OptCMax options(recorder, Ini());
        CodeEditor first, second;
        options.GetConfig(first);
        first.SetFontName(QStringLiteral("DejaVu Sans Mono"));
        first.SetFontSize(12.6);
        first.SetColor(CodeEditor::ClrKeyword, 0x0000AA);
        first.SetExpandTabs(false);
        options.SetConfig(first);
        options.GetConfig(second);
        EXPECT_EQ(second.FontName(), QStringLiteral("DejaVu Sans Mono"));
        EXPECT_EQ(second.FontSize(), 13);
        EXPECT_EQ(second.GetColor(CodeEditor::ClrKeyword), 0x0000AA);
        EXPECT_FALSE(second.ExpandTabs());
    }
    EXPECT_EQ(AppSettings::Open()->value(QStringLiteral("cMax/expandTabs")).toString(),
              QStringLiteral("False"));
    clsLib_OptCMax restarted(recorder, Ini());
    CodeEditor editor;
    restarted.GetConfig(editor);
    EXPECT_EQ(editor.FontName(), QStringLiteral("DejaVu Sans Mono"));
    EXPECT_EQ(editor.GetColor(CodeEditor::ClrKeyword), 0x0000AA);
    EXPECT_EQ(recorder.messages.size(), 1);
}

TEST_F(clsLib_OptCMaxTest, StyleTenTakesEntryThirteenAndIsReadBackIntoBoth)
{
    {
        clsLib_OptCMax options(recorder, Ini());
    }
    ProfileFile::WriteString(QStringLiteral("Colors"), QStringLiteral("clr12fnt"), QStringLiteral("1"), Ini());
    ProfileFile::WriteString(QStringLiteral("Colors"), QStringLiteral("clr13fnt"), QStringLiteral("2"), Ini());
    clsLib_OptCMax options(recorder, Ini());
    CodeEditor editor;
    options.GetConfig(editor);
    EXPECT_EQ(editor.GetFontStyle(CodeEditor::StyTagElementName), 2);
    options.SetConfig(editor);
    EXPECT_EQ(options.colours()[12].fnt, 2);
    EXPECT_EQ(options.colours()[13].fnt, 2);
}

TEST(ProfileFileTest, ReadsAndWritesLikePrivateProfiles)
{
    QTemporaryDir dir;
    const QString ini = dir.filePath(QStringLiteral("x.ini"));
    QFile f(ini);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("; comment\r\n[Colors]\r\nCLR0BG = \"12\" \r\n[Other]\r\nkey=v\r\n");
    f.close();
    EXPECT_EQ(ProfileFile::ReadString(QStringLiteral("colors"), QStringLiteral("clr0bg"), {}, ini),
              QStringLiteral("12"));
    EXPECT_EQ(ProfileFile::ReadString(QStringLiteral("Colors"), QStringLiteral("key"), QStringLiteral("d"), ini),
              QStringLiteral("d"));
    ASSERT_TRUE(ProfileFile::WriteString(QStringLiteral("Colors"), QStringLiteral("clr0fr"), QStringLiteral("7"), ini));
    ASSERT_TRUE(ProfileFile::WriteString(QStringLiteral("Colors"), QStringLiteral("clr0bg"), QStringLiteral("8"), ini));
    ASSERT_TRUE(ProfileFile::WriteString(QStringLiteral("New"), QStringLiteral("a"), QStringLiteral("1"), ini));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(f.readAll()),
              QStringLiteral("; comment\r\n[Colors]\r\nclr0bg=8\r\nclr0fr=7\r\n[Other]\r\nkey=v\r\n\r\n[New]\r\na=1\r\n"));
}

}  // namespace
