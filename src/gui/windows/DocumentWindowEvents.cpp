// The document window's answers to the diagram view: double clicks, what a
// drawn or moved item becomes, the view's errors, and the in-place editor of
// remarks.

#include "DocumentWindow.h"

#include "Document.h"
#include "FsmDocument.h"
#include "UserInterface.h"
#include "MainWindow.h"
#include "StateDialog.h"
#include "TransitionDialog.h"
#include "Logs.h"
#include "DiagramEdits.h"
#include "States.h"
#include "Transitions.h"

#include <QFocusEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QPlainTextEdit>

#include <algorithm>

namespace orvane {

namespace {

// The in-place remark editor is at least this many average characters wide,
// with this margin (pixels) above and below its two lines.
constexpr int kRemarkEditorColumns = 24;
constexpr int kRemarkEditorMargin = 4;
// Room kept round a remark's text when its box grows, in twips.
constexpr double kRemarkTextMargin = 90;

// Errors of the view that are only logged, never shown.
bool isQuietError(int number) { return number == 1000 || number == 1010 || number == 1011; }

QColor fromColorRef(quint32 c)
{
    return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
}

// Remark texts keep CR LF line breaks; the editor shows plain lines.
QString toEditorText(const QString& text)
{
    QString t = text;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return t;
}

QString fromEditorText(const QString& text)
{
    QString t = text;
    t.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return t;
}

// The node's font at the view's zoom.
QFont editorFont(const DiagramFont& f, double zoom)
{
    QFont font(f.name);
    font.setPointSizeF(std::max(1.0, f.size * zoom / 100));
    font.setBold(f.bold);
    font.setItalic(f.italic);
    font.setUnderline(f.underline);
    font.setStrikeOut(f.strikeout);
    return font;
}

// A transition from a state back to itself: its label goes beside the
// state's right side and its two links bend round it, out over the top and
// back in under the bottom, so that the loop shows and the label never
// covers the state's name.
void layOutSelfLoop(Node* state)
{
    Node* transition = nullptr;
    for (Link* out : state->outLinks()) {
        Node* t = out->dst();
        if (Transitions::isTransitionNode(t) && !t->outLinks().empty()
            && t->outLinks().front()->dst() == state)
            transition = t;  // the newest is the last
    }
    if (!transition || transition->inLinks().empty())
        return;
    const QRectF r(state->left(), state->top(), state->width(), state->height());
    const QRectF s = r.normalized();
    const double reach = std::clamp(std::min(s.width(), s.height()) / 2, 240.0, 720.0);
    const double width = std::abs(transition->width());
    States::recentre(transition, QPointF(s.right() + reach + width / 2, s.center().y()));
    const double bendX = s.right() - s.width() / 4;
    transition->inLinks().front()->setExtraPoints({QPointF(bendX, s.top() - reach)});
    transition->outLinks().front()->setExtraPoints({QPointF(bendX, s.bottom() + reach)});
}

}  // namespace

// ---------------------------------------------------------------- double click

void DocumentWindow::onDoubleClicked(Node* node, Link* link)
{
    if (!m_doc)
        return;
    const bool locked = fsm().diagram().readOnly();
    Document* doc = m_doc;
    if (!node && link) {
        // The link becomes straight.
        if (!locked)
            link->setExtraPoints({});
    } else if (!node) {
        fsmProperties();
        return;
    } else if (!node->isFsmItem()) {
        if (!locked)
            startRemarkEditor(node);
        return;
    } else if (Transitions::isTransitionNode(node)) {
        runDialog([this, doc](QString&) {
            return TransitionDialog::edit(doc->fsm, m_main.options(), this);
        });
    } else if (States::isStateNode(node)) {
        runDialog([this, doc](QString& pending) {
            return StateDialog::edit(doc->fsm, m_main.options(), this, pending);
        });
    }
    afterCommand();
}

// ---------------------------------------------------------------- drawing

void DocumentWindow::onMouseDown()
{
    if (m_doc)
        m_changedAtPress = fsm().diagram().changed();
}

void DocumentWindow::onMouseUp(const DiagramEdit& edit)
{
    if (!m_doc)
        return;
    FsmDocument& f = fsm();
    if (edit.kind == DiagramEdit::ZoomWindow) {
        for (QAction* a : m_zoomItems)
            a->setChecked(false);
        syncModeChecks();
        afterCommand();
        return;
    }
    if (f.diagram().readOnly())
        return;
    switch (edit.kind) {
    case DiagramEdit::NodeDrawn:
        // A node too small for a state leaves no trace: no state, no undo step.
        if (!DiagramEdits::drawnNodeToState(f, edit.node, ui()))
            f.diagram().setChanged(m_changedAtPress);
        break;
    case DiagramEdit::NodesMoved:
    case DiagramEdit::NodeResized:
        DiagramEdits::afterNodeMoved(f, edit.node, edit.sizeChanged);
        break;
    case DiagramEdit::LinkDrawn:
    case DiagramEdit::LinkReconnected: {
        Node* loopState = edit.link->org() == edit.link->dst() ? edit.link->org() : nullptr;
        if (DiagramEdits::afterLinkDrawn(f, edit.link, edit.dstChanged)
                == DiagramEdits::LinkOutcome::Transition
            && loopState)
            layOutSelfLoop(loopState);
        break;
    }
    case DiagramEdit::LinkReshaped:
    case DiagramEdit::ZoomWindow:
        break;
    }
    afterCommand();
}

void DocumentWindow::onViewError(int number, const QString& description)
{
    Logs::writeLog(QStringLiteral(" AddFlow1_Error:[") + QString::number(number)
                   + QStringLiteral("] ") + description);
    if (!isQuietError(number))
        ui().message(description, MessageIcon::Exclamation);
}

// ---------------------------------------------------------------- remark editor

void DocumentWindow::startRemarkEditor(Node* node)
{
    if (!m_doc || !node || fsm().diagram().readOnly())
        return;
    commitRemarkEditor();
    m_editedNode = node;
    m_view->ensureNodeVisible(node);
    m_view->setInputEnabled(false);
    // Inside the node's outline, at the view's zoom.
    QRect r = m_view->nodeViewportRect(node);
    const int inset = std::max(1, int(node->drawWidth() * m_view->zoomX() / 100));
    r.adjust(inset, inset, -inset, -inset);
    // Never narrower or lower than a few words and two lines, even over a
    // small box.
    const QFont font = editorFont(node->font(), m_view->zoomY());
    const QFontMetrics metrics(font);
    r.setWidth(std::max(r.width(), metrics.averageCharWidth() * kRemarkEditorColumns));
    r.setHeight(std::max(r.height(), metrics.lineSpacing() * 2 + 2 * kRemarkEditorMargin));
    m_remarkEditor->setGeometry(r);
    m_remarkEditor->setFont(font);
    QPalette p = m_remarkEditor->palette();
    p.setColor(QPalette::Text, fromColorRef(node->foreColor()));
    p.setColor(QPalette::Base, fromColorRef(node->fillColor()));
    m_remarkEditor->setPalette(p);
    m_editedText = toEditorText(node->text());
    m_remarkEditor->setPlainText(m_editedText);
    m_remarkEditor->show();
    m_remarkEditor->setFocus(Qt::OtherFocusReason);
}

void DocumentWindow::commitRemarkEditor()
{
    if (!m_remarkEditor || !m_remarkEditor->isVisible() || !m_editedNode)
        return;
    Node* node = m_editedNode;
    m_editedNode = nullptr;
    const QString text = m_remarkEditor->toPlainText();
    if (!fsm().diagram().readOnly() && text != m_editedText) {
        node->setText(fromEditorText(text));
        growToText(node, text);
    }
    m_remarkEditor->hide();
    m_view->setInputEnabled(true);
    afterCommand();
}

// A remark box grows (never shrinks) to hold its edited text, in the same
// undo step as the text.
void DocumentWindow::growToText(Node* node, const QString& text)
{
    const QFontMetricsF metrics(editorFont(node->font(), 100), m_view);
    double width = 0;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (const QString& line : lines)
        width = std::max(width, metrics.horizontalAdvance(line));
    const double twipsPerPixel = 1440.0 / m_view->logicalDpiX();
    const double margin = kRemarkTextMargin + 2 * node->drawWidth() * 15;
    const double needW = width * twipsPerPixel + 2 * margin;
    const double needH =
        metrics.lineSpacing() * double(lines.size()) * 1440.0 / m_view->logicalDpiY() + 2 * margin;
    const QRectF box =
        QRectF(node->left(), node->top(), node->width(), node->height()).normalized();
    if (needW <= box.width() && needH <= box.height())
        return;
    node->setGeometry(box.left(), box.top(), std::max(box.width(), std::ceil(needW)),
                      std::max(box.height(), std::ceil(needH)));
}

void DocumentWindow::cancelRemarkEditor()
{
    m_editedNode = nullptr;
    if (!m_remarkEditor || !m_remarkEditor->isVisible())
        return;
    m_remarkEditor->hide();
    if (m_view)
        m_view->setInputEnabled(true);
}

bool DocumentWindow::eventFilter(QObject* watched, QEvent* e)
{
    if (watched == m_remarkEditor) {
        if (e->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(e)->key() == Qt::Key_Escape) {
            m_view->setFocus(Qt::OtherFocusReason);
            return true;
        }
        if (e->type() == QEvent::FocusOut) {
            // A context menu or another application taking the focus does
            // not end the editing.
            const Qt::FocusReason reason = static_cast<QFocusEvent*>(e)->reason();
            if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason)
                commitRemarkEditor();
        }
    }
    return QWidget::eventFilter(watched, e);
}

}  // namespace orvane
