#include "Diagram.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cmath>
#include <tuple>

using namespace orvane;

namespace {

QString writeText(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes)
{
    const QString path = dir.filePath(name);
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(bytes);
    return path;
}

QByteArray readAll(const QString& path)
{
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

// A diagram with every kind of property set away from its default.
void buildSample(Diagram& d)
{
    DiagramFont f;
    f.name = QStringLiteral("DejaVu Sans Mono");
    f.size = 10.5;
    f.bold = true;
    f.strikeout = true;
    d.setFont(f);
    d.setDefaultFillColor(0x00C0FFEE);
    d.setShowGrid(true);
    d.setGridSize(240);
    Node* a = d.addNode(1000, 1000, 1500, 900);
    a->setTag(QStringLiteral("Off\u00B7 \u00B7\u00B7 \u00B71\u00B7 \u00B7"));
    a->setText(QStringLiteral("line one\r\nline \"two\" \\ \t\u20AC\U0001F600"));
    a->setToolTip(QStringLiteral("tip"));
    a->setUserData(16384);
    a->setDrawWidth(2);
    a->setDrawColor(0x3C00B4);
    Node* b = d.addNode(4000.25, -12.5, 1500, 900);
    b->setUserData(-5);
    b->setIsFsmItem(false);
    b->setShape(5);
    DiagramFont nf;
    nf.name = QStringLiteral("Courier");
    nf.size = 12;
    nf.italic = true;
    b->setFont(nf);
    Node* t = d.addNode(2500, 1200, 150, 100);
    d.setNewLinkArrowDst(0);
    Link* l1 = d.addLink(a, t);
    d.setNewLinkArrowDst(3);
    Link* l2 = d.addLink(t, b);
    l2->setDrawStyle(2);
    l2->setDrawColor(32512);
    l2->setExtraPoints({QPointF(10, 20), QPointF(30.5, 40)});
    d.addLink(b, a);
    l1->setIsFsmItem(false);
}

void expectSameDiagram(const Diagram& a, const Diagram& b)
{
    EXPECT_EQ(a.font(), b.font());
    EXPECT_EQ(a.defaultFillColor(), b.defaultFillColor());
    EXPECT_EQ(a.showGrid(), b.showGrid());
    EXPECT_EQ(a.gridSize(), b.gridSize());
    ASSERT_EQ(a.nodeCount(), b.nodeCount());
    for (int i = 0; i < a.nodeCount(); ++i) {
        const Node& x = *a.nodes()[size_t(i)];
        const Node& y = *b.nodes()[size_t(i)];
        EXPECT_EQ(x.left(), y.left());
        EXPECT_EQ(x.top(), y.top());
        EXPECT_EQ(x.width(), y.width());
        EXPECT_EQ(x.height(), y.height());
        EXPECT_EQ(x.text(), y.text());
        EXPECT_EQ(x.toolTip(), y.toolTip());
        EXPECT_EQ(x.tag(), y.tag());
        EXPECT_EQ(x.userData(), y.userData());
        EXPECT_EQ(x.isFsmItem(), y.isFsmItem());
        EXPECT_EQ(x.shape(), y.shape());
        EXPECT_EQ(x.drawWidth(), y.drawWidth());
        EXPECT_EQ(x.drawColor(), y.drawColor());
        EXPECT_EQ(x.fillColor(), y.fillColor());
        EXPECT_EQ(x.font(), y.font());
        ASSERT_EQ(x.outLinks().size(), y.outLinks().size());
        for (size_t k = 0; k < x.outLinks().size(); ++k)
            EXPECT_EQ(a.indexOf(x.outLinks()[k]->dst()), b.indexOf(y.outLinks()[k]->dst()));
    }
    ASSERT_EQ(a.links().size(), b.links().size());
    for (size_t i = 0; i < a.links().size(); ++i) {
        const Link& x = *a.links()[i];
        const Link& y = *b.links()[i];
        EXPECT_EQ(a.indexOf(x.org()), b.indexOf(y.org()));
        EXPECT_EQ(a.indexOf(x.dst()), b.indexOf(y.dst()));
        EXPECT_EQ(x.drawColor(), y.drawColor());
        EXPECT_EQ(x.drawStyle(), y.drawStyle());
        EXPECT_EQ(x.arrowDst(), y.arrowDst());
        EXPECT_EQ(x.isFsmItem(), y.isFsmItem());
        EXPECT_EQ(x.extraPoints(), y.extraPoints());
    }
}

}  // namespace

TEST(DiagramFile, RoundTripKeepsEveryPropertyAndOrder)
{
    QTemporaryDir dir;
    Diagram d;
    buildSample(d);
    d.setTag(QStringLiteral("not saved"));
    QString err;
    ASSERT_TRUE(d.saveFile(dir.filePath("a.fsm"), &err)) << err.toStdString();

    Diagram e;
    ASSERT_TRUE(e.loadFile(dir.filePath("a.fsm"), &err)) << err.toStdString();
    expectSameDiagram(d, e);
    EXPECT_TRUE(e.tag().isEmpty());
    EXPECT_FALSE(e.changed());

    // Saving what was loaded gives the same bytes.
    ASSERT_TRUE(e.saveFile(dir.filePath("b.fsm"), &err));
    EXPECT_EQ(readAll(dir.filePath("a.fsm")), readAll(dir.filePath("b.fsm")));
}

TEST(DiagramFile, WritesTheDocumentedLayout)
{
    QTemporaryDir dir;
    Diagram d;
    Node* a = d.addNode(1000, 1000, 1500, 900);
    Node* b = d.addNode(0, 0, 100, 100);
    d.addLink(a, b);
    ASSERT_TRUE(d.saveFile(dir.filePath("x.fsm"), nullptr));
    const QByteArray text = readAll(dir.filePath("x.fsm"));
    EXPECT_TRUE(text.startsWith(
        "{\n  \"format\": \"fsm-diagram\",\n  \"version\": 1,\n  \"diagram\": {\n"));
    EXPECT_TRUE(text.contains(
        "\n    {\"id\": 1, \"left\": 1000, \"top\": 1000, \"width\": 1500, \"height\": 900, \"text\": \"\""));
    EXPECT_TRUE(text.contains("\n    {\"org\": 1, \"dst\": 2, "));
    EXPECT_TRUE(text.endsWith("\n  ]\n}\n"));
}

TEST(DiagramFile, ReadsTheDocumentedExampleWithDefaults)
{
    QTemporaryDir dir;
    const QString path = writeText(dir, "ex.fsm", R"({
  "format": "fsm-diagram",
  "version": 1,
  "nodes": [
    {"id": 7, "left": 1000, "top": 1000, "width": 1500, "height": 900, "tag": "Off\u00b7 \u00b7", "userData": 16384},
    {"id": 3, "left": 4000, "top": 1000, "width": 1500, "height": 900, "unknownMember": [1,2]}
  ],
  "links": [ {"org": 7, "dst": 3, "arrowDst": 0} ],
  "extra": {"ignored": true}
})");
    Diagram d;
    QString err;
    ASSERT_TRUE(d.loadFile(path, &err)) << err.toStdString();
    ASSERT_EQ(d.nodeCount(), 2);
    EXPECT_EQ(d.item(1)->tag(), QStringLiteral("Off\u00B7 \u00B7"));
    EXPECT_EQ(d.item(1)->userData(), 16384);
    EXPECT_TRUE(d.item(2)->isFsmItem());
    EXPECT_EQ(d.item(2)->shape(), 1);
    EXPECT_EQ(d.item(2)->fillColor(), 0xFFFFF0u);
    EXPECT_EQ(d.item(2)->font().name, QStringLiteral("Arial"));
    ASSERT_EQ(d.item(1)->outLinks().size(), 1u);
    EXPECT_EQ(d.item(1)->outLinks()[0]->dst(), d.item(2));
    EXPECT_EQ(d.item(1)->outLinks()[0]->arrowDst(), 0);
    EXPECT_EQ(d.item(2)->inLinks().size(), 1u);
}

