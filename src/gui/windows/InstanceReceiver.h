#pragma once
// The receiving side of the single instance: listens on the per-user local
// channel, queues the diagram paths that later starts of the program hand
// over, and opens them one per timer tick while no modal dialog is open.
// Every modal dialog of the program is shown between Stopped and Running
// (or inside a HandOverPause), so a file never opens under a dialog.

#include "InstanceSender.h"

#include <QObject>
#include <QPointer>
#include <QStringList>

#include <functional>

class QLocalServer;
class QLocalSocket;
class QTimer;

namespace orvane {

class InstanceReceiver : public QObject {
    Q_OBJECT
public:
    static constexpr int kRetryIntervalMs = 10;
    // A connection that has not sent its line by then is dropped.
    static constexpr int kReadTimeoutMs = 5000;

    using OpenHandler = std::function<void(const QString& path)>;
    using ActivateHandler = std::function<void()>;

    explicit InstanceReceiver(QObject* parent = nullptr);
    ~InstanceReceiver() override;

    // Starts receiving on the channel. False when another instance already
    // receives there, or the channel cannot be opened; the link then only
    // queues what Receive is given.
    bool listen(const QString& channel = InstanceSender::channelName());
    bool isListening() const;

    // Opens one queued path (the main window wires it to fileOpen, then
    // shows itself normally and on top).
    void setOpenHandler(OpenHandler handler) { m_open = std::move(handler); }
    // Brings the program to the front when a path arrives (restores a
    // minimised main window).
    void setActivateHandler(ActivateHandler handler) { m_activate = std::move(handler); }

    // A modal dialog opens: the queue waits.
    void stopped();
    // The modal dialog closed.
    void running();
    int busyCount() const { return m_busy; }

    // The paths waiting, oldest first.
    const QStringList& queue() const { return m_queue; }

    // A path as a later start hands it over: queued when it names an
    // existing ".fsm" file, dropped silently otherwise.
    void receive(const QString& path);

    // The link modal dialogs pause: the last one created and still alive.
    static InstanceReceiver* current();

private:
    void onRetryTimer();
    void onNewConnection();
    void onReadyRead(QLocalSocket* socket);

    QLocalServer* m_server = nullptr;
    QTimer* m_retryTimer = nullptr;
    QStringList m_queue;
    int m_busy = 0;
    OpenHandler m_open;
    ActivateHandler m_activate;
};

// Pauses the hand-over for its lifetime: Stopped on creation, Running on
// destruction, on the current link (nothing when the program has none, as
// in batch mode and in tests).
class HandOverPause {
public:
    HandOverPause();
    ~HandOverPause();
    HandOverPause(const HandOverPause&) = delete;
    HandOverPause& operator=(const HandOverPause&) = delete;

private:
    QPointer<InstanceReceiver> m_link;
};

}  // namespace orvane
