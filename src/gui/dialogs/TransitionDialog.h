#pragma once
// The transition properties dialog: priority, condition, action, the
// must-be-last flag and, for a transition back to its own state, the
// self-transition flag. It edits the diagram's current node (a transition
// node) through the transition operations of the model.

#include "PropertyDialog.h"

class QCheckBox;
class QLineEdit;
class QPushButton;
class QTabWidget;

namespace orvane {

class CodeEditor;
class FsmDocument;
class Node;
class CodeEditorOptions;

class TransitionDialog : public PropertyDialog {
    Q_OBJECT
public:
    // Loads the diagram's current node (a transition node). `options` and
    // `asker` may be null (no shared editor options; message boxes).
    TransitionDialog(FsmDocument& doc, CodeEditorOptions* options, DialogAsker* asker = nullptr,
                     QWidget* parent = nullptr);
    ~TransitionDialog() override;

    // Shows the dialog modally on the current node.
    static int edit(FsmDocument& doc, CodeEditorOptions* options, QWidget* parent);

    // Find and replace over the condition and the action of the current
    // node, without showing the dialog; stored as "Ok" would store them
    // (nothing on a read-only diagram). False when the user stopped.
    static bool search(FsmDocument& doc, FindMatcher& matcher, const QString& findWhat,
                       const QString& replaceWith, bool caseSensitive,
                       DialogAsker* asker = nullptr);
    bool search(FindMatcher& matcher, const QString& findWhat, const QString& replaceWith,
                bool caseSensitive);

    // Leaving the priority field: range check, then, when it changed, the
    // question and the renumbering of the source state's transitions.
    // `force` applies and renumbers even when the text did not change.
    bool validatePriority(bool force = false);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Values {
        QString priority, condition, action;
        bool self = false, last = false;
        friend bool operator==(const Values&, const Values&) = default;
    };
    void buildUi();
    void load();
    Values shownValues() const;
    void apply();
    void onOk() override;
    void onMustBeLastClicked(bool checked);
    Node* source() const;

    Node* m_node;
    // The priority was set by the must-be-last box: no question.
    bool m_setByMustBeLast = false;
    QString m_loadedPriority;
    Values m_snapshot;

    QTabWidget* m_tabs = nullptr;
    QLineEdit* m_priorityEdit = nullptr;
    CodeEditor* m_conditionEdit = nullptr;
    CodeEditor* m_actionEdit = nullptr;
    QCheckBox* m_mustBeLastBox = nullptr;
    QCheckBox* m_selfTransitionBox = nullptr;
};

}  // namespace orvane
