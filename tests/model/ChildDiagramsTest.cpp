#include "FsmTestKit.h"
#include "ChildDiagrams.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace orvane;
using namespace orvane::testkit;

namespace {
void touch(const QString& path)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
}

// A folder with Top.fsm, its child folder Top/, and candidate children.
struct Tree {
    QTemporaryDir dir;
    QString top = dir.filePath(QStringLiteral("Top.fsm"));
    ChildDiagrams p;
    Tree()
    {
        QDir(dir.path()).mkdir(QStringLiteral("Top"));
        touch(top);
        touch(dir.filePath(QStringLiteral("CHILD.fsm")));
        touch(dir.filePath(QStringLiteral("Top/SUB.fsm")));
        touch(dir.filePath(QStringLiteral("BOTH.fsm")));
        touch(dir.filePath(QStringLiteral("Top/BOTH.fsm")));
        QDir(dir.path()).mkdir(QStringLiteral("FOLDER.fsm"));
        p.reset(top);
    }
};
}  // namespace

TEST(ChildSearch, FindsCallsBesideAndInTheChildFolder)
{
    Tree t;
    EXPECT_TRUE(t.p.scanText(QStringLiteral("x = 1; CHILD();\r\nif (a) SUB(2);")));
    ASSERT_EQ(t.p.children().size(), 2);
    EXPECT_EQ(t.p.children().at(0), QStringLiteral("/SUB.fsm"));  // "/" sorts before letters
    EXPECT_EQ(t.p.children().at(1), QStringLiteral("CHILD.fsm"));
}

TEST(ChildSearch, NamesThatAreNotPlainCallsAreNotFound)
{
    Tree t;
    EXPECT_FALSE(t.p.scanText(QStringLiteral("SUB (b);")));    // blank before "("
    EXPECT_FALSE(t.p.scanText(QStringLiteral("y=CHILD();")));  // name is y=CHILD
    EXPECT_FALSE(t.p.scanText(QStringLiteral("child();")));    // exact case
    EXPECT_FALSE(t.p.scanText(QStringLiteral("FOLDER();")));   // a folder is no diagram
    EXPECT_FALSE(t.p.scanText(QStringLiteral("a-CHILD();")));  // forbidden character
    EXPECT_FALSE(t.p.scanText(QStringLiteral("CHILD")));       // no call
    EXPECT_FALSE(t.p.scanText(QString()));
    EXPECT_EQ(t.p.children().size(), 0);
    // An outer "(" starts the name again: the outermost call counts.
    EXPECT_FALSE(t.p.scanText(QStringLiteral("f(CHILD());")));
    EXPECT_TRUE(t.p.scanText(QStringLiteral("CHILD(f(x));")));
    EXPECT_TRUE(t.p.scanText(QStringLiteral("\tCHILD();")));
    EXPECT_EQ(t.p.children().size(), 1);
}

TEST(ChildSearch, ReferenceInBothPlacesIsListedTwiceAndOnlyOnceEach)
{
    Tree t;
    EXPECT_TRUE(t.p.scanText(QStringLiteral("BOTH(); BOTH();")));
    ASSERT_EQ(t.p.children().size(), 2);
    EXPECT_EQ(t.p.children().at(0), QStringLiteral("/BOTH.fsm"));
    EXPECT_EQ(t.p.children().at(1), QStringLiteral("BOTH.fsm"));
}

TEST(ChildSearch, ScansDuringAndElseOfStatesOnly)
{
    Tree t;
    FsmDocument doc;
    Diagram& d = doc.diagram();
    rawNode(d, NodeStateNormal, {"A", "", "1", "CHILD();", "CHILD();"});
    EXPECT_FALSE(t.p.scanDiagram(d));  // entry and exit do not count
    rawNode(d, NodeTransition, {"SUB();", "SUB();"});
    EXPECT_FALSE(t.p.scanDiagram(d));
    rawNode(d, NodeStateSuper, {"B", "", "2", "", "", "", "", "SUB();"});
    EXPECT_TRUE(t.p.scanDiagram(d));
    EXPECT_EQ(t.p.children().at(0), QStringLiteral("/SUB.fsm"));
}

TEST(ChildPaths, FullAndRelativePaths)
{
    Tree t;
    const QString root = t.dir.path();
    EXPECT_EQ(t.p.childFolder(), root + QStringLiteral("/Top"));
    EXPECT_EQ(t.p.siblingFolder(), root);
    EXPECT_EQ(t.p.fullPath(QStringLiteral("/SUB.fsm")), root + QStringLiteral("/Top/SUB.fsm"));
    EXPECT_EQ(t.p.fullPath(QStringLiteral("CHILD.fsm")), root + QStringLiteral("/CHILD.fsm"));
    EXPECT_EQ(t.p.relativePath(QStringLiteral("/SUB.fsm")), QStringLiteral("./Top/SUB.fsm"));
    EXPECT_EQ(t.p.relativePath(QStringLiteral("CHILD.fsm")), QStringLiteral("./CHILD.fsm"));

    ChildDiagrams rootDoc;
    rootDoc.reset(QStringLiteral("/a.fsm"));
    EXPECT_EQ(rootDoc.siblingFolder(), QStringLiteral("/"));
    EXPECT_EQ(rootDoc.childFolder(), QStringLiteral("/a"));
    EXPECT_EQ(rootDoc.fullPath(QStringLiteral("B.fsm")), QStringLiteral("/B.fsm"));

    ChildDiagrams dotted;
    dotted.reset(QStringLiteral("/w/v1.2/Top"));  // a dot only in a folder name
    EXPECT_EQ(dotted.childFolder(), QStringLiteral("/w/v1.2/Top"));
    EXPECT_EQ(dotted.relativePath(QStringLiteral("/S.fsm")), QStringLiteral("./Top/S.fsm"));
}
