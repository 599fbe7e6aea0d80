#include "InstanceTestSupport.h"

#include "clsLib_PrevInstance.h"
#include "frmLib_LinkInstance.h"

#include <QTest>

using namespace orvane;
using namespace orvane::testing;

namespace {

class clsLib_PrevInstanceTest : public InstanceTest {
protected:
    // The link of a running instance, counting what reaches it.
    void StartReceiver()
    {
        ASSERT_TRUE(link.Listen(channel));
        link.setActivateHandler([this] { ++activations; });
        link.setOpenHandler([this](const QString& path) { opened << path; });
    }
    frmLib_LinkInstance link;
    int activations = 0;
    QStringList opened;
};

TEST_F(clsLib_PrevInstanceTest, WithoutARunningInstanceNothingIsHandedAndTheLogSaysSo)
{
    const QByteArray oldLogDir = qgetenv("ORVANE_LOG_DIR");
    qputenv("ORVANE_LOG_DIR", dir.path().toLocal8Bit());
    const clsLib_PrevInstance prev(channel, 500);
    EXPECT_FALSE(prev.PrevInstance());
    EXPECT_FALSE(prev.ProcessNewInstances(Diagram(QStringLiteral("a.fsm"))));
    qputenv("ORVANE_LOG_DIR", oldLogDir);

    QFile log(dir.filePath(QStringLiteral("FSM.log")));
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(log.readAll());
    EXPECT_EQ(text.count(QStringLiteral("ProcessNewInstances: hFrm not found")), 1);
}

TEST_F(clsLib_PrevInstanceTest, SecondStartWithoutAFileEndsAndChangesNothing)
{
    StartReceiver();
    EXPECT_EQ(RunProgram({}), 0);
    QTest::qWait(5 * frmLib_LinkInstance::kRetryIntervalMs);
    EXPECT_EQ(activations, 0);
    EXPECT_TRUE(link.queue().isEmpty());
    EXPECT_TRUE(opened.isEmpty());
}

TEST_F(clsLib_PrevInstanceTest, BatchRunNeverHandsOver)
{
    StartReceiver();
    const QString path = Diagram(QStringLiteral("lamp.fsm"));
    EXPECT_EQ(RunProgram({QStringLiteral("/LS"), path}), 0);
    EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("lamp.lst"))));
    QTest::qWait(5 * frmLib_LinkInstance::kRetryIntervalMs);
    EXPECT_EQ(activations, 0);
    EXPECT_TRUE(opened.isEmpty());
}

TEST_F(clsLib_PrevInstanceTest, PathWithALineBreakArrivesWhole)
{
    StartReceiver();
    const QString path = Diagram(QStringLiteral("odd\nname.fsm"));
    ASSERT_TRUE(QFile::exists(path));
    EXPECT_EQ(RunProgram({path}), 0);
    EXPECT_TRUE(QTest::qWaitFor([this] { return opened.size() == 1; }, 2000));
    EXPECT_EQ(opened, QStringList{path});
}

}  // namespace
