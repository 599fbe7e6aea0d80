#include "InstanceReceiver.h"

#include "CommandLine.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <QTimer>

namespace orvane {

namespace {
QPointer<InstanceReceiver>& currentLink()
{
    static QPointer<InstanceReceiver> link;
    return link;
}
// How long Listen waits for another instance to answer on a used channel.
constexpr int kOtherInstanceWaitMs = 1000;
}  // namespace

InstanceReceiver::InstanceReceiver(QObject* parent) : QObject(parent)
{
    setObjectName(QStringLiteral("InstanceReceiver"));
    m_retryTimer = new QTimer(this);
    m_retryTimer->setObjectName(QStringLiteral("retryTimer"));
    m_retryTimer->setInterval(kRetryIntervalMs);
    connect(m_retryTimer, &QTimer::timeout, this, &InstanceReceiver::onRetryTimer);
    currentLink() = this;
}

InstanceReceiver::~InstanceReceiver() = default;

InstanceReceiver* InstanceReceiver::current() { return currentLink(); }

bool InstanceReceiver::listen(const QString& channel)
{
    delete m_server;
    m_server = nullptr;
    // Listening would quietly replace another instance's socket, so ask first.
    if (InstanceSender(channel, kOtherInstanceWaitMs).prevInstance())
        return false;
    // Whatever is left is a socket of a program that is gone.
    QLocalServer::removeServer(channel);
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server->listen(channel)) {
        delete m_server;
        m_server = nullptr;
        return false;
    }
    connect(m_server, &QLocalServer::newConnection, this, &InstanceReceiver::onNewConnection);
    return true;
}

bool InstanceReceiver::isListening() const { return m_server && m_server->isListening(); }

void InstanceReceiver::onNewConnection()
{
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { onReadyRead(socket); });
        // A peer that never finishes its line does not keep a socket open.
        QTimer::singleShot(kReadTimeoutMs, socket, [socket] { socket->abort(); });
        if (socket->bytesAvailable() > 0)
            onReadyRead(socket);
    }
}

void InstanceReceiver::onReadyRead(QLocalSocket* socket)
{
    if (!socket->canReadLine()) {
        if (socket->bytesAvailable() > InstanceChannel::kMaxLine)
            socket->abort();
        return;
    }
    const QByteArray line = socket->readLine(InstanceChannel::kMaxLine + 1).trimmed();
    // Answer first, so that the sender can end at once.
    socket->write(InstanceChannel::kAck);
    socket->flush();
    socket->disconnectFromServer();
    const QString path = QString::fromUtf8(QByteArray::fromPercentEncoding(line));
    if (path.isEmpty())
        return;  // only asked whether an instance runs
    if (m_activate)
        m_activate();
    receive(path);
}

void InstanceReceiver::receive(const QString& path)
{
    if (!CommandLine::isFsmFile(path))
        return;
    m_queue.append(path);
    m_retryTimer->start();
}

void InstanceReceiver::stopped()
{
    ++m_busy;
    m_retryTimer->start();
}

void InstanceReceiver::running()
{
    // An unmatched call must not leave the queue waiting for ever.
    if (m_busy > 0)
        --m_busy;
}

void InstanceReceiver::onRetryTimer()
{
    if (m_busy != 0)
        return;
    if (m_queue.isEmpty()) {
        m_retryTimer->stop();
        return;
    }
    const QString path = m_queue.takeLast();
    if (m_queue.isEmpty())
        m_retryTimer->stop();
    // Opening may ask the user something; the next path waits for that.
    stopped();
    if (m_open)
        m_open(path);
    running();
    if (m_activate)
        m_activate();
}

HandOverPause::HandOverPause() : m_link(InstanceReceiver::current())
{
    if (m_link)
        m_link->stopped();
}

HandOverPause::~HandOverPause()
{
    if (m_link)
        m_link->running();
}

}  // namespace orvane
