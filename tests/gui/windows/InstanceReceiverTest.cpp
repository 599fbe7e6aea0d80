#include "InstanceTestSupport.h"

#include "InstanceReceiver.h"

#include <QDialog>
#include <QTest>
#include <QTimer>

#include <cstring>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

using namespace orvane;
using namespace orvane::testing;

namespace {

class InstanceReceiverTest : public InstanceTest {};

TEST_F(InstanceReceiverTest, PathsHandedOverUnderADialogOpenAfterItNewestFirst)
{
    InstanceReceiver link;
    ASSERT_TRUE(link.listen(channel));
    QStringList opened;
    QList<qsizetype> waiting;
    int activations = 0;
    link.setOpenHandler([&](const QString& path) {
        opened << path;
        waiting << link.queue().size();
    });
    link.setActivateHandler([&activations] { ++activations; });

    const QStringList paths{Diagram(QStringLiteral("one.fsm")), Diagram(QStringLiteral("two.fsm")),
                            Diagram(QStringLiteral("three.fsm"))};
    QDialog dialog;
    QTimer::singleShot(0, &dialog, [&] {
        EXPECT_EQ(link.busyCount(), 1);
        // The second start names its file relative to its own folder.
        for (const QString& path : paths)
            EXPECT_EQ(runProgram({QFileInfo(path).fileName()}), 0);
        QTest::qWait(10 * InstanceReceiver::kRetryIntervalMs);
        EXPECT_EQ(link.queue(), paths);
        EXPECT_TRUE(opened.isEmpty());
        EXPECT_EQ(activations, 3);
        dialog.accept();
    });
    {
        const HandOverPause pause;
        dialog.exec();
    }
    EXPECT_EQ(link.busyCount(), 0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return opened.size() == 3; }, 2000));
    EXPECT_EQ(opened, (QStringList{paths[2], paths[1], paths[0]}));
    EXPECT_EQ(waiting, (QList<qsizetype>{2, 1, 0}));  // one per tick
    EXPECT_EQ(activations, 6);
}

TEST_F(InstanceReceiverTest, OnlyExistingDiagramFilesAreQueued)
{
    InstanceReceiver link;
    link.stopped();
    QFile other(dir.filePath(QStringLiteral("notes.txt")));
    ASSERT_TRUE(other.open(QIODevice::WriteOnly));
    other.close();
    link.receive(other.fileName());
    link.receive(dir.filePath(QStringLiteral("missing.fsm")));
    link.receive(dir.path());
    const QString good = Diagram(QStringLiteral("x.FSM"));
    link.receive(good);
    EXPECT_EQ(link.queue(), QStringList{good});
}

TEST_F(InstanceReceiverTest, AnUnmatchedRunningDoesNotBlockTheQueue)
{
    InstanceReceiver link;
    QStringList opened;
    link.setOpenHandler([&opened](const QString& path) { opened << path; });
    link.running();
    link.stopped();
    link.receive(Diagram(QStringLiteral("a.fsm")));
    QTest::qWait(5 * InstanceReceiver::kRetryIntervalMs);
    EXPECT_TRUE(opened.isEmpty());
    link.running();
    EXPECT_TRUE(QTest::qWaitFor([&opened] { return opened.size() == 1; }, 1000));
}

TEST_F(InstanceReceiverTest, SecondReceiverOnTheSameChannelIsRefused)
{
    InstanceReceiver first;
    ASSERT_TRUE(first.listen(channel));
    InstanceReceiver second;
    EXPECT_FALSE(second.listen(channel));
    EXPECT_TRUE(first.isListening());
}

TEST_F(InstanceReceiverTest, SocketLeftByAProgramThatIsGoneIsTakenOver)
{
    // What a crashed instance leaves behind: a bound socket file nobody serves.
    const QByteArray name = QFile::encodeName(channel);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    ASSERT_LT(size_t(name.size()), sizeof(address.sun_path));
    std::memcpy(address.sun_path, name.constData(), size_t(name.size()));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
    ::close(fd);
    ASSERT_TRUE(QFile::exists(channel));

    InstanceReceiver link;
    EXPECT_TRUE(link.listen(channel));
}

}  // namespace