TEST(DiagramFile, HostileFilesAreRefusedAndLeaveTheDiagramAlone)
{
    QTemporaryDir dir;
    const char* node = R"({"id": 1, "left": 0, "top": 0, "width": 10, "height": 10})";
    const std::vector<std::pair<const char*, QByteArray>> cases = {
        {"not JSON", "{\"format\": \"fsm-diagram\", "},
        {"not an object", "[1, 2]"},
        {"empty", ""},
        {"wrong format", R"({"format": "other", "version": 1, "nodes": [], "links": []})"},
        {"missing version", R"({"format": "fsm-diagram", "nodes": [], "links": []})"},
        {"newer version", R"({"format": "fsm-diagram", "version": 2, "nodes": [], "links": []})"},
        {"fractional version",
         R"({"format": "fsm-diagram", "version": 1.5, "nodes": [], "links": []})"},
        {"nodes not array", R"({"format": "fsm-diagram", "version": 1, "nodes": {}, "links": []})"},
        {"links missing", R"({"format": "fsm-diagram", "version": 1, "nodes": []})"},
        {"node not object",
         R"({"format": "fsm-diagram", "version": 1, "nodes": [5], "links": []})"},
        {"missing geometry",
         R"({"format": "fsm-diagram", "version": 1, "nodes": [{"id": 1, "left": 0}], "links": []})"},
        {"id zero",
         R"({"format": "fsm-diagram", "version": 1, "nodes": [{"id": 0, "left": 0, "top": 0, "width": 1, "height": 1}], "links": []})"},
        {"text not string",
         R"({"format": "fsm-diagram", "version": 1, "nodes": [{"id": 1, "left": 0, "top": 0, "width": 1, "height": 1, "text": 5}], "links": []})"},
        {"userData too large",
         R"({"format": "fsm-diagram", "version": 1, "nodes": [{"id": 1, "left": 0, "top": 0, "width": 1, "height": 1, "userData": 4294967296}], "links": []})"},
        {"huge geometry",
         R"({"format": "fsm-diagram", "version": 1, "nodes": [{"id": 1, "left": 1e10, "top": 0, "width": 1, "height": 1}], "links": []})"},
        {"infinite number",
         R"({"format": "fsm-diagram", "version": 1, "nodes": [{"id": 1, "left": 1e999, "top": 0, "width": 1, "height": 1}], "links": []})"},
        {"duplicate ids", QByteArray(R"({"format": "fsm-diagram", "version": 1, "nodes": [)") + node
                              + "," + node + R"(], "links": []})"},
        {"dangling link", QByteArray(R"({"format": "fsm-diagram", "version": 1, "nodes": [)") + node
                              + R"(], "links": [{"org": 1, "dst": 9}]})"},
        {"bad bend point", QByteArray(R"({"format": "fsm-diagram", "version": 1, "nodes": [)")
                               + node
                               + R"(], "links": [{"org": 1, "dst": 1, "extraPoints": [[1]]}]})"},
        {"bad font",
         QByteArray(
             R"({"format": "fsm-diagram", "version": 1, "diagram": {"font": {"size": -3}}, "nodes": [], "links": []})")},
    };
    for (const auto& [what, bytes] : cases) {
        Diagram d;
        Node* kept = d.addNode(1, 2, 3, 4);
        kept->setText(QStringLiteral("keep"));
        d.setChanged(false);
        QString err;
        const QString path = writeText(dir, "bad.fsm", bytes);
        EXPECT_FALSE(d.loadFile(path, &err)) << what;
        EXPECT_TRUE(err.contains(path)) << what << ": " << err.toStdString();
        ASSERT_EQ(d.nodeCount(), 1) << what;
        EXPECT_EQ(d.item(1)->text(), QStringLiteral("keep")) << what;
        EXPECT_FALSE(d.changed()) << what;
    }
}

