#pragma once
// The find-and-replace command of a document window: asks for the search
// and replacement texts, then walks every text of the diagram (the FSM's
// texts, each state, each transition, each remark) through the match
// dialog. Each stage stores its texts as it goes, through the property
// dialogs' own search entries, so a cancel keeps what was finished before.

#include <QString>

class QWidget;

namespace orvane {

class DialogAsker;
class FindMatcher;
class FsmDocument;

// What a document window remembers between two searches.
struct FindTexts {
    QString findWhat;
    QString replaceWith;
};

namespace FindAndReplace {

// The stages over one diagram, in order: FSM properties, states, transitions,
// remarks; each only while the user goes on. False when the user stopped.
// `asker` (may be null: message boxes) answers the property dialogs.
bool searchDocument(FsmDocument& doc, FindMatcher& matcher, const QString& findWhat,
                    const QString& replaceWith, bool caseSensitive, DialogAsker* asker = nullptr);

// What the whole command came to.
enum class FindOutcome {
    NotSearched,  // the search-text dialog was cancelled
    NotFound,     // no text holds the search string
    Found,        // at least one match was shown
};

// The whole command: the first search of a window proposes the clipboard's
// text; the search-text dialog; the stages with the match dialog; a beep at
// the end. `caseSensitive` is the program-wide case choice (kept in the
// settings by the main window).
FindOutcome runFind(FsmDocument& doc, FindTexts& texts, bool& caseSensitive,
                    QWidget* parent = nullptr);

}  // namespace FindAndReplace
}  // namespace orvane
