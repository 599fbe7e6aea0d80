#pragma once
// The FSM properties dialog: the texts of the diagram's configuration
// record, the eight generation options of the document, the default state
// colours, and the child diagrams the machine calls.

#include "PropertyDialog.h"
#include "clsParientes.h"

#include <array>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;

namespace orvane {

class CodeEditor;
class FsmDocument;
class clsLib_OptCMax;

class frmPropFSM : public PropertyDialog {
    Q_OBJECT
public:
    // Loads the document's record and flags. `options` and `asker` may be
    // null (no shared editor options; message boxes).
    frmPropFSM(FsmDocument& doc, clsLib_OptCMax* options, DialogAsker* asker = nullptr,
               QWidget* parent = nullptr);
    ~frmPropFSM() override;

    // Shows the dialog modally. A child diagram chosen with "Open Child_FSM"
    // is left in `pendingDocument` (emptied otherwise).
    static int Open(FsmDocument& doc, clsLib_OptCMax* options, QWidget* parent,
                    QString& pendingDocument);

    // Find and replace over the parameters and the five framing texts,
    // without showing the dialog; stored as "Ok" would store them (nothing
    // on a read-only diagram). True only when every field said "continue".
    static bool Buscar(FsmDocument& doc, FindMatcher& matcher, const QString& findWhat,
                       const QString& replaceWith, bool caseSensitive,
                       DialogAsker* asker = nullptr);
    bool Buscar(FindMatcher& matcher, const QString& findWhat, const QString& replaceWith,
                bool caseSensitive);

private:
    static constexpr int kFlagCount = 8;
    struct Values {
        QString params, init, before, defaultAction, after, finalActions;
        QString moduleHeader, functionHeader;
        std::array<bool, kFlagCount> flags{};
        friend bool operator==(const Values&, const Values&) = default;
    };
    void buildUi();
    QWidget* optionsTab();
    void load();
    void fillChildList();
    Values shownValues() const;
    void switchHeader();
    // Keeps the header editor's text (tabs expanded) as the header it shows.
    void commitHeader();
    void onOk() override;
    void onFillColour();
    void onForeColour();
    void onResetColours();
    // The option check boxes in the order of their document flags.
    std::array<QCheckBox*, kFlagCount> flagBoxes() const;

    clsParientes m_parientes;
    bool m_loaded = false;
    // True while txtHeader shows the module header.
    bool m_headerSelector = false;
    QString m_moduleHeader;
    QString m_functionHeader;
    Values m_snapshot;

    QLabel* lblNombre = nullptr;
    QLineEdit* txtNombreFSM = nullptr;
    QLabel* lblParametros = nullptr;
    QLineEdit* txtParametrosFSM = nullptr;
    QLabel* lblVersion = nullptr;
    QGroupBox* frmSubEstados = nullptr;
    QComboBox* cmbEnlaces = nullptr;
    QPushButton* cmdEnlace = nullptr;
    QTabWidget* SSTab1 = nullptr;
    QPushButton* cmdSelectComments = nullptr;
    CodeEditor* txtHeader = nullptr;
    QLabel* lblInicializacion = nullptr;
    CodeEditor* txtInicializacion = nullptr;
    QLabel* lblAcciones = nullptr;
    CodeEditor* txtBeforeAction = nullptr;
    QLabel* Label3 = nullptr;
    CodeEditor* txtDefault = nullptr;
    QLabel* Label1 = nullptr;
    CodeEditor* txtAfterAction = nullptr;
    QLabel* Label2 = nullptr;
    CodeEditor* txtFinalAction = nullptr;
    QCheckBox* chkGenFuncInit = nullptr;
    QCheckBox* chkGenFuncEnd = nullptr;
    QCheckBox* chkGenDebugInfo = nullptr;
    QCheckBox* chkAnsiComment = nullptr;
    QCheckBox* chkTextBoxesInCode = nullptr;
    QCheckBox* chkHistoryFsm = nullptr;
    QCheckBox* chkUseBitFields = nullptr;
    QCheckBox* chkUseMacros = nullptr;
    QLabel* lblHierarchicalOnly = nullptr;
    QPushButton* cmdFillColor = nullptr;
    QPushButton* cmdForeColor = nullptr;
    QPushButton* cmdResetColor = nullptr;
};

}  // namespace orvane