// The reader takes the file apart before parsing its pieces; any layout of
// valid JSON must read the same, and a syntax error anywhere must refuse it.
TEST(DiagramFile, AnyLayoutOfValidJsonReads)
{
    QTemporaryDir dir;
    const QByteArray node =
        R"({"id": 7, "left": 0, "top": 0, "width": 1, "height": 1, "text": "a ] } \" [ {"})";
    const std::vector<std::pair<const char*, QByteArray>> cases = {
        {"byte order mark", "\xEF\xBB\xBF{\"format\": \"fsm-diagram\", \"version\": 1, \"nodes\": ["
                                + node + "], \"links\": []}"},
        {"white space everywhere", " \t\r\n{ \"links\" :\n[ ] ,\t\"nodes\"\r\n:[\n" + node
                                       + "\n] , \"version\":1,\"format\":\"fsm-diagram\" }\n\n"},
        {"unknown members",
         R"({"format": "fsm-diagram", "x": {"y": ["]", "}", {"z": null}]}, "version": 1, "nodes": [)"
             + node + R"(], "links": [], "w": -1.5e3})"},
        {"repeated member, the last counts",
         R"({"format": "fsm-diagram", "version": 1, "nodes": 5, "nodes": [)" + node
             + R"(], "links": []})"},
        {"runs of backslashes before quotes",
         R"({"format": "fsm-diagram", "x": ["\\", "\\\"]\\", {"\\\\": "\\\"}"}], "version": 1, )"
         R"("nodes": [)"
             + node + R"(], "links": [], "y": "\\\\"})"},
        {"escaped names", R"({"\u0066ormat": "fsm-diagram", "version": 1, "nodes": [)" + node
                              + R"(], "links": []})"},
    };
    for (const auto& [what, bytes] : cases) {
        Diagram d;
        QString err;
        ASSERT_TRUE(d.loadFile(writeText(dir, "ok.fsm", bytes), &err))
            << what << ": " << err.toStdString();
        ASSERT_EQ(d.nodeCount(), 1) << what;
        EXPECT_EQ(d.item(1)->text(), QStringLiteral("a ] } \" [ {")) << what;
    }
}

