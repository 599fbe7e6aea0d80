#include "FsmTestKit.h"
#include "modConsulta.h"

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
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
}
}  // namespace

TEST(Parent, IsTheFolderNamedDiagramBesideTheFolder)
{
    QTemporaryDir dir;
    QDir(dir.path()).mkdir(QStringLiteral("Top"));
    FsmDocument child;
    child.sFullDocname = dir.filePath(QStringLiteral("Top/CHILD.fsm"));
    EXPECT_FALSE(modConsulta::HasParent(child));  // no Top.fsm yet
    EXPECT_TRUE(child.sPadre.isEmpty());

    Touch(dir.filePath(QStringLiteral("Top.fsm")));
    EXPECT_TRUE(modConsulta::HasParent(child));
    EXPECT_EQ(child.sPadre, dir.filePath(QStringLiteral("Top.fsm")));

    FsmDocument inRoot;
    inRoot.sFullDocname = QStringLiteral("/x.fsm");
    EXPECT_FALSE(modConsulta::HasParent(inRoot));
    FsmDocument noFolder;
    noFolder.sFullDocname = QStringLiteral("x.fsm");
    EXPECT_FALSE(modConsulta::HasParent(noFolder));
}

TEST(Children, ListedInReferenceOrder)
{
    QTemporaryDir dir;
    QDir(dir.path()).mkdir(QStringLiteral("Top"));
    Touch(dir.filePath(QStringLiteral("B.fsm")));
    Touch(dir.filePath(QStringLiteral("Top/A.fsm")));
    FsmDocument doc;
    doc.sFullDocname = dir.filePath(QStringLiteral("Top.fsm"));
    EXPECT_TRUE(modConsulta::ChildReferences(doc).isEmpty());
    RawNode(doc.diagram(), modNodoEstado::NODE_STATE_NORMAL, {"S", "B(); A();", "1"});
    EXPECT_EQ(modConsulta::ChildReferences(doc), (QStringList{"/A.fsm", "B.fsm"}));
}
