#pragma once
// The FSM properties dialog: the texts of the diagram's configuration
// record, the eight generation options of the document, the default state
// colours, and the child diagrams the machine calls.

#include "PropertyDialog.h"
#include "ChildDiagrams.h"

#include <array>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLayout;
class QLineEdit;
class QPushButton;
class QTabWidget;

namespace orvane {

class CodeEditor;
class FsmDocument;
class CodeEditorOptions;

class MachineDialog : public PropertyDialog {
    Q_OBJECT
public:
    // Loads the document's record and flags. `options` and `asker` may be
    // null (no shared editor options; message boxes).
    MachineDialog(FsmDocument& doc, CodeEditorOptions* options, DialogAsker* asker = nullptr,
                  QWidget* parent = nullptr);
    ~MachineDialog() override;

    // Shows the dialog modally. A child diagram chosen with "Open Child_FSM"
    // is left in `pendingDocument` (emptied otherwise).
    static int edit(FsmDocument& doc, CodeEditorOptions* options, QWidget* parent,
                    QString& pendingDocument);

    // Find and replace over the parameters and the five framing texts,
    // without showing the dialog; stored as "Ok" would store them (nothing
    // on a read-only diagram). True only when every field said "continue".
    static bool search(FsmDocument& doc, FindMatcher& matcher, const QString& findWhat,
                       const QString& replaceWith, bool caseSensitive,
                       DialogAsker* asker = nullptr);
    bool search(FindMatcher& matcher, const QString& findWhat, const QString& replaceWith,
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
    QLayout* headFields();
    void addTextTabs();
    QLayout* childrenRow();
    void wireControls();
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

    ChildDiagrams m_children;
    bool m_loaded = false;
    // True while m_headerEdit shows the module header.
    bool m_headerSelector = false;
    QString m_moduleHeader;
    QString m_functionHeader;
    Values m_snapshot;

    QLabel* m_nameLabel = nullptr;
    QLineEdit* m_nameEdit = nullptr;
    QLabel* m_paramsLabel = nullptr;
    QLineEdit* m_paramsEdit = nullptr;
    QLabel* m_versionLabel = nullptr;
    QGroupBox* m_childrenGroup = nullptr;
    QComboBox* m_childList = nullptr;
    QPushButton* m_openChildButton = nullptr;
    QTabWidget* m_tabs = nullptr;
    QPushButton* m_headerSwitchButton = nullptr;
    CodeEditor* m_headerEdit = nullptr;
    QLabel* m_initLabel = nullptr;
    CodeEditor* m_initEdit = nullptr;
    QLabel* m_beforeLabel = nullptr;
    CodeEditor* m_beforeEdit = nullptr;
    QLabel* m_defaultLabel = nullptr;
    CodeEditor* m_defaultEdit = nullptr;
    QLabel* m_afterLabel = nullptr;
    CodeEditor* m_afterEdit = nullptr;
    QLabel* m_finalLabel = nullptr;
    CodeEditor* m_finalEdit = nullptr;
    QCheckBox* m_initFunctionBox = nullptr;
    QCheckBox* m_endFunctionBox = nullptr;
    QCheckBox* m_debugInfoBox = nullptr;
    QCheckBox* m_ansiCommentsBox = nullptr;
    QCheckBox* m_remarksInCodeBox = nullptr;
    QCheckBox* m_historyBox = nullptr;
    QCheckBox* m_bitFieldsBox = nullptr;
    QCheckBox* m_macrosBox = nullptr;
    QLabel* m_hierarchicalOnlyLabel = nullptr;
    QPushButton* m_fillColourButton = nullptr;
    QPushButton* m_textColourButton = nullptr;
    QPushButton* m_resetColoursButton = nullptr;
};

}  // namespace orvane