TEST(DiagramFile, SyntaxErrorsAnywhereAreRefusedWithTheirOffset)
{
    // The offset is that of the byte where reading stopped (the head is 40 bytes).
    QTemporaryDir dir;
    const QByteArray head = R"({"format": "fsm-diagram", "version": 1, )";
    const std::vector<std::tuple<const char*, QByteArray, int>> cases = {
        {"inside a node", head + R"("nodes": [{"id": 1,, "left": 0}], "links": []})", 60},
        {"between nodes", head + R"("nodes": [{"id": 1} {"id": 2}], "links": []})", 60},
        {"comma before the end of an array", head + R"("nodes": [], "links": [{"org": 1},]})", 74},
        {"inside an unknown member", head + R"("nodes": [], "links": [], "x": {"a" 1}})", 77},
        {"comma before the end of the object", head + R"("nodes": [], "links": [],})", 65},
        {"missing name separator", head + R"("nodes" [], "links": []})", 48},
        {"unterminated string", head + R"("nodes": [], "links": [], "x": "abc)", 75},
        {"mismatched brackets", head + R"("nodes": [{"id": 1]], "links": []})", 58},
        {"text after the object", head + R"("nodes": [], "links": []} x)", 66},
        {"bad literal", head + R"("nodes": [], "links": [], "x": tru})", 72},
        {"after a plain node",
         head
             + R"("nodes": [{"id": 1, "left": 0, "top": 0, "width": 1, "height": 1} 5], "links": []})",
         106},
        {"in a link after plain nodes",
         head
             + R"("nodes": [{"id": 1, "left": 0, "top": 0, "width": 1, "height": 1}], "links": [{"org": 1 "dst": 1}]})",
         129},
    };
    for (const auto& [what, bytes, offset] : cases) {
        Diagram d;
        QString err;
        EXPECT_FALSE(d.loadFile(writeText(dir, "bad.fsm", bytes), &err)) << what;
        EXPECT_TRUE(err.contains(QStringLiteral("not valid JSON at offset %1 ").arg(offset)))
            << what << ": " << err.toStdString();
    }
}

TEST(DiagramFile, TruncatedFileNamesTheOffset)
{
    QTemporaryDir dir;
    Diagram d;
    buildSample(d);
    ASSERT_TRUE(d.saveFile(dir.filePath("a.fsm"), nullptr));
    const QByteArray full = readAll(dir.filePath("a.fsm"));
    const QString cut = writeText(dir, "cut.fsm", full.left(full.size() / 2));
    Diagram e;
    QString err;
    EXPECT_FALSE(e.loadFile(cut, &err));
    EXPECT_TRUE(err.contains(QStringLiteral("offset"))) << err.toStdString();
    EXPECT_EQ(e.nodeCount(), 0);
}

