#include "FsmTestKit.h"
#include "clsParientes.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace orvane;
using namespace orvane::testkit;

namespace {
void Touch(const QString& path)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
}

// A folder with Top.fsm, its child folder Top/, and candidate children.
struct Tree {
    QTemporaryDir dir;
    QString top = dir.filePath(QStringLiteral("Top.fsm"));
    clsParientes p;
    Tree()
    {
        QDir(dir.path()).mkdir(QStringLiteral("Top"));
        Touch(top);
        Touch(dir.filePath(QStringLiteral("CHILD.fsm")));
        Touch(dir.filePath(QStringLiteral("Top/SUB.fsm")));
        Touch(dir.filePath(QStringLiteral("BOTH.fsm")));
        Touch(dir.filePath(QStringLiteral("Top/BOTH.fsm")));
        QDir(dir.path()).mkdir(QStringLiteral("FOLDER.fsm"));
        p.Reset(top);
    }
};
}  // namespace

TEST(ChildSearch, FindsCallsBesideAndInTheChildFolder)
{
    Tree t;
    EXPECT_TRUE(t.p.BuscaEnlaces(QStringLiteral("x = 1; CHILD();\r\nif (a) SUB(2);")));
    ASSERT_EQ(t.p.DimeNumeroHijos(), 2);
    EXPECT_EQ(t.p.DimeHijo(1), QStringLiteral("/SUB.fsm"));  // "/" sorts before letters
    EXPECT_EQ(t.p.DimeHijo(2), QStringLiteral("CHILD.fsm"));
    EXPECT_EQ(t.p.DimeHijo(0), QString());
    EXPECT_EQ(t.p.DimeHijo(3), QString());
}

TEST(ChildSearch, NamesThatAreNotPlainCallsAreNotFound)
{
    Tree t;
    EXPECT_FALSE(t.p.BuscaEnlaces(QStringLiteral("SUB (b);")));     // blank before "("
    EXPECT_FALSE(t.p.BuscaEnlaces(QStringLiteral("y=CHILD();")));   // name is y=CHILD
    EXPECT_FALSE(t.p.BuscaEnlaces(QStringLiteral("child();")));     // exact case
    EXPECT_FALSE(t.p.BuscaEnlaces(QStringLiteral("FOLDER();")));    // a folder is no diagram
    EXPECT_FALSE(t.p.BuscaEnlaces(QStringLiteral("a-CHILD();")));   // forbidden character
    EXPECT_FALSE(t.p.BuscaEnlaces(QStringLiteral("CHILD")));        // no call
    EXPECT_FALSE(t.p.BuscaEnlaces(QString()));
    EXPECT_EQ(t.p.DimeNumeroHijos(), 0);
    // An outer "(" starts the name again: the outermost call counts.
    EXPECT_FALSE(t.p.BuscaEnlaces(QStringLiteral("f(CHILD());")));
    EXPECT_TRUE(t.p.BuscaEnlaces(QStringLiteral("CHILD(f(x));")));
    EXPECT_TRUE(t.p.BuscaEnlaces(QStringLiteral("\tCHILD();")));
    EXPECT_EQ(t.p.DimeNumeroHijos(), 1);
}

TEST(ChildSearch, ReferenceInBothPlacesIsListedTwiceAndOnlyOnceEach)
{
    Tree t;
    EXPECT_TRUE(t.p.BuscaEnlaces(QStringLiteral("BOTH(); BOTH();")));
    ASSERT_EQ(t.p.DimeNumeroHijos(), 2);
    EXPECT_EQ(t.p.DimeHijo(1), QStringLiteral("/BOTH.fsm"));
    EXPECT_EQ(t.p.DimeHijo(2), QStringLiteral("BOTH.fsm"));
}

TEST(ChildSearch, ScansDuringAndElseOfStatesOnly)
{
    Tree t;
    FsmDocument doc;
    Diagram& d = doc.diagram();
    RawNode(d, modNodoEstado::NODE_STATE_NORMAL, {"A", "", "1", "CHILD();", "CHILD();"});
    EXPECT_FALSE(t.p.BuscaTodosEnlaces(d));  // entry and exit do not count
    RawNode(d, modNodoEstado::NODE_TRANSITION, {"SUB();", "SUB();"});
    EXPECT_FALSE(t.p.BuscaTodosEnlaces(d));
    RawNode(d, modNodoEstado::NODE_STATE_SUPER, {"B", "", "2", "", "", "", "", "SUB();"});
    EXPECT_TRUE(t.p.BuscaTodosEnlaces(d));
    EXPECT_EQ(t.p.DimeHijo(1), QStringLiteral("/SUB.fsm"));
}

TEST(ChildPaths, FullAndRelativePaths)
{
    Tree t;
    const QString root = t.dir.path();
    EXPECT_EQ(t.p.childFolder(), root + QStringLiteral("/Top"));
    EXPECT_EQ(t.p.siblingFolder(), root);
    EXPECT_EQ(t.p.RutaCompleta(QStringLiteral("/SUB.fsm")), root + QStringLiteral("/Top/SUB.fsm"));
    EXPECT_EQ(t.p.RutaCompleta(QStringLiteral("CHILD.fsm")), root + QStringLiteral("/CHILD.fsm"));
    EXPECT_EQ(t.p.RutaRelativa(QStringLiteral("/SUB.fsm")), QStringLiteral("./Top/SUB.fsm"));
    EXPECT_EQ(t.p.RutaRelativa(QStringLiteral("CHILD.fsm")), QStringLiteral("./CHILD.fsm"));

    clsParientes rootDoc;
    rootDoc.Reset(QStringLiteral("/a.fsm"));
    EXPECT_EQ(rootDoc.siblingFolder(), QStringLiteral("/"));
    EXPECT_EQ(rootDoc.childFolder(), QStringLiteral("/a"));
    EXPECT_EQ(rootDoc.RutaCompleta(QStringLiteral("B.fsm")), QStringLiteral("/B.fsm"));

    clsParientes dotted;
    dotted.Reset(QStringLiteral("/w/v1.2/Top"));  // a dot only in a folder name
    EXPECT_EQ(dotted.childFolder(), QStringLiteral("/w/v1.2/Top"));
    EXPECT_EQ(dotted.RutaRelativa(QStringLiteral("/S.fsm")), QStringLiteral("./Top/S.fsm"));
}
