#include "DiagramRenderer.h"
#include "ExportTestSupport.h"
#include "FontTextMeasurer.h"
#include "Windows1252.h"
#include "HtmlPage.h"
#include "ProcessState.h"
#include "States.h"

#include <gtest/gtest.h>

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QMimeData>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <unistd.h>

using namespace orvane;
using namespace orvane::exporttest;
using HtmlPage::htmlEscape;

namespace {

const QString kNbsp4 = QStringLiteral("&nbsp;&nbsp;&nbsp;&nbsp;");

QString crlf(const char* text) { return QString::fromUtf8(text).replace("\n", "\r\n"); }

class ExportTest : public ExportFixture {
protected:
    // Idle -> Run through one transition; the machine "Lamp" with its texts.
    std::unique_ptr<FsmDocument> lamp(const QStringList& fields = {},
                                      const QString& during = QString())
    {
        QStringList f = fields;
        if (f.isEmpty())
            f = QStringList{{}, "Lamp", "a = 1;\r\nb = 2;", "x & y", {}, "int ev",
                            {}, {},     "#include <x.h>",   {}};
        return loadDocument(path("Top.fsm"),
                            {stateJson(1, 1000, 1000, 16384, "Idle", "1", during),
                             stateJson(2, 5000, 1000, 8192, "Run", "2"),
                             transitionJson(3, 3900, 1400, "1", "button"), infoJson(4, f)},
                            {linkJson(1, 3, 0), linkJson(3, 2)});
    }

    static double maxNodeRight(const Diagram& d)
    {
        double right = 0;
        for (const auto& n : d.nodes())
            right = std::max(right, n->left() + n->width());
        return right;
    }

    RecordingMessenger messenger;
};

void touch(const QString& path)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
}

// The diagram's items, to compare before and after an export.
QStringList itemsOf(const Diagram& d)
{
    QStringList out;
    for (const auto& n : d.nodes())
        out << QStringLiteral("%1 %2 %3 %4 %5 %6")
                   .arg(n->left())
                   .arg(n->top())
                   .arg(n->width())
                   .arg(n->height())
                   .arg(n->userData())
                   .arg(n->text());
    out << QString::number(d.links().size());
    return out;
}

}  // namespace

TEST(HtmlEscape, EmptyTextIsTheIndentAlone)
{
    EXPECT_EQ(htmlEscape(QString(), 4), kNbsp4);
    EXPECT_EQ(htmlEscape(QString(), 0), QString());
}

TEST(HtmlEscape, LineBreaksStartIndentedLines)
{
    EXPECT_EQ(htmlEscape(QStringLiteral("a\r\nb"), 4), kNbsp4 + "a<BR>\r\n" + kNbsp4 + "b");
    // A trailing break leaves an empty indented last line; a lone LF is dropped.
    EXPECT_EQ(htmlEscape(QStringLiteral("a\r\n"), 1), "&nbsp;a<BR>\r\n&nbsp;");
    EXPECT_EQ(htmlEscape(QStringLiteral("a\nb"), 0), "ab");
}

TEST(HtmlEscape, MarkupCharactersAndBlanksBecomeReferences)
{
    EXPECT_EQ(htmlEscape(QStringLiteral("<a & b>"), 4), kNbsp4 + "&lt;a&#32;&amp;&#32;b&gt;");
    EXPECT_EQ(htmlEscape(QStringLiteral("\"|\u00A1\t\u00E9"), 0),
              QStringLiteral("&quot;&brvbar;&iexcl;\t\u00E9"));
}

TEST_F(ExportTest, PageTextOfADiagramWithoutChildren)
{
    auto doc = lamp();
    ASSERT_TRUE(doc);
    const QString expected = crlf(R"(<HTML>
<HEAD>
<META HTTP-EQUIV="Content-Type" CONTENT="text/html; charset=windows-1252">
<META NAME="Generator" CONTENT="Orvane Editor Diagram">
<TITLE>Top</TITLE>
</HEAD>
<BODY>
<FONT SIZE=2><P ALIGN="LEFT"><IMG SRC="Top.wmf"></P>
<p><U><B>FSM function name:</B></U><BR>&nbsp;&nbsp;&nbsp;&nbsp;Lamp</p>
<p><U><B>Parameters:</B></U><BR>
&nbsp;&nbsp;&nbsp;&nbsp;int&#32;ev</p>
<p><U><B>Module header:</B></U><BR>
&nbsp;&nbsp;&nbsp;&nbsp;#include&#32;&lt;x.h&gt;</p>
<p><U><B>Global initialization:</B></U><BR>
&nbsp;&nbsp;&nbsp;&nbsp;a&#32;=&#32;1;<BR>
&nbsp;&nbsp;&nbsp;&nbsp;b&#32;=&#32;2;</p>
<p><U><B>Function header:</B></U><BR>
&nbsp;&nbsp;&nbsp;&nbsp;</p>
<p><U><B>Global actions (before FSM analysis):</B></U><BR>
&nbsp;&nbsp;&nbsp;&nbsp;x&#32;&amp;&#32;y</p>
<p><U><B>Global actions (after FSM analysis):</B></U><BR>
&nbsp;&nbsp;&nbsp;&nbsp;</p>
<p><U><B>Global final (out of FSM function):</B></U><BR>
&nbsp;&nbsp;&nbsp;&nbsp;</p>
<p><U><B>Links:</B></U>&nbsp;&nbsp;&nbsp;&nbsp;<BR>
</FONT></p>
</BODY>
</HTML>
)");
    EXPECT_EQ(HtmlPage::htmlPageText(*doc, "Top", "Top.wmf", false), expected);
    EXPECT_EQ(HtmlPage::htmlLinks(*doc, false), "<BR>\r\n");
}