// Escaped texts before and after a big one: the reader keeps one buffer for
// unescaping, which a short text must not see the rest of a longer one in.
TEST(DiagramFile, LargeTextsSurvive)
{
    QTemporaryDir dir;
    Diagram d;
    QString big;
    big.reserve(10 * 1024 * 1024);
    const QString chunk = QStringLiteral("x = \"\u00e9\";\r\n");
    while (big.size() < 10 * 1024 * 1024)
        big += chunk;
    const QString texts[] = {QStringLiteral("a\r\nb"), big, QStringLiteral("q\\\""),
                             QStringLiteral("plain")};
    for (const QString& text : texts)
        d.addNode(0, 0, 10, 10)->setTag(text);
    ASSERT_TRUE(d.saveFile(dir.filePath("big.fsm"), nullptr));
    Diagram e;
    ASSERT_TRUE(e.loadFile(dir.filePath("big.fsm"), nullptr));
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(e.item(i + 1)->tag(), texts[i]) << i;
}

TEST(DiagramFile, FailedSaveLeavesTheOldFile)
{
    QTemporaryDir dir;
    Diagram d;
    d.addNode(0, 0, 10, 10);
    const QString path = dir.filePath("keep.fsm");
    ASSERT_TRUE(d.saveFile(path, nullptr));
    const QByteArray before = readAll(path);
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner);
    d.addNode(5, 5, 10, 10);
    QString err;
    const bool saved = d.saveFile(path, &err);
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    if (saved)
        GTEST_SKIP() << "running with rights that ignore folder permissions";
    EXPECT_TRUE(err.contains(path));
    EXPECT_EQ(readAll(path), before);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 1);
}

TEST(DiagramFile, SaveOverAFolderFailsCleanly)
{
    // Renaming the finished file over a folder fails even for root: the
    // folder stays, no temporary file is left behind and the error says so.
    QTemporaryDir dir;
    QDir(dir.path()).mkpath("taken.fsm/inside");
    Diagram d;
    d.addNode(0, 0, 10, 10);
    QString err;
    EXPECT_FALSE(d.saveFile(dir.filePath("taken.fsm"), &err));
    EXPECT_TRUE(err.contains(QStringLiteral("taken.fsm")));
    EXPECT_TRUE(QDir(dir.filePath("taken.fsm/inside")).exists());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 0);
}

TEST(Diagram, DeletingANodeRemovesItsLinksAndKeepsOrder)
{
    Diagram d;
    Node* a = d.addNode(0, 0, 1, 1);
    Node* b = d.addNode(0, 0, 1, 1);
    Node* c = d.addNode(0, 0, 1, 1);
    d.addLink(a, b);
    Link* ac = d.addLink(a, c);
    d.addLink(b, c);
    d.setCurrentNode(b);
    d.setChanged(false);
    d.deleteCurrent();
    EXPECT_TRUE(d.changed());
    ASSERT_EQ(d.nodeCount(), 2);
    EXPECT_EQ(d.item(1), a);
    EXPECT_EQ(d.item(2), c);
    EXPECT_EQ(d.item(3), nullptr);
    EXPECT_EQ(d.currentNode(), nullptr);
    ASSERT_EQ(d.links().size(), 1u);
    EXPECT_EQ(d.links()[0].get(), ac);
    EXPECT_EQ(a->outLinks(), std::vector<Link*>{ac});
    EXPECT_EQ(c->inLinks(), std::vector<Link*>{ac});
}

TEST(Diagram, DeleteSelectedTakesNodesLinksAndAttachedLinks)
{
    Diagram d;
    Node* a = d.addNode(0, 0, 1, 1);
    Node* b = d.addNode(0, 0, 1, 1);
    Node* c = d.addNode(0, 0, 1, 1);
    d.addLink(a, b);
    Link* bc = d.addLink(b, c);
    Link* ca = d.addLink(c, a);
    a->setSelected(true);
    bc->setSelected(true);
    d.deleteSelected();
    EXPECT_EQ(d.nodeCount(), 2);
    EXPECT_TRUE(d.links().empty());
    EXPECT_TRUE(b->outLinks().empty());
    EXPECT_TRUE(c->outLinks().empty());
    (void)ca;
}

TEST(Diagram, ChangedFollowsEditsButNotSelection)
{
    Diagram d;
    Node* a = d.addNode(0, 0, 1, 1);
    d.setChanged(false);
    a->setSelected(true);
    EXPECT_FALSE(d.changed());
    a->setText(QStringLiteral("x"));
    EXPECT_TRUE(d.changed());
    d.setChanged(false);
    a->setText(QStringLiteral("x"));  // same value: no edit
    EXPECT_FALSE(d.changed());
    a->setAutosize(3);
    EXPECT_TRUE(d.changed());
    EXPECT_GT(a->width(), 120.0);
}

