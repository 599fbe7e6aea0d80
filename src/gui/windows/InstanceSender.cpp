#include "InstanceSender.h"

#include "Logs.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QLocalSocket>
#include <QStandardPaths>

#include <algorithm>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace orvane {

namespace {
// One retry step of the sender while the receiver is slow.
constexpr int kRetrySliceMs = 250;

QString userTag()
{
#ifdef Q_OS_UNIX
    return QString::number(::getuid());
#else
    QString user = qEnvironmentVariable("USERNAME");
    return user.isEmpty() ? QStringLiteral("user") : user;
#endif
}
}  // namespace

QString InstanceSender::channelName()
{
    const QString forced = qEnvironmentVariable("ORVANE_INSTANCE_CHANNEL");
    if (!forced.isEmpty())
        return forced;
    const QString base = QStringLiteral("orvane-instance-") + userTag();
#ifdef Q_OS_UNIX
    // The runtime folder belongs to the user alone, so no other user can
    // take the name first or listen in.
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (!runtime.isEmpty() && QFileInfo(runtime).isDir())
        return QDir(runtime).filePath(base);
#endif
    return base;
}

InstanceSender::InstanceSender(QString channel, int waitMs)
    : m_channel(std::move(channel)), m_waitMs(std::max(waitMs, kRetrySliceMs))
{
}

bool InstanceSender::send(const QString& line, bool logRetries, bool& listening) const
{
    listening = false;
    const QDeadlineTimer deadline(m_waitMs);
    QLocalSocket socket;
    for (;;) {
        socket.connectToServer(m_channel);
        if (socket.waitForConnected(kRetrySliceMs))
            break;
        const auto error = socket.error();
        socket.abort();
        // No socket, or one left behind by a program that is gone.
        if (error == QLocalSocket::ServerNotFoundError
            || error == QLocalSocket::ConnectionRefusedError || deadline.hasExpired())
            return false;
        if (logRetries)
            Logs::writeLog(QStringLiteral("ProcessNewInstances: hButton not found"));
    }
    listening = true;

    // Percent-encoded, so that a name holding a line break stays one line.
    socket.write(line.toUtf8().toPercentEncoding() + '\n');
    socket.flush();
    QByteArray reply;
    while (!deadline.hasExpired()) {
        if (socket.bytesToWrite() > 0)
            socket.waitForBytesWritten(kRetrySliceMs);
        if (socket.canReadLine() || socket.waitForReadyRead(kRetrySliceMs)) {
            reply += socket.readAll();
            if (reply.contains('\n'))
                return reply == InstanceChannel::kAck;
            continue;
        }
        if (socket.state() != QLocalSocket::ConnectedState)
            return false;
        if (logRetries)
            Logs::writeLog(QStringLiteral("ProcessNewInstances: hButton not found"));
    }
    return false;
}

bool InstanceSender::prevInstance() const
{
    bool listening = false;
    // An empty line asks nothing of the receiver; any answer will do.
    send(QString(), false, listening);
    return listening;
}

bool InstanceSender::processNewInstances(const QString& path) const
{
    const QString absolute = path.isEmpty() ? path : QFileInfo(path).absoluteFilePath();
    bool listening = false;
    const bool handed = send(absolute, true, listening);
    if (!listening)
        Logs::writeLog(QStringLiteral("ProcessNewInstances: hFrm not found"));
    return handed;
}

bool InstanceSender::handOverToRunningInstance(const QString& path)
{
    const InstanceSender prev;
    if (!prev.prevInstance())
        return false;
    if (!path.isEmpty())
        prev.processNewInstances(path);
    return true;
}

}  // namespace orvane
