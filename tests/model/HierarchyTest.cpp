#include "FsmTestKit.h"
#include "Hierarchy.h"

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
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
}
}  // namespace

TEST(Parent, IsTheFolderNamedDiagramBesideTheFolder)
{
    QTemporaryDir dir;
    QDir(dir.path()).mkdir(QStringLiteral("Top"));
    FsmDocument child;
    child.filePath = dir.filePath(QStringLiteral("Top/CHILD.fsm"));
    EXPECT_FALSE(Hierarchy::hasParent(child));  // no Top.fsm yet
    EXPECT_TRUE(child.parentPath.isEmpty());

    touch(dir.filePath(QStringLiteral("Top.fsm")));
    EXPECT_TRUE(Hierarchy::hasParent(child));
    EXPECT_EQ(child.parentPath, dir.filePath(QStringLiteral("Top.fsm")));

    FsmDocument inRoot;
    inRoot.filePath = QStringLiteral("/x.fsm");
    EXPECT_FALSE(Hierarchy::hasParent(inRoot));
    FsmDocument noFolder;
    noFolder.filePath = QStringLiteral("x.fsm");
    EXPECT_FALSE(Hierarchy::hasParent(noFolder));
}

TEST(Children, ListedInReferenceOrder)
{
    QTemporaryDir dir;
    QDir(dir.path()).mkdir(QStringLiteral("Top"));
    touch(dir.filePath(QStringLiteral("B.fsm")));
    touch(dir.filePath(QStringLiteral("Top/A.fsm")));
    FsmDocument doc;
    doc.filePath = dir.filePath(QStringLiteral("Top.fsm"));
    EXPECT_TRUE(Hierarchy::childReferences(doc).isEmpty());
    rawNode(doc.diagram(), NodeStateNormal, {"S", "B(); A();", "1"});
    EXPECT_EQ(Hierarchy::childReferences(doc), (QStringList{"/A.fsm", "B.fsm"}));
}
