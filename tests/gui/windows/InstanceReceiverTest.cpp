#include "InstanceTestSupport.h"

#include "frmLib_LinkInstance.h"

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

class frmLib_LinkInstanceTest : public InstanceTest {};

TEST_F(frmLib_LinkInstanceTest, PathsHandedOverUnderADialogOpenAfterItNewestFirst)
{
    frmLib_LinkInstance link;
    ASSERT_TRUE(link.Listen(channel));
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
            EXPECT_EQ(RunProgram({QFileInfo(path).fileName()}), 0);
        QTest::qWait(10 * frmLib_LinkInstance::kRetryIntervalMs);
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

TEST_F(frmLib_LinkInstanceTest, OnlyExistingDiagramFilesAreQueued)
{
    frmLib_LinkInstance link;
    link.Stopped();
    QFile other(dir.filePath(QStringLiteral("notes.txt")));
    ASSERT_TRUE(other.open(QIODevice::WriteOnly));
    other.close();
    link.Receive(other.fileName());
    link.Receive(dir.filePath(QStringLiteral("missing.fsm")));
    link.Receive(dir.path());
    const QString good = Diagram(QStringLiteral("x.FSM"));
    link.Receive(good);
    EXPECT_EQ(link.queue(), QStringList{good});
}

TEST_F(frmLib_LinkInstanceTest, AnUnmatchedRunningDoesNotBlockTheQueue)
{
    frmLib_LinkInstance link;
    QStringList opened;
    link.setOpenHandler([&opened](const QString& path) { opened << path; });
    link.Running();
    link.Stopped();
    link.Receive(Diagram(QStringLiteral("a.fsm")));
    QTest::qWait(5 * frmLib_LinkInstance::kRetryIntervalMs);
    EXPECT_TRUE(opened.isEmpty());
    link.Running();
    EXPECT_TRUE(QTest::qWaitFor([&opened] { return opened.size() == 1; }, 1000));
}

TEST_F(frmLib_LinkInstanceTest, SecondReceiverOnTheSameChannelIsRefused)
{
    frmLib_LinkInstance first;
    ASSERT_TRUE(first.Listen(channel));
    frmLib_LinkInstance second;
    EXPECT_FALSE(second.Listen(channel));
    EXPECT_TRUE(first.isListening());
}

TEST_F(frmLib_LinkInstanceTest, SocketLeftByAProgramThatIsGoneIsTakenOver)
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

    frmLib_LinkInstance link;
    EXPECT_TRUE(link.Listen(channel));
}

}  // namespace