TEST_F(ExportTest, LinksLeadToTheChildPages)
{
    touch(path("CHILD.fsm"));
    ASSERT_TRUE(QDir(dir.path()).mkdir("Top"));
    touch(path("Top/SUB.fsm"));
    touch(path("Top/CHILD.fsm"));
    auto doc = lamp({}, "x = 1; CHILD();\r\nSUB(e);\r\nNONE();");
    ASSERT_TRUE(doc);
    // Child-folder references ("/NAME.fsm") sort before the ones beside.
    EXPECT_EQ(HtmlPage::htmlLinks(*doc, false),
              crlf("<BR>\n"
                   "<A HREF=\"./Top/CHILD.htm\">CHILD.htm</A><BR>\n"
                   "<A HREF=\"./Top/SUB.htm\">SUB.htm</A><BR>\n"
                   "<A HREF=\"./CHILD.htm\">CHILD.htm</A><BR>\n"));
    EXPECT_EQ(HtmlPage::htmlLinks(*doc, true), crlf("<BR>\n"
                                                    "<A HREF=\"./CHILD.htm\">CHILD.htm</A><BR>\n"
                                                    "<A HREF=\"./SUB.htm\">SUB.htm</A><BR>\n"
                                                    "<A HREF=\"./CHILD.htm\">CHILD.htm</A><BR>\n"));
}

TEST_F(ExportTest, FileNamesCannotBreakThePageMarkup)
{
    auto doc = lamp();
    ASSERT_TRUE(doc);
    const QString page = HtmlPage::htmlPageText(*doc, "a&b", "a\"b.wmf", false);
    EXPECT_TRUE(page.contains("<TITLE>a&amp;b</TITLE>"));
    EXPECT_TRUE(page.contains("<IMG SRC=\"a&quot;b.wmf\">"));
}

TEST_F(ExportTest, PageAndPictureAreWrittenAndTheDocumentIsLeftAsItWas)
{
    auto doc = lamp({{}, "Lamp", {}, {}, {}, {}, {}, QStringLiteral("\u00E9 \u0101")});
    ASSERT_TRUE(doc);
    Diagram& d = doc->diagram();
    d.setShowGrid(true);
    const QStringList before = itemsOf(d);
    const double right = maxNodeRight(d);

    ASSERT_TRUE(HtmlPage::fileSaveAsHTML(*doc, path("out.htm"), false, messenger));
    EXPECT_TRUE(messenger.texts.isEmpty());

    const QByteArray page = readBytes(path("out.htm"));
    EXPECT_EQ(page, Windows1252::encodeWithCharRefs(
                        HtmlPage::htmlPageText(*doc, "out", "out.wmf", false)));
    EXPECT_TRUE(page.contains("<IMG SRC=\"out.wmf\">"));
    EXPECT_TRUE(page.contains(kNbsp4.toLatin1() + "\xE9&#32;&#257;</p>\r\n"));
    EXPECT_TRUE(page.endsWith("</HTML>\r\n"));

    const WmfFile picture = readWmf(readBytes(path("out.wmf")));
    ASSERT_EQ(picture.error, QString());
    EXPECT_EQ(picture.right, int(right + 1000));  // the margin node's room

    EXPECT_EQ(itemsOf(d), before);
    EXPECT_FALSE(d.changed());
    EXPECT_TRUE(d.showGrid());

    d.setChanged(true);
    ASSERT_TRUE(HtmlPage::fileSaveAsHTML(*doc, path("out.htm"), true, messenger));
    EXPECT_TRUE(d.changed());
    EXPECT_EQ(itemsOf(d), before);
}

TEST_F(ExportTest, PictureAloneHasNoMargin)
{
    auto doc = lamp();
    ASSERT_TRUE(doc);
    const QStringList before = itemsOf(doc->diagram());
    ASSERT_TRUE(HtmlPage::fileSaveAsEMF(*doc, path("p.wmf"), messenger));
    const WmfFile picture = readWmf(readBytes(path("p.wmf")));
    ASSERT_EQ(picture.error, QString());
    EXPECT_EQ(picture.right, int(std::ceil(DiagramRenderer::extent(doc->diagram()).right())));
    EXPECT_FALSE(QFile::exists(path("p.htm")));
    EXPECT_EQ(itemsOf(doc->diagram()), before);
    EXPECT_FALSE(doc->diagram().changed());
}

