#pragma once
// The state properties dialog: index, name, kind, the four actions, the two
// generation flags and the child diagrams the state calls. It edits the
// diagram's current node and writes it only through the state operations of
// the model.

#include "PropertyDialog.h"
#include "clsParientes.h"

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
class clsLib_OptCMax;

class frmPropNodo : public PropertyDialog {
    Q_OBJECT
public:
    // Loads the diagram's current node (a state). `options` and `asker` may
    // be null (no shared editor options; message boxes).
    frmPropNodo(FsmDocument& doc, clsLib_OptCMax* options, DialogAsker* asker = nullptr,
                QWidget* parent = nullptr);
    ~frmPropNodo() override;

    // Shows the dialog modally on the current node. A child diagram chosen
    // with "Open Child_FSM" is left in `pendingDocument` (emptied otherwise
    // when the button found no file).
    static int Open(FsmDocument& doc, clsLib_OptCMax* options, QWidget* parent,
                    QString& pendingDocument);

    // Find and replace over the name and the four actions of the current
    // node, without showing the dialog; the changes are stored as "Ok"
    // would store them (nothing on a read-only diagram). False when the
    // user stopped the search.
    static bool Buscar(FsmDocument& doc, FindMatcher& matcher, const QString& findWhat,
                       const QString& replaceWith, bool caseSensitive,
                       DialogAsker* asker = nullptr);
    bool Buscar(FindMatcher& matcher, const QString& findWhat, const QString& replaceWith,
                bool caseSensitive);

    // Leaving the index field: range check, and the renumbering question
    // when it changed. False when the index was refused.
    bool ValidarIndice();
    // Leaving the name field: trimmed, blanks made "_".
    void NormalizeName();

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
    // Configura_Nodo_Estado with the values shown.
    void apply();
    void onOk() override;
    void onEditorLeft(CodeEditor* editor);
    void onEditorKey(CodeEditor* editor, int keyCode, bool& handled);
    bool nameIsFree() const;

    Node* m_node;
    clsParientes m_parientes;
    bool m_hasChildren = false;
    QString m_loadedIndex;
    Values m_snapshot;

    QTabWidget* SSTab1 = nullptr;
    QLineEdit* txtIndice = nullptr;
    QLineEdit* txtNombre = nullptr;
    QGroupBox* frmTipoNodo = nullptr;
    QRadioButton* optNodoInicial = nullptr;
    QRadioButton* optNodoFinal = nullptr;
    QRadioButton* optNodoNormal = nullptr;
    QCheckBox* chkGenFunctionIsIn = nullptr;
    QCheckBox* chkGenFunctionGoto = nullptr;
    CodeEditor* txtAccionInput = nullptr;
    CodeEditor* txtAccionMoore = nullptr;
    CodeEditor* txtAccionOutput = nullptr;
    CodeEditor* txtAccionElse = nullptr;
    QGroupBox* frmSubEstados = nullptr;
    QComboBox* cmbEnlaces = nullptr;
    QPushButton* cmdEnlace = nullptr;
};

}  // namespace orvane
