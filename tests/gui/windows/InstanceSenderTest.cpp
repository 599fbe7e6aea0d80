#include "InstanceTestSupport.h"

#include "InstanceSender.h"
#include "InstanceReceiver.h"

#include <QTest>

using namespace orvane;
using namespace orvane::testing;

namespace {

class InstanceSenderTest : public InstanceTest {
protected:
    // The link of a running instance, counting what reaches it.
    void startReceiver()
    {
        ASSERT_TRUE(link.listen(channel));
        link.setActivateHandler([this] { ++activations; });
        link.setOpenHandler([this](const QString& path) { opened << path; });
    }
    InstanceReceiver link;
    int activations = 0;
    QStringList opened;
};

TEST_F(InstanceSenderTest, WithoutARunningInstanceNothingIsHandedAndTheLogSaysSo)
{
    const QByteArray oldLogDir = qgetenv("ORVANE_LOG_DIR");
    qputenv("ORVANE_LOG_DIR", dir.path().toLocal8Bit());
    const InstanceSender prev(channel, 500);
    EXPECT_FALSE(prev.prevInstance());
    EXPECT_FALSE(prev.processNewInstances(Diagram(QStringLiteral("a.fsm"))));
    qputenv("ORVANE_LOG_DIR", oldLogDir);

    QFile log(dir.filePath(QStringLiteral("FSM.log")));
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(log.readAll());
    EXPECT_EQ(text.count(QStringLiteral("ProcessNewInstances: hFrm not found")), 1);
}

TEST_F(InstanceSenderTest, SecondStartWithoutAFileEndsAndChangesNothing)
{
    startReceiver();
    EXPECT_EQ(runProgram({}), 0);
    QTest::qWait(5 * InstanceReceiver::kRetryIntervalMs);
    EXPECT_EQ(activations, 0);
    EXPECT_TRUE(link.queue().isEmpty());
    EXPECT_TRUE(opened.isEmpty());
}

TEST_F(InstanceSenderTest, BatchRunNeverHandsOver)
{
    startReceiver();
    const QString path = Diagram(QStringLiteral("lamp.fsm"));
    EXPECT_EQ(runProgram({QStringLiteral("/LS"), path}), 0);
    EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("lamp.lst"))));
    QTest::qWait(5 * InstanceReceiver::kRetryIntervalMs);
    EXPECT_EQ(activations, 0);
    EXPECT_TRUE(opened.isEmpty());
}

TEST_F(InstanceSenderTest, PathWithALineBreakArrivesWhole)
{
    startReceiver();
    const QString path = Diagram(QStringLiteral("odd\nname.fsm"));
    ASSERT_TRUE(QFile::exists(path));
    EXPECT_EQ(runProgram({path}), 0);
    EXPECT_TRUE(QTest::qWaitFor([this] { return opened.size() == 1; }, 2000));
    EXPECT_EQ(opened, QStringList{path});
}

}  // namespace