TEST(DiagramFile, ACopyForAnotherThreadSavesTheSameBytesAndStaysAsItWas)
{
    QTemporaryDir dir;
    Diagram d;
    buildSample(d);
    d.item(1)->setSelected(true);
    const std::unique_ptr<Diagram> copy = d.fileCopy();
    expectSameDiagram(d, *copy);
    EXPECT_EQ(copy->thread(), nullptr);
    ASSERT_TRUE(d.saveFile(dir.filePath("original.fsm"), nullptr));
    ASSERT_TRUE(copy->saveFile(dir.filePath("copy.fsm"), nullptr));
    EXPECT_EQ(readAll(dir.filePath("original.fsm")), readAll(dir.filePath("copy.fsm")));

    // Later edits of the original do not reach the copy, which keeps its
    // own links between its own nodes.
    d.item(1)->setText(QStringLiteral("changed"));
    d.item(1)->setLeft(0);
    d.links().front()->setExtraPoints({QPointF(1, 2)});
    d.deleteNode(d.item(2));
    ASSERT_TRUE(copy->saveFile(dir.filePath("copy2.fsm"), nullptr));
    EXPECT_EQ(readAll(dir.filePath("original.fsm")), readAll(dir.filePath("copy2.fsm")));
    for (const auto& l : copy->links()) {
        EXPECT_GE(copy->indexOf(l->org()), 0);
        EXPECT_GE(copy->indexOf(l->dst()), 0);
    }
}

