#pragma once
// The state properties dialog: index, name, kind, the four actions, the two
// generation flags and the child diagrams the state calls. It edits the
// diagram's current node and writes it only through the state operations of
// the model.

#include "PropertyDialog.h"
#include "ChildDiagrams.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;

namespace orvane {

class CodeEditor;
class FsmDocument;
class Node;
class CodeEditorOptions;

class StateDialog : public PropertyDialog {
    Q_OBJECT
public:
    // Loads the diagram's current node (a state). `options` and `asker` may
    // be null (no shared editor options; message boxes).
    StateDialog(FsmDocument& doc, CodeEditorOptions* options, DialogAsker* asker = nullptr,
                QWidget* parent = nullptr);
    ~StateDialog() override;

    // Shows the dialog modally on the current node. A child diagram chosen
    // with "Open Child_FSM" is left in `pendingDocument` (emptied otherwise
    // when the button found no file).
    static int edit(FsmDocument& doc, CodeEditorOptions* options, QWidget* parent,
                    QString& pendingDocument);

    // Find and replace over the name and the four actions of the current
    // node, without showing the dialog; the changes are stored as "Ok"
    // would store them (nothing on a read-only diagram). False when the
    // user stopped the search.
    static bool search(FsmDocument& doc, FindMatcher& matcher, const QString& findWhat,
                       const QString& replaceWith, bool caseSensitive,
                       DialogAsker* asker = nullptr);
    bool search(FindMatcher& matcher, const QString& findWhat, const QString& replaceWith,
                bool caseSensitive);

    // Leaving the index field: range check, and the renumbering question
    // when it changed. False when the index was refused.
    bool validateIndex();
    // Leaving the name field: trimmed, blanks made "_".
    void normalizeName();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Values {
        QString entry, during, exit, elseAction, index, name;
        int kind = 0;
        bool isIn = false, goTo = false;
        friend bool operator==(const Values&, const Values&) = default;
    };
    void buildUi();
    void load();
    void fillChildList();
    Values shownValues() const;
    qint32 kindValue() const;
    // configureState with the values shown.
    void apply();
    void onOk() override;
    void onEditorLeft(CodeEditor* editor);
    void onEditorKey(CodeEditor* editor, int keyCode, bool& handled);
    bool nameIsFree() const;

    Node* m_node;
    ChildDiagrams m_children;
    bool m_hasChildren = false;
    QString m_loadedIndex;
    Values m_snapshot;

    QTabWidget* m_tabs = nullptr;
    QLineEdit* m_indexEdit = nullptr;
    QLineEdit* m_nameEdit = nullptr;
    QGroupBox* m_kindGroup = nullptr;
    QRadioButton* m_initialButton = nullptr;
    QRadioButton* m_finalButton = nullptr;
    QRadioButton* m_normalButton = nullptr;
    QCheckBox* m_isInFunctionBox = nullptr;
    QCheckBox* m_gotoFunctionBox = nullptr;
    CodeEditor* m_entryEdit = nullptr;
    CodeEditor* m_duringEdit = nullptr;
    CodeEditor* m_exitEdit = nullptr;
    CodeEditor* m_elseEdit = nullptr;
    QGroupBox* m_childrenGroup = nullptr;
    QComboBox* m_childList = nullptr;
    QPushButton* m_openChildButton = nullptr;
};

}  // namespace orvane
