#pragma once
// The sending side of the single instance: a second start of the program
// finds the running one on the per-user local channel and hands it the
// diagram named on its command line. One path travels per connection as
// one line (UTF-8, percent-encoded); the receiver answers with one line once
// it has taken it.

#include <QString>

namespace orvane {

class InstanceSender {
public:
    // How long the sender waits, in all, for the receiver's answer.
    static constexpr int kDefaultWaitMs = 5000;

    // The channel of the current user: a socket in the user's private
    // runtime folder where there is one, else a name carrying the user's
    // name. $ORVANE_INSTANCE_CHANNEL overrides it (tests use it).
    static QString channelName();

    explicit InstanceSender(QString channel = channelName(), int waitMs = kDefaultWaitMs);

    // True when a running instance answers on the channel.
    bool prevInstance() const;

    // Hands the path (made absolute, so that the receiver's own folder does
    // not matter) to the running instance. True when the receiver answered.
    // Without a receiver: the debug-log line "processNewInstances: hFrm not
    // found"; while the receiver is slow to answer: one "hButton not found"
    // line per retry, until the wait is used up.
    bool processNewInstances(const QString& path) const;

    // runMain's hand-over road: when another instance runs, hands it `path`
    // (nothing when empty) and answers true; the caller then ends.
    static bool handOverToRunningInstance(const QString& path);

    const QString& channel() const { return m_channel; }

private:
    // Sends one line and waits for the answer. Returns false when nobody
    // listens (`listening` false) or nobody answered in time.
    bool send(const QString& line, bool logRetries, bool& listening) const;

    QString m_channel;
    int m_waitMs;
};

namespace InstanceChannel {
// The reply a receiver sends once it has taken a line.
inline constexpr char kAck[] = "OK\n";
// The longest line a receiver accepts (a path never comes near it).
inline constexpr qint64 kMaxLine = 64 * 1024;
}  // namespace InstanceChannel

}  // namespace orvane
