#pragma once
// Driving modal dialogs from a test: the action runs once the next modal
// dialog is shown, from inside its own event loop.

#include <QApplication>
#include <QDeadlineTimer>
#include <QDialog>
#include <QPointer>
#include <QTimer>

#include <functional>

namespace orvane::testing {

// Runs `act` on the next modal dialog that is shown. Gives up (and does
// nothing) after `timeoutMs`. The returned watch can be stopped early, so
// that a test expecting no dialog leaves nothing behind for the next test.
inline QPointer<QTimer> onModal(std::function<void(QDialog*)> act, int timeoutMs = 5000)
{
    auto* timer = new QTimer;
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout,
                     [timer, act = std::move(act), deadline = QDeadlineTimer(timeoutMs)] {
                         auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
                         if (!dialog && !deadline.hasExpired())
                             return;
                         timer->stop();
                         timer->deleteLater();
                         if (dialog)
                             act(dialog);
                     });
    timer->start();
    return timer;
}

// Stops a watch that has not fired; true when it had not (no dialog came).
inline bool stopWatch(QPointer<QTimer> watch)
{
    const bool unfired = watch && watch->isActive();
    delete watch.data();
    return unfired;
}

template <class T> T* child(QWidget* parent, const char* name)
{
    return parent->findChild<T*>(QLatin1String(name));
}

}  // namespace orvane::testing