// Nodes and links written the usual way are read straight from the text; any
// other element goes through Qt's parser and the member checks. An unknown
// member at the end of an element sends it the checked way, so each case is
// loaded both ways: the two must give the same diagram, or the same error.
TEST(DiagramFile, ElementsReadStraightFromTheTextMatchTheCheckedReading)
{
    QTemporaryDir dir;
    const QByteArray geometry = R"("id": 1, "left": 0, "top": 0, "width": 10, "height": 10)";
    const std::vector<std::pair<const char*, QByteArray>> nodeCases = {
        {"numbers", R"("id": 3, "left": -0, "top": 1.5E-3, "width": 2.5e+2, "height": 1e2, )"
                    R"("userData": -2147483648, "shape": 2147483647, "drawWidth": 1000, )"
                    R"("drawColor": -1, "fillColor": 4294967295, "foreColor": 0)"},
        {"largest id", R"("id": 9007199254740991, "left": 0.1, "top": 0, "width": 1, "height": 1)"},
        {"id past the largest",
         R"("id": 9007199254740992, "left": 0, "top": 0, "width": 1, "height": 1)"},
        {"nineteen digits",
         R"("id": 1000000000000000000, "left": 0, "top": 0, "width": 1, "height": 1)"},
        {"fractional id", R"("id": 1.5, "left": 0, "top": 0, "width": 1, "height": 1)"},
        {"subnormal", R"("id": 1, "left": 4e-320, "top": 0, "width": 1, "height": 1)"},
        {"underflow", R"("id": 1, "left": 1e-400, "top": 0, "width": 1, "height": 1)"},
        {"overflow", geometry + R"(, "shape": 1e400)"},
        {"geometry at the limit", R"("id": 1, "left": -1e9, "top": 1e9, "width": 0, "height": 0)"},
        {"geometry past the limit",
         R"("id": 1, "left": 1000000000.5, "top": 0, "width": 0, "height": 0)"},
        {"leading zero", geometry + R"(, "shape": 01)"},
        {"bare point", geometry + R"(, "shape": 1.)"},
        {"plus sign", geometry + R"(, "shape": +1)"},
        {"colour too large", geometry + R"(, "drawColor": 4294967296)"},
        {"escapes", geometry + R"(, "text": "q\" b\\ s\/ \b\f\n\r\t end", "tag": "")"},
        {"code-point escapes", geometry + R"(, "text": "\u00e9 \ud83d\ude00 \u0000")"},
        {"lone surrogate escape", geometry + R"(, "text": "\ud800")"},
        {"unknown escape", geometry + R"(, "text": "\q")"},
        {"UTF-8",
         geometry + "," + "\"tag\": \"\xC2\xB7 \xE2\x82\xAC \xF0\x9F\x98\x80 \xF4\x8F\xBF\xBD\""},
        {"non-character", geometry + ", \"text\": \"\xEF\xBF\xBF \xEF\xB7\x90\""},
        {"overlong", geometry + ", \"text\": \"\xC0\x80\""},
        {"encoded surrogate", geometry + ", \"text\": \"\xED\xA0\x80\""},
        {"past U+10FFFF", geometry + ", \"text\": \"\xF4\x90\x80\x80\""},
        {"cut sequence", geometry + ", \"text\": \"\xE2\x82\""},
        {"control character", geometry + ", \"text\": \"a\x01z\""},
        {"raw tab", geometry + ", \"text\": \"a\tz\""},
        {"repeated member", geometry + R"(, "text": "one", "text": "two")"},
        {"null", geometry + R"(, "text": null)"},
        {"boolean as number", geometry + R"(, "isFsmItem": 1)"},
        {"font", geometry
                     + R"(, "font": {"name": "Mono", "size": 9.5, "bold": true, )"
                       R"("italic": true, "underline": true, "strikeout": true})"},
        {"partial font", geometry + R"(, "font": {"bold": true})"},
        {"font size zero", geometry + R"(, "font": {"size": 0})"},
        {"font size repeated", geometry + R"(, "font": {"size": 9, "size": 10})"},
        {"no id", R"("left": 0, "top": 0, "width": 1, "height": 1)"},
        {"white space", "\r\n \"id\"\t:\n1 ,\"left\" : 0,\"top\":0,\"width\":1,\"height\":1 \n"},
        {"syntax error", geometry + R"(, "text": "a" "b")"},
    };
    const QByteArray twoNodes = R"({"id": 1, "left": 0, "top": 0, "width": 1, "height": 1}, )"
                                R"({"id": 2, "left": 5, "top": 0, "width": 1, "height": 1})";
    const std::vector<std::pair<const char*, QByteArray>> linkCases = {
        {"all members",
         R"("org": 1, "dst": 2, "drawColor": 255, "drawStyle": 100, "drawWidth": 0, )"
         R"("arrowOrg": 4, "arrowDst": 0, "isFsmItem": false, )"
         R"("extraPoints": [[1, 2], [ -3.25 , 4e2 ]])"},
        {"no bends", R"("org": 2, "dst": 1, "extraPoints": [])"},
        {"bend of three", R"("org": 1, "dst": 2, "extraPoints": [[1, 2, 3]])"},
        {"bend out of range", R"("org": 1, "dst": 2, "extraPoints": [[1e10, 0]])"},
        {"bend not an array", R"("org": 1, "dst": 2, "extraPoints": [5])"},
        {"trailing comma in bends", R"("org": 1, "dst": 2, "extraPoints": [[1, 2],])"},
        {"unknown end", R"("org": 1, "dst": 3)"},
        {"no dst", R"("org": 1)"},
        {"style out of range", R"("org": 1, "dst": 2, "drawStyle": 101)"},
    };
    const auto load = [&dir](const QByteArray& nodes, const QByteArray& links, Diagram& d) {
        QString err;
        const QByteArray file = R"({"format": "fsm-diagram", "version": 1, "nodes": [)" + nodes
                                + R"(], "links": [)" + links + "]}";
        return d.loadFile(writeText(dir, "a.fsm", file), &err) ? QString() : err;
    };
    const auto compare = [&load](const char* what, const QByteArray& nodes,
                                 const QByteArray& checkedNodes, const QByteArray& links,
                                 const QByteArray& checkedLinks) {
        Diagram plain, checked;
        const QString plainError = load(nodes, links, plain);
        const QString checkedError = load(checkedNodes, checkedLinks, checked);
        EXPECT_EQ(plainError.toStdString(), checkedError.toStdString()) << what;
        if (plainError.isEmpty() && checkedError.isEmpty()) {
            expectSameDiagram(plain, checked);
            for (int i = 0; i < plain.nodeCount(); ++i) {
                EXPECT_EQ(std::signbit(plain.nodes()[size_t(i)]->left()),
                          std::signbit(checked.nodes()[size_t(i)]->left()))
                    << what;
                EXPECT_EQ(plain.nodes()[size_t(i)]->foreColor(),
                          checked.nodes()[size_t(i)]->foreColor())
                    << what;
            }
        }
    };
    for (const auto& [what, members] : nodeCases)
        compare(what, "{" + members + "}", "{" + members + R"(, "unknown": 0})", {}, {});
    for (const auto& [what, members] : linkCases)
        compare(what, twoNodes, twoNodes, "{" + members + "}",
                "{" + members + R"(, "unknown": 0})");
    // One element the checked way: the others are still read straight.
    const QByteArray odd = R"({"id": 9, "left": 0, "top": 0, "width": 1, "height": 1, "x": 0})";
    const QByteArray link = R"({"org": 9, "dst": 3, "extraPoints": [[1, 2]]})";
    compare("mixed", odd + ", {" + nodeCases[0].second + "}",
            odd + ", {" + nodeCases[0].second + R"(, "x": 0})", link,
            link.chopped(1) + R"(, "x": 0})");

    // The cases that must read, read to the values written.
    Diagram d;
    ASSERT_TRUE(load("{" + nodeCases[0].second
                         + R"(}, {"id": 2, "left": 0, "top": 0, "width": 1, "height": 1, )"
                         + R"("text": "q\" b\\ s\/ \b\f\n\r\t end"})",
                     R"({"org": 3, "dst": 2, "extraPoints": [[1, 2], [-3.25, 4e2]]})", d)
                    .isEmpty());
    const Node& n = *d.nodes()[0];
    EXPECT_EQ(n.top(), 1.5e-3);
    EXPECT_EQ(n.width(), 250);
    EXPECT_EQ(n.userData(), -2147483647 - 1);
    EXPECT_EQ(n.drawColor(), 0xFFFFFFFFu);
    EXPECT_EQ(d.nodes()[1]->text(), QStringLiteral("q\" b\\ s/ \b\f\n\r\t end"));
    EXPECT_EQ(d.links()[0]->extraPoints(),
              (std::vector<QPointF>{QPointF(1, 2), QPointF(-3.25, 400)}));
}

