// The document window's answers to the diagram view: double clicks, what a
// drawn or moved item becomes, the view's errors, and the in-place editor of
// remarks.

#include "frmDoc.h"

#include "Document.h"
#include "FsmDocument.h"
#include "UserInterface.h"
#include "frmMain.h"
#include "frmPropNodo.h"
#include "frmPropTransicion.h"
#include "modLib_Log.h"
#include "modModifica.h"
#include "modNodoEstado.h"
#include "modNodoTransicion.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QPlainTextEdit>

#include <algorithm>

namespace orvane {

namespace {

// Errors of the view that are only logged, never shown.
bool IsQuietError(int number) { return number == 1000 || number == 1010 || number == 1011; }

QColor FromColorRef(quint32 c) { return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF)); }

// Remark texts keep CR LF line breaks; the editor shows plain lines.
QString ToEditorText(const QString& text)
{
    QString t = text;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return t;
}

QString FromEditorText(const QString& text)
{
    QString t = text;
    t.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return t;
}

// The node's font at the view's zoom.
QFont EditorFont(const DiagramFont& f, double zoom)
{
    QFont font(f.name);
    font.setPointSizeF(std::max(1.0, f.size * zoom / 100));
    font.setBold(f.bold);
    font.setItalic(f.italic);
    font.setUnderline(f.underline);
    font.setStrikeOut(f.strikeout);
    return font;
}

}  // namespace

// ---------------------------------------------------------------- double click

void frmDoc::onDoubleClicked(Node* node, Link* link)
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
        FsmProperties();
        return;
    } else if (!node->isFsmItem()) {
        if (!locked)
            StartRemarkEditor(node);
        return;
    } else if (modNodoTransicion::IsTransitionNode(node)) {
        runDialog([this, doc](QString&) {
            return frmPropTransicion::Open(doc->fsm, m_main.options(), this);
        });
    } else if (modNodoEstado::IsStateNode(node)) {
        runDialog([this, doc](QString& pending) {
            return frmPropNodo::Open(doc->fsm, m_main.options(), this, pending);
        });
    }
    afterCommand();
}

// ---------------------------------------------------------------- drawing

void frmDoc::onMouseDown()
{
    if (m_doc)
        m_changedAtPress = fsm().diagram().changed();
}

void frmDoc::onMouseUp(const DiagramEdit& edit)
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
        if (!modModifica::DrawnNodeToState(f, edit.node, ui()))
            f.diagram().setChanged(m_changedAtPress);
        break;
    case DiagramEdit::NodesMoved:
    case DiagramEdit::NodeResized:
        modModifica::AfterNodeMoved(f, edit.node, edit.sizeChanged);
        break;
    case DiagramEdit::LinkDrawn:
    case DiagramEdit::LinkReconnected:
        modModifica::AfterLinkDrawn(f, edit.link, edit.dstChanged);
        break;
    case DiagramEdit::LinkReshaped:
    case DiagramEdit::ZoomWindow:
        break;
    }
    afterCommand();
}

void frmDoc::onViewError(int number, const QString& description)
{
    modLib_Log::WriteLog(QStringLiteral(" AddFlow1_Error:[") + QString::number(number)
                         + QStringLiteral("] ") + description);
    if (!IsQuietError(number))
        ui().message(description, MessageIcon::Exclamation);
}

// ---------------------------------------------------------------- remark editor

void frmDoc::StartRemarkEditor(Node* node)
{
    if (!m_doc || !node || fsm().diagram().readOnly())
        return;
    CommitRemarkEditor();
    m_editedNode = node;
    m_view->ensureNodeVisible(node);
    m_view->setInputEnabled(false);
    // Inside the node's outline, at the view's zoom.
    QRect r = m_view->nodeViewportRect(node);
    const int inset = std::max(1, int(node->drawWidth() * m_view->zoomX() / 100));
    r.adjust(inset, inset, -inset, -inset);
    Text1->setGeometry(r);
    Text1->setFont(EditorFont(node->font(), m_view->zoomY()));
    QPalette p = Text1->palette();
    p.setColor(QPalette::Text, FromColorRef(node->foreColor()));
    p.setColor(QPalette::Base, FromColorRef(node->fillColor()));
    Text1->setPalette(p);
    m_editedText = ToEditorText(node->text());
    Text1->setPlainText(m_editedText);
    Text1->show();
    Text1->setFocus(Qt::OtherFocusReason);
}

void frmDoc::CommitRemarkEditor()
{
    if (!Text1 || !Text1->isVisible() || !m_editedNode)
        return;
    Node* node = m_editedNode;
    m_editedNode = nullptr;
    const QString text = Text1->toPlainText();
    if (!fsm().diagram().readOnly() && text != m_editedText)
        node->setText(FromEditorText(text));
    Text1->hide();
    m_view->setInputEnabled(true);
    afterCommand();
}

void frmDoc::cancelRemarkEditor()
{
    m_editedNode = nullptr;
    if (!Text1 || !Text1->isVisible())
        return;
    Text1->hide();
    if (m_view)
        m_view->setInputEnabled(true);
}

bool frmDoc::eventFilter(QObject* watched, QEvent* e)
{
    if (watched == Text1) {
        if (e->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(e)->key() == Qt::Key_Escape) {
            m_view->setFocus(Qt::OtherFocusReason);
            return true;
        }
        if (e->type() == QEvent::FocusOut) {
            // A context menu or another application taking the focus does
            // not end the editing.
            const Qt::FocusReason reason = static_cast<QFocusEvent*>(e)->reason();
            if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason)
                CommitRemarkEditor();
        }
    }
    return QWidget::eventFilter(watched, e);
}

}  // namespace orvane
