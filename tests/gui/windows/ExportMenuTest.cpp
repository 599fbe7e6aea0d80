// The File menu's pictures, text exports and SCXML import: the format
// follows the file name the save dialog returns, and an import opens the
// diagram it wrote.

#include "WindowTestSupport.h"

#include "FsmDocument.h"
#include "Records.h"

#include <QFile>
#include <QFileInfo>

using namespace orvane;
using namespace orvane::test;

namespace {

using ExportMenuTest = WindowTest;

QByteArray bytesOf(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace

TEST_F(ExportMenuTest, SaveAsPictureWritesTheFormatOfTheChosenName)
{
    DocumentWindow* w = open(writeDiagram(QStringLiteral("lamp.fsm")));
    ASSERT_TRUE(w);
    const QString png = work(QStringLiteral("p.png")), svg = work(QStringLiteral("p.svg")),
                  wmf = work(QStringLiteral("p.wmf"));
    for (const QString& name : {png, svg, wmf}) {
        ui.fileNames.push_back(name);
        item(w, "saveAsPictureAction")->trigger();
    }
    ASSERT_EQ(ui.dialogs.size(), 3u);
    EXPECT_EQ(ui.dialogs[0].proposedName, work(QStringLiteral("lamp.svg")));
    EXPECT_TRUE(bytesOf(png).startsWith("\x89PNG"));
    EXPECT_TRUE(bytesOf(svg).contains("<svg"));
    EXPECT_TRUE(bytesOf(wmf).startsWith("\xD7\xCD\xC6\x9A"));  // a placeable metafile
    EXPECT_FALSE(w->document()->fsm.diagram().changed());
}

TEST_F(ExportMenuTest, ExportWritesScxmlOrMermaidAndImportOpensTheDiagram)
{
    DocumentWindow* w = open(writeDiagram(QStringLiteral("lamp.fsm")));
    ASSERT_TRUE(w);
    const QString machine = machineConfig(w->document()->fsm.diagram()).name;
    const QString folder = makeDir(QStringLiteral("exported"));
    const QString scxml = folder + QStringLiteral("/lamp.scxml");
    const QString mermaid = folder + QStringLiteral("/lamp.mmd");
    for (const QString& name : {scxml, mermaid}) {
        ui.fileNames.push_back(name);
        item(w, "exportTextAction")->trigger();
    }
    EXPECT_TRUE(bytesOf(scxml).contains("<scxml"));
    EXPECT_TRUE(bytesOf(mermaid).contains("stateDiagram-v2"));

    ui.fileNames.push_back(scxml);
    item(w, "importScxmlAction")->trigger();
    const QString imported = folder + QLatin1Char('/') + machine + QStringLiteral(".fsm");
    EXPECT_TRUE(QFileInfo::exists(imported));
    ASSERT_TRUE(main->activeDoc());
    EXPECT_EQ(main->activeDoc()->document()->fsm.filePath, imported);

    // A second import would replace that file: it is refused and said.
    const qsizetype before = ui.shown.size();
    ui.fileNames.push_back(scxml);
    item(w, "importScxmlAction")->trigger();
    ASSERT_GT(ui.shown.size(), size_t(before));
    EXPECT_TRUE(ui.shown.back().text.contains(QStringLiteral("exists already")));
}