// Node ids need not come as 1, 2, 3, ...: links find their ends by id in
// any order, and a repeated id is refused wherever it comes.
TEST(DiagramFile, NodeIdsInAnyOrder)
{
    QTemporaryDir dir;
    const auto file = [](std::initializer_list<int> ids, const QByteArray& links) {
        QByteArray nodes;
        for (int id : ids)
            nodes += (nodes.isEmpty() ? "" : ", ") + QByteArray(R"({"id": )")
                     + QByteArray::number(id)
                     + R"(, "left": 0, "top": 0, "width": 1, "height": 1})";
        return R"({"format": "fsm-diagram", "version": 1, "nodes": [)" + nodes + R"(], "links": [)"
               + links + "]}";
    };
    const QByteArray links = R"({"org": 1, "dst": 2}, {"org": 7, "dst": 3}, {"org": 2, "dst": 7})";
    for (const auto& ids : {std::vector<int>{1, 2, 7, 3}, std::vector<int>{7, 3, 2, 1}}) {
        Diagram d;
        QString err;
        QByteArray bytes = file({ids[0], ids[1], ids[2], ids[3]}, links);
        ASSERT_TRUE(d.loadFile(writeText(dir, "ids.fsm", bytes), &err)) << err.toStdString();
        const auto index = [&ids](int id) {
            return int(std::find(ids.begin(), ids.end(), id) - ids.begin());
        };
        ASSERT_EQ(d.links().size(), 3u);
        EXPECT_EQ(d.indexOf(d.links()[1]->org()), index(7));
        EXPECT_EQ(d.indexOf(d.links()[1]->dst()), index(3));
        EXPECT_EQ(d.indexOf(d.links()[2]->org()), index(2));
    }
    for (const QByteArray& bytes :
         {file({1, 2, 1}, {}), file({1, 2, 5, 2}, {}), file({3, 1, 3}, {})}) {
        Diagram d;
        QString err;
        EXPECT_FALSE(d.loadFile(writeText(dir, "ids.fsm", bytes), &err));
        EXPECT_TRUE(err.contains(QStringLiteral("is used by another node"))) << err.toStdString();
    }
    Diagram d;
    QString err;
    EXPECT_FALSE(
        d.loadFile(writeText(dir, "ids.fsm", file({1, 2}, R"({"org": 2, "dst": 3})")), &err));
    EXPECT_TRUE(err.contains(QStringLiteral("node id 3, which does not exist")))
        << err.toStdString();
}
