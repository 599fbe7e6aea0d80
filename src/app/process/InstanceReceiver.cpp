#include "frmLib_LinkInstance.h"

#include "modMain.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <QTimer>

namespace orvane {

namespace {
QPointer<frmLib_LinkInstance>& CurrentLink()
{
    static QPointer<frmLib_LinkInstance> link;
    return link;
}
// How long Listen waits for another instance to answer on a used channel.
constexpr int kOtherInstanceWaitMs = 1000;
}  // namespace

frmLib_LinkInstance::frmLib_LinkInstance(QObject* parent) : QObject(parent)
{
    setObjectName(QStringLiteral("frmLib_LinkInstance"));
    tmrRetry = new QTimer(this);
    tmrRetry->setObjectName(QStringLiteral("tmrRetry"));
    tmrRetry->setInterval(kRetryIntervalMs);
    connect(tmrRetry, &QTimer::timeout, this, &frmLib_LinkInstance::tmrRetry_Timer);
    CurrentLink() = this;
}

frmLib_LinkInstance::~frmLib_LinkInstance() = default;

frmLib_LinkInstance* frmLib_LinkInstance::Current() { return CurrentLink(); }

bool frmLib_LinkInstance::Listen(const QString& channel)
{
    delete m_server;
    m_server = nullptr;
    // Listening would quietly replace another instance's socket, so ask first.
    if (clsLib_PrevInstance(channel, kOtherInstanceWaitMs).PrevInstance())
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
    connect(m_server, &QLocalServer::newConnection, this, &frmLib_LinkInstance::onNewConnection);
    return true;
}

bool frmLib_LinkInstance::isListening() const { return m_server && m_server->isListening(); }

void frmLib_LinkInstance::onNewConnection()
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

void frmLib_LinkInstance::onReadyRead(QLocalSocket* socket)
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
    Receive(path);
}

void frmLib_LinkInstance::Receive(const QString& path)
{
    if (!modMain::IsFsmFile(path))
        return;
    m_queue.append(path);
    tmrRetry->start();
}

void frmLib_LinkInstance::Stopped()
{
    ++m_busy;
    tmrRetry->start();
}

void frmLib_LinkInstance::Running()
{
    // An unmatched call must not leave the queue waiting for ever.
    if (m_busy > 0)
        --m_busy;
}

void frmLib_LinkInstance::tmrRetry_Timer()
{
    if (m_busy != 0)
        return;
    if (m_queue.isEmpty()) {
        tmrRetry->stop();
        return;
    }
    const QString path = m_queue.takeLast();
    if (m_queue.isEmpty())
        tmrRetry->stop();
    // Opening may ask the user something; the next path waits for that.
    Stopped();
    if (m_open)
        m_open(path);
    Running();
    if (m_activate)
        m_activate();
}

HandOverPause::HandOverPause() : m_link(frmLib_LinkInstance::Current())
{
    if (m_link)
        m_link->Stopped();
}

HandOverPause::~HandOverPause()
{
    if (m_link)
        m_link->Running();
}

}  // namespace orvane
