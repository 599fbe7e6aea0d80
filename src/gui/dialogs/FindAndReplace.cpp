#include "FindAndReplace.h"

#include "FsmDocument.h"
#include "PropertyDialogSupport.h"
#include "FindMatchDialog.h"
#include "FindDialog.h"
#include "InstanceReceiver.h"
#include "MachineDialog.h"
#include "StateDialog.h"
#include "TransitionDialog.h"
#include "States.h"
#include "Transitions.h"

#include <QApplication>
#include <QClipboard>
#include <QRegularExpression>

namespace orvane::FindAndReplace {

namespace {

// Switches the diagram's drawing off for its lifetime.
class RedrawOff {
public:
    explicit RedrawOff(Diagram& d) : m_diagram(d), m_was(d.redraw()) { d.setRedraw(false); }
    ~RedrawOff() { m_diagram.setRedraw(m_was); }
    RedrawOff(const RedrawOff&) = delete;
    RedrawOff& operator=(const RedrawOff&) = delete;

private:
    Diagram& m_diagram;
    bool m_was;
};

// Runs `search` on every node that `is` accepts, made the current node
// first. Nodes are taken by position: the dialogs never add or remove
// nodes before the one being searched.
template <class Is, class Search> bool eachNode(FsmDocument& doc, Is is, Search search)
{
    Diagram& d = doc.diagram();
    for (int i = 1; i <= d.nodeCount(); ++i) {
        Node* n = d.item(i);
        if (!is(n))
            continue;
        d.setCurrentNode(n);
        if (!search())
            return false;
    }
    return true;
}

bool searchRemarks(FsmDocument& doc, FindMatcher& matcher, const QString& findWhat,
                   const QString& replaceWith, bool caseSensitive)
{
    Diagram& d = doc.diagram();
    const bool readOnly = d.readOnly();
    const RedrawOff redrawOff(d);
    for (int i = 1; i <= d.nodeCount(); ++i) {
        Node* n = d.item(i);
        if (!States::isTextBox(n))
            continue;
        QString text = n->text();
        if (!matcher.showMatch(QStringLiteral("Label"), text, findWhat, replaceWith, caseSensitive,
                               readOnly))
            return false;
        // An unchanged remark is not written back, so the document does not
        // count as changed.
        if (!readOnly && text != n->text()) {
            n->setText(text);
            States::sizeNodeToText(doc, n);
        }
    }
    return true;
}
}  // namespace

bool searchDocument(FsmDocument& doc, FindMatcher& matcher, const QString& findWhat,
                    const QString& replaceWith, bool caseSensitive, DialogAsker* asker)
{
    if (findWhat.isEmpty())
        return true;
    if (!MachineDialog::search(doc, matcher, findWhat, replaceWith, caseSensitive, asker))
        return false;
    if (!eachNode(doc, States::isStateNode, [&] {
            return StateDialog::search(doc, matcher, findWhat, replaceWith, caseSensitive, asker);
        }))
        return false;
    if (!eachNode(doc, Transitions::isTransitionNode, [&] {
            return TransitionDialog::search(doc, matcher, findWhat, replaceWith, caseSensitive,
                                            asker);
        }))
        return false;
    return searchRemarks(doc, matcher, findWhat, replaceWith, caseSensitive);
}

FindOutcome runFind(FsmDocument& doc, FindTexts& texts, bool& caseSensitive, QWidget* parent)
{
    // No other start's file opens in the middle of the walk (the dialogs'
    // own messages included).
    const HandOverPause pause;
    if (texts.findWhat.isEmpty()) {
        // The search box holds one line: the clipboard's first.
        const QString clip = QApplication::clipboard()->text();
        texts.findWhat = clip.left(clip.indexOf(QRegularExpression(QStringLiteral("[\r\n]"))));
    }
    const bool readOnly = doc.diagram().readOnly();
    texts.findWhat =
        FindDialog::ask(texts.findWhat, texts.replaceWith, caseSensitive, readOnly, parent);
    FindOutcome outcome = FindOutcome::NotSearched;
    if (!texts.findWhat.isEmpty()) {
        FindMatchDialog matcher(parent);
        matcher.setDocument(&doc);
        searchDocument(doc, matcher, texts.findWhat, texts.replaceWith, caseSensitive);
        outcome = matcher.matchesShown() > 0 ? FindOutcome::Found : FindOutcome::NotFound;
    }
    QApplication::beep();
    return outcome;
}

}  // namespace orvane::FindAndReplace
