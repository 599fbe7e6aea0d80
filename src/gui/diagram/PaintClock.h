#pragma once
// Timing lines for the editor benchmark (bench/measure-editor). When the
// environment variable ORVANE_BENCH_FIRST_PAINT names a file, every painted
// frame of a diagram view appends one line to it:
//   first-paint EPOCH_MS view X Y W H origin X Y scale S lock X Y
//       the first frame that shows items: when it ended, since the epoch;
//       where the viewport sits on the screen; the screen pixel of the
//       scene's point (0, 0) and pixels per twip; the centre of the
//       window's lock button (-1 -1 without one)
//   frame EPOCH_MS MS       a frame ended and took MS milliseconds to paint
//   event EPOCH_MS TYPE MS  a mouse or wheel event of the view (QEvent type)
//                   that took longer than a frame to handle (an edit)
//   stall EPOCH_MS MS       the interface thread answered no timer for MS
//                   milliseconds (a save, an open): how long the user had
//                   to wait before acting again
// Without the variable nothing is measured or written.

#include <QElapsedTimer>

class QEvent;
class QGraphicsView;

namespace orvane {

class PaintClock {
public:
    // True when the variable is set (read once).
    static bool enabled();

    // Times one event of a view's viewport, from construction to
    // destruction: paints always, input events when they are slow.
    class Event {
    public:
        Event(QGraphicsView* view, const QEvent* e);
        ~Event();
        Event(const Event&) = delete;
        Event& operator=(const Event&) = delete;

    private:
        QGraphicsView* m_view;
        int m_type;
        QElapsedTimer m_timer;
    };

    // Appends one line to the file.
    static void write(const QByteArray& line);
};

}  // namespace orvane
