#pragma once
// Driving modal dialogs from a test: the action runs once the next modal
// dialog is shown, from inside its own event loop.

#include <QApplication>
#include <QDialog>
#include <QTimer>

#include <functional>

namespace orvane::testing {

// Runs `act` on the next modal dialog that is shown. Gives up (and does
// nothing) after `timeoutMs`, so a dialog that never comes does not leave a
// timer behind.
inline void OnModal(std::function<void(QDialog*)> act, int timeoutMs = 5000)
{
    auto* timer = new QTimer;
    int left = timeoutMs / 5;
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [timer, act = std::move(act), left]() mutable {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog && --left > 0)
            return;
        timer->stop();
        timer->deleteLater();
        if (dialog)
            act(dialog);
    });
    timer->start();
}

template <class T> T* Child(QWidget* parent, const char* name)
{
    return parent->findChild<T*>(QLatin1String(name));
}

}  // namespace orvane::testing
