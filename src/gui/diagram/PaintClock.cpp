#include "PaintClock.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QEvent>
#include <QFile>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QTimer>

namespace orvane {

namespace {

// Input handled within a frame is not worth a line.
constexpr double kSlowEventMs = 16;
// The stall watch ticks this often and reports longer gaps.
constexpr int kTickMs = 5;
constexpr double kStallMs = 20;

QString& clockFile()
{
    static QString file = qEnvironmentVariable("ORVANE_BENCH_FIRST_PAINT");
    return file;
}

bool& firstPaintSeen()
{
    static bool seen = false;
    return seen;
}

QByteArray number(double v) { return QByteArray::number(v, 'f', 3); }

QByteArray now() { return QByteArray::number(QDateTime::currentMSecsSinceEpoch()); }

// A timer that should fire every few milliseconds: a longer gap between
// two ticks means the interface thread was busy.
void startStallWatch()
{
    static QTimer* timer = nullptr;
    if (timer)
        return;
    timer = new QTimer(QCoreApplication::instance());
    auto* last = new QElapsedTimer;
    last->start();
    QObject::connect(timer, &QTimer::timeout, timer, [last] {
        const double ms = double(last->nsecsElapsed()) / 1e6;
        last->start();
        if (ms > kStallMs)
            PaintClock::write("stall " + now() + ' ' + number(ms));
    });
    QObject::connect(timer, &QObject::destroyed, [last] { delete last; });
    timer->setTimerType(Qt::PreciseTimer);
    timer->start(kTickMs);
}

// Where the window's lock button sits on the screen (its centre), so that
// the benchmark can unlock a document opened from the command line.
QByteArray lockButton(const QWidget* view)
{
    const QWidget* b = view->window()->findChild<QWidget*>(QStringLiteral("Lock"));
    if (!b || !b->isVisible())
        return "-1 -1";
    const QPoint c = b->mapToGlobal(b->rect().center());
    return QByteArray::number(c.x()) + ' ' + QByteArray::number(c.y());
}

}  // namespace

bool PaintClock::enabled() { return !clockFile().isEmpty(); }

void PaintClock::write(const QByteArray& line)
{
    QFile f(clockFile());
    if (f.open(QIODevice::WriteOnly | QIODevice::Append))
        f.write(line + '\n');
}

PaintClock::Event::Event(QGraphicsView* view, const QEvent* e) : m_view(view), m_type(e->type())
{
    m_timer.start();
    startStallWatch();
}

PaintClock::Event::~Event()
{
    const double ms = double(m_timer.nsecsElapsed()) / 1e6;
    if (m_type != QEvent::Paint) {
        if (ms > kSlowEventMs)
            write("event " + now() + ' ' + QByteArray::number(m_type) + ' ' + number(ms));
        return;
    }
    write("frame " + now() + ' ' + number(ms));
    if (firstPaintSeen() || !m_view->scene() || m_view->scene()->items().isEmpty())
        return;
    firstPaintSeen() = true;
    const QWidget* vp = m_view->viewport();
    const QPoint at = vp->mapToGlobal(QPoint(0, 0));
    const QPointF origin = m_view->viewportTransform().map(QPointF(0, 0)) + QPointF(at);
    write("first-paint " + now() + " view " + QByteArray::number(at.x()) + ' '
          + QByteArray::number(at.y()) + ' ' + QByteArray::number(vp->width()) + ' '
          + QByteArray::number(vp->height()) + " origin " + number(origin.x()) + ' '
          + number(origin.y()) + " scale " + QByteArray::number(m_view->transform().m11(), 'g', 9)
          + " lock " + lockButton(m_view));
}

}  // namespace orvane