TEST_F(ExportTest, MetafilePlayerReadsThePictureAndItsTexts)
{
    const QString player = QStandardPaths::findExecutable("wmf2svg");
    ASSERT_FALSE(player.isEmpty()) << "wmf2svg (libwmf-bin) is needed; run scripts/setup";
    // Without these fonts the player stops with a message about fonts only.
    ASSERT_TRUE(QFileInfo::exists("/usr/share/fonts/type1/urw-base35/NimbusSans-Regular.t1"))
        << "the metafile player needs the fonts of fonts-urw-base35; run scripts/setup";
    auto doc = lamp();
    ASSERT_TRUE(doc);
    ASSERT_TRUE(HtmlPage::fileSaveAsHTML(*doc, path("Top.htm"), false, messenger));

    QProcess run;
    run.start(player, {"-o", path("Top.svg"), path("Top.wmf")});
    ASSERT_TRUE(run.waitForFinished(30000));
    EXPECT_EQ(run.exitCode(), 0) << run.readAllStandardError().toStdString();
    const QByteArray svg = readBytes(path("Top.svg"));
    EXPECT_TRUE(svg.contains("<svg"));
    EXPECT_TRUE(svg.contains("Idle"));
    EXPECT_TRUE(svg.contains("Run"));
    EXPECT_TRUE(svg.contains("button"));
}

TEST_F(ExportTest, WriteFailuresAreLoggedShownAndLeaveTheDocumentAlone)
{
    auto doc = lamp();
    ASSERT_TRUE(doc);
    const QStringList before = itemsOf(doc->diagram());
    const QString target = path("missing/out.htm");
    EXPECT_FALSE(HtmlPage::fileSaveAsHTML(*doc, target, false, messenger));
    const QString expected = " FileSaveAsHTML, Error #75: Path/File access error ["
                             + path("missing/out.wmf") + "]: No such file or directory";
    ASSERT_EQ(messenger.texts.size(), 1);
    EXPECT_EQ(messenger.texts[0], expected);
    EXPECT_TRUE(QString::fromUtf8(readBytes(path("FSM.log"))).contains(expected));
    // The error log has it too, with the same reason.
    EXPECT_TRUE(QString::fromUtf8(readBytes(path("FSM_ERR.log")))
                    .contains("]:Fsm can't save file:[" + path("missing/out.wmf")
                              + "]: No such file or directory\r\n"));
    EXPECT_EQ(itemsOf(doc->diagram()), before);
    EXPECT_FALSE(doc->diagram().changed());

    EXPECT_FALSE(HtmlPage::fileSaveAsEMF(*doc, target, messenger));
    ASSERT_EQ(messenger.texts.size(), 2);
    EXPECT_TRUE(messenger.texts[1].startsWith(" FileSaveAsEMF, Error #75: "));
}

TEST_F(ExportTest, NoPageIsWrittenWhenItsPictureFails)
{
    auto doc = lamp();
    ASSERT_TRUE(doc);
    ASSERT_TRUE(QDir(dir.path()).mkdir("busy.wmf"));
    EXPECT_FALSE(HtmlPage::fileSaveAsHTML(*doc, path("busy.htm"), false, messenger));
    EXPECT_FALSE(QFile::exists(path("busy.htm")));
    ASSERT_EQ(messenger.texts.size(), 1);
    EXPECT_TRUE(messenger.texts[0].endsWith("busy.wmf]: Not a regular file"));
}

TEST_F(ExportTest, AReadOnlyTargetIsPermissionDeniedForRootToo)
{
    auto doc = lamp();
    ASSERT_TRUE(doc);
    touch(path("ro.wmf"));
    QFile::setPermissions(path("ro.wmf"), QFile::ReadOwner);
    EXPECT_FALSE(HtmlPage::fileSaveAsEMF(*doc, path("ro.wmf"), messenger));
    ASSERT_EQ(messenger.texts.size(), 1);
    EXPECT_EQ(messenger.texts[0],
              " FileSaveAsEMF, Error #70: Permission denied [" + path("ro.wmf") + "]");
    EXPECT_EQ(readBytes(path("ro.wmf")), QByteArray());
    EXPECT_EQ(QFile::permissions(path("ro.wmf")) & 0x7077, QFile::Permissions(QFile::ReadOwner));
    EXPECT_TRUE(
        QString::fromUtf8(readBytes(path("FSM_ERR.log")))
            .contains("]:Fsm can't save, access denied to file:[" + path("ro.wmf") + "]\r\n"));

    // The page stops at its read-only picture; a read-only page stops too.
    QFile::remove(path("ro.wmf"));
    touch(path("ro.htm"));
    QFile::setPermissions(path("ro.htm"), QFile::ReadOwner);
    EXPECT_FALSE(HtmlPage::fileSaveAsHTML(*doc, path("ro.htm"), false, messenger));
    EXPECT_EQ(readBytes(path("ro.htm")), QByteArray());
}
