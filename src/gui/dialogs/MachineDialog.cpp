#include "MachineDialog.h"

#include "CodeEditor.h"
#include "FsmDocument.h"
#include "CodeEditorOptions.h"
#include "MachineInfo.h"
#include "CodeText.h"
#include "States.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace orvane {

namespace {
namespace Support = PropertyDialogSupport;

const QString kSection = QStringLiteral("PropFSM");
constexpr int kDefaultHeight = 7575;
constexpr int kDefaultWidth = 8505;
constexpr quint32 kResetFill = 0xFFFFF0;
constexpr quint32 kResetFore = 0;

// The document flags in the order of the option check boxes.
constexpr bool FsmDocument::*kFlags[] = {
    &FsmDocument::generateInitFunction,
    &FsmDocument::generateEndFunction,
    &FsmDocument::debugInfo,
    &FsmDocument::ansiComments,
    &FsmDocument::remarksInCode,
    &FsmDocument::historyMachine,
    &FsmDocument::useBitFields,
    &FsmDocument::useMacros,
};

QColor fromColorRef(quint32 c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }
quint32 toColorRef(const QColor& c)
{
    return quint32(c.red() | (c.green() << 8) | (c.blue() << 16));
}

// The colour chooser remembers its last colour for the whole session.
QColor& chooserColour()
{
    static QColor colour(Qt::black);
    return colour;
}

QLabel* newLabel(QWidget* parent, const QString& name, const QString& caption,
                 const QString& toolTip = QString())
{
    auto* label = new QLabel(caption, parent);
    label->setObjectName(name);
    label->setToolTip(toolTip);
    label->setWordWrap(true);
    return label;
}

QCheckBox* newCheck(QWidget* parent, const QString& name, const QString& caption,
                    const QString& toolTip)
{
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(name);
    box->setToolTip(toolTip);
    return box;
}
}  // namespace

MachineDialog::MachineDialog(FsmDocument& doc, CodeEditorOptions* options, DialogAsker* asker,
                             QWidget* parent)
    : PropertyDialog(doc, options, asker, parent, kSection, kDefaultHeight, kDefaultWidth)
{
    buildUi();
    restoreSize();
    m_tabs->setCurrentIndex(1);
    load();
    fillChildList();
}

MachineDialog::~MachineDialog() = default;

int MachineDialog::edit(FsmDocument& doc, CodeEditorOptions* options, QWidget* parent,
                        QString& pendingDocument)
{
    return openPropertyDialog<MachineDialog>(doc, options, parent, &pendingDocument);
}

bool MachineDialog::search(FsmDocument& doc, FindMatcher& matcher, const QString& findWhat,
                           const QString& replaceWith, bool caseSensitive, DialogAsker* asker)
{
    return searchPropertyDialog<MachineDialog>(doc, matcher, findWhat, replaceWith, caseSensitive,
                                               asker);
}

void MachineDialog::buildUi()
{
    setObjectName(QStringLiteral("MachineDialog"));
    setWindowTitle(QStringLiteral("FSM properties"));
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(headFields());
    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("tabs"));
    // Every page's tab shows, none behind scroll arrows: in a narrow dialog
    // the captions are shortened instead (the dialog keeps its sizes).
    m_tabs->setUsesScrollButtons(false);
    m_tabs->setElideMode(Qt::ElideRight);
    layout->addWidget(m_tabs, 1);
    addTextTabs();
    m_tabs->addTab(optionsTab(), QStringLiteral("Options"));
    layout->addLayout(childrenRow());
    wireControls();
}

// Name, parameters and the file's format version above the tabs.
QLayout* MachineDialog::headFields()
{
    auto* head = new QGridLayout;
    m_nameLabel = newLabel(this, QStringLiteral("nameLabel"), QStringLiteral("Name:"));
    m_nameEdit = new QLineEdit(this);
    m_nameEdit->setObjectName(QStringLiteral("nameEdit"));
    m_nameEdit->setToolTip(QStringLiteral("Name of the FSM visible function"));
    m_paramsLabel = newLabel(this, QStringLiteral("paramsLabel"), QStringLiteral("Parameters:"));
    m_paramsEdit = new QLineEdit(this);
    m_paramsEdit->setObjectName(QStringLiteral("paramsEdit"));
    m_paramsEdit->setToolTip(QStringLiteral("Parameters of the FSM visible function"));
    m_versionLabel = newLabel(this, QStringLiteral("versionLabel"), QString(),
                              QStringLiteral("Format version of the FSM file"));
    // Saving writes the file's name into the diagram, so the name typed
    // here lasts only until the next save under another name.
    auto* nameRow = new QHBoxLayout;
    nameRow->addWidget(m_nameEdit, 1);
    nameRow->addWidget(newLabel(this, QStringLiteral("nameNote"),
                                QStringLiteral("Saved diagrams take their file's name")));
    head->addWidget(m_nameLabel, 0, 0);
    head->addLayout(nameRow, 0, 1);
    head->addWidget(m_versionLabel, 0, 2);
    head->addWidget(m_paramsLabel, 1, 0);
    head->addWidget(m_paramsEdit, 1, 1, 1, 2);
    head->setColumnStretch(1, 1);
    return head;
}

// The headers tab and one tab per text of the machine.
void MachineDialog::addTextTabs()
{
    auto* headers = new QWidget(m_tabs);
    auto* headersLayout = new QVBoxLayout(headers);
    m_headerSwitchButton =
        Support::newButton(headers, QStringLiteral("headerSwitchButton"), QString());
    m_headerSwitchButton->setToolTip(QStringLiteral("Comments of the file or function"));
    m_headerEdit = Support::newEditor(headers, QStringLiteral("headerEdit"));
    headersLayout->addWidget(m_headerSwitchButton, 0, Qt::AlignLeft);
    headersLayout->addWidget(m_headerEdit, 1);
    m_tabs->addTab(headers, QStringLiteral("Headers"));

    struct TextTab {
        QLabel*& label;
        const char* labelName;
        const char* caption;
        const char* toolTip;
        CodeEditor*& editor;
        const char* editorName;
        const char* title;
    };
    const TextTab tabs[] = {
        {m_initLabel, "initLabel",
         "Module initializations (definition and external declarations to the function):",
         "Code to be put inside the initialization area", m_initEdit, "initEdit", "Initialization"},
        {m_beforeLabel, "beforeLabel", "Actions to be executed before to process a state.",
         "Actions executed into the fsm-function before analyze the state.", m_beforeEdit,
         "beforeEdit", "PreProcess"},
        {m_defaultLabel, "defaultLabel",
         "Executed in the case that the dispatcher points to a invalid state. (included to be MISRA compliance).",
         "Never is reached except if the user modify directly the internal state index, this exist only to be MISRA compliance and only works for switch case models.",
         m_defaultEdit, "defaultEdit", "DefaultCase"},
        {m_afterLabel, "afterLabel", "Actions to be executed after process a state.",
         "Actions executed into the fsm-function after analyze the state.", m_afterEdit,
         "afterEdit", "PostProcess"},
        {m_finalLabel, "finalLabel",
         "Code area located in the bottom of the module (outside of the FSM-Function)",
         "This is the user functions implementation area", m_finalEdit, "finalEdit", "ExtraCode"},
    };
    for (const TextTab& t : tabs) {
        auto* tab = new QWidget(m_tabs);
        auto* tabLayout = new QVBoxLayout(tab);
        t.label = newLabel(tab, QLatin1String(t.labelName), QLatin1String(t.caption),
                           QLatin1String(t.toolTip));
        t.editor = Support::newEditor(tab, QLatin1String(t.editorName));
        tabLayout->addWidget(t.label);
        tabLayout->addWidget(t.editor, 1);
        m_tabs->addTab(tab, QLatin1String(t.title));
    }
}

// The child diagrams' list, its open button and OK and Cancel.
QLayout* MachineDialog::childrenRow()
{
    auto* bottom = new QHBoxLayout;
    m_childrenGroup = new QGroupBox(QStringLiteral("SubStates"), this);
    m_childrenGroup->setObjectName(QStringLiteral("childrenGroup"));
    auto* childLayout = new QHBoxLayout(m_childrenGroup);
    m_childList = new QComboBox(m_childrenGroup);
    m_childList->setObjectName(QStringLiteral("childList"));
    m_openChildButton = Support::newButton(m_childrenGroup, QStringLiteral("openChildButton"),
                                           QStringLiteral("Open Child_FSM"));
    childLayout->addWidget(m_childList, 1);
    childLayout->addWidget(m_openChildButton);
    bottom->addWidget(m_childrenGroup, 1);
    auto* buttons = new QVBoxLayout;
    addOkCancel(buttons);
    // The buttons keep their own width at the right, whether or not the
    // children's box is shown.
    buttons->setAlignment(m_okButton, Qt::AlignRight);
    buttons->setAlignment(m_cancelButton, Qt::AlignRight);
    bottom->addStretch(0);
    bottom->addLayout(buttons);
    return bottom;
}

void MachineDialog::wireControls()
{
    connect(m_openChildButton, &QPushButton::clicked, this,
            [this] { openChild(m_children, m_childList->currentText()); });
    connect(m_headerSwitchButton, &QPushButton::clicked, this, &MachineDialog::switchHeader);
    connect(m_fillColourButton, &QPushButton::clicked, this, &MachineDialog::onFillColour);
    connect(m_textColourButton, &QPushButton::clicked, this, &MachineDialog::onForeColour);
    connect(m_resetColoursButton, &QPushButton::clicked, this, &MachineDialog::onResetColours);

    Support::wireEditor(
        m_headerEdit, m_options, m_doc, m_repositoryBusy, [this] { commitHeader(); }, false);
    for (CodeEditor* e : {m_initEdit, m_beforeEdit, m_defaultEdit, m_afterEdit, m_finalEdit})
        Support::wireEditor(e, m_options, m_doc, m_repositoryBusy, [this, e] {
            if (!m_repositoryBusy)
                Support::tidyEditorText(e, false);
        });
}

QWidget* MachineDialog::optionsTab()
{
    auto* tab = new QWidget(m_tabs);
    auto* l = new QVBoxLayout(tab);
    m_initFunctionBox = newCheck(tab, QStringLiteral("initFunctionBox"), QString(),
                                 QStringLiteral("Exported function that restart the FSM"));
    m_endFunctionBox =
        newCheck(tab, QStringLiteral("endFunctionBox"), QString(),
                 QStringLiteral("Exported function that confirm if a final node has been reached"));
    m_debugInfoBox = newCheck(
        tab, QStringLiteral("debugInfoBox"),
        QStringLiteral(
            "Generate debug Info: \"FSM_NAME(), FSM_STATE_NAME()  and  FSM_TRANS_NUMBER()\""),
        QStringLiteral("Macro that returns a string with the name of the state"));
    m_ansiCommentsBox = newCheck(tab, QStringLiteral("ansiCommentsBox"),
                                 QStringLiteral("Generate comments in ANSI-C style (/* */)"),
                                 QStringLiteral("Change the comments // to /* */"));
    m_remarksInCodeBox = newCheck(
        tab, QStringLiteral("remarksInCodeBox"), QStringLiteral("Print text boxes into the code"),
        QStringLiteral("The tex boxes data will be printed in the c code as comments"));
    m_historyBox =
        newCheck(tab, QStringLiteral("historyBox"), QStringLiteral("History FSM"),
                 QStringLiteral(
                     "This Fsm will remember the last state always that returns to be processed."));
    m_hierarchicalOnlyLabel =
        newLabel(tab, QStringLiteral("hierarchicalOnlyLabel"),
                 QStringLiteral("Optimization parameters for hierarchical generation:"));
    m_bitFieldsBox = newCheck(tab, QStringLiteral("bitFieldsBox"),
                              QStringLiteral("Use bitfields to save RAM (to codify entry flags)"),
                              QStringLiteral("Store the entry flags in bitfields to save RAM."));
    m_macrosBox = newCheck(
        tab, QStringLiteral("macrosBox"),
        QStringLiteral(
            "Generate the functions: '_Init()', '_End()', '_IsIn_()' && '_Goto_()'  as private macros "),
        QStringLiteral(
            "The hierarchical handling apis can be generated as local macros to optimizate in speed."));
    for (QWidget* w :
         std::initializer_list<QWidget*>{m_initFunctionBox, m_endFunctionBox, m_debugInfoBox,
                                         m_ansiCommentsBox, m_remarksInCodeBox, m_historyBox,
                                         m_hierarchicalOnlyLabel, m_bitFieldsBox, m_macrosBox})
        l->addWidget(w);
    auto* colours = new QHBoxLayout;
    m_fillColourButton = Support::newButton(tab, QStringLiteral("fillColourButton"),
                                            QStringLiteral("State Fill Color"));
    m_textColourButton = Support::newButton(tab, QStringLiteral("textColourButton"),
                                            QStringLiteral("State Fore Color"));
    m_resetColoursButton = Support::newButton(tab, QStringLiteral("resetColoursButton"),
                                              QStringLiteral("Reset Colors"));
    colours->addWidget(m_fillColourButton);
    colours->addWidget(m_textColourButton);
    colours->addWidget(m_resetColoursButton);
    colours->addStretch(1);
    l->addLayout(colours);
    l->addStretch(1);
    return tab;
}

void MachineDialog::load()
{
    const Diagram& d = m_doc.diagram();
    m_readOnly = d.readOnly();
    Support::setBackground(m_nameEdit, Support::kReadOnlyBack);
    m_okButton->setEnabled(!m_readOnly);
    Support::lockLineEdit(m_paramsEdit, m_readOnly);
    for (CodeEditor* e :
         {m_headerEdit, m_initEdit, m_beforeEdit, m_defaultEdit, m_afterEdit, m_finalEdit}) {
        Support::lockEditor(e, m_readOnly);
        if (m_options)
            m_options->getConfig(*e);
    }
    for (QWidget* w : flagBoxes())
        w->setEnabled(!m_readOnly);
    for (QWidget* w : {m_fillColourButton, m_textColourButton, m_resetColoursButton})
        w->setEnabled(!m_readOnly);

    m_nameEdit->setText(machineConfig(d).name);
    m_paramsEdit->setText(machineConfig(d).params);
    m_initEdit->setCode(machineConfig(d).init);
    m_beforeEdit->setCode(machineConfig(d).before);
    m_defaultEdit->setCode(machineConfig(d).defaultAction);
    m_afterEdit->setCode(machineConfig(d).after);
    m_finalEdit->setCode(machineConfig(d).finalActions);
    m_moduleHeader = machineConfig(d).moduleHeader;
    m_functionHeader = machineConfig(d).functionHeader;
    m_headerSelector = false;
    switchHeader();
    m_versionLabel->setText(QStringLiteral("FSM Signature: ") + machineConfig(d).signature);

    const QString name = m_nameEdit->text().trimmed();
    m_initFunctionBox->setText(QStringLiteral("Generate a restart function: ") + name
                               + QStringLiteral("_Init()"));
    m_endFunctionBox->setText(QStringLiteral("Generate a final node reached confirmation: ") + name
                              + QStringLiteral("_End()"));
    const auto boxes = flagBoxes();
    for (int i = 0; i < kFlagCount; ++i)
        boxes[size_t(i)]->setChecked(m_doc.*kFlags[i]);

    m_snapshot = shownValues();
    m_loaded = true;
}

void MachineDialog::fillChildList()
{
    m_childList->clear();
    // A diagram that was never saved has no folder to hold children.
    if (!m_doc.filePath.isEmpty()) {
        m_children.reset(m_doc.filePath);
        m_children.scanDiagram(m_doc.diagram());
        m_childList->addItems(m_children.children());
    }
    const bool any = m_childList->count() > 0;
    if (any)
        m_childList->setCurrentIndex(0);
    m_childrenGroup->setHidden(!any);
    m_childList->setHidden(!any);
    m_openChildButton->setHidden(!any);
}

std::array<QCheckBox*, MachineDialog::kFlagCount> MachineDialog::flagBoxes() const
{
    return {m_initFunctionBox,  m_endFunctionBox, m_debugInfoBox, m_ansiCommentsBox,
            m_remarksInCodeBox, m_historyBox,     m_bitFieldsBox, m_macrosBox};
}

MachineDialog::Values MachineDialog::shownValues() const
{
    Values v;
    v.params = m_paramsEdit->text();
    v.init = m_initEdit->code();
    v.before = m_beforeEdit->code();
    v.defaultAction = m_defaultEdit->code();
    v.after = m_afterEdit->code();
    v.finalActions = m_finalEdit->code();
    v.moduleHeader = m_moduleHeader;
    v.functionHeader = m_functionHeader;
    const auto boxes = flagBoxes();
    for (int i = 0; i < kFlagCount; ++i)
        v.flags[size_t(i)] = boxes[size_t(i)]->checkState() == Qt::Checked;
    return v;
}

void MachineDialog::commitHeader()
{
    const QString text = CodeText::expandTabs(m_headerEdit->code(), 4);
    (m_headerSelector ? m_moduleHeader : m_functionHeader) = text;
}

void MachineDialog::switchHeader()
{
    // What is typed in the shown header is kept before the other one shows.
    if (m_loaded)
        commitHeader();
    m_headerSelector = !m_headerSelector;
    m_headerEdit->setCode(m_headerSelector ? m_moduleHeader : m_functionHeader);
    m_headerSwitchButton->setText(m_headerSelector ? QStringLiteral("This is the module header")
                                                   : QStringLiteral("This is the function header"));
}

void MachineDialog::onOk()
{
    if (m_readOnly) {
        accept();
        return;
    }
    commitHeader();
    const Values shown = shownValues();
    if (!(shown == m_snapshot)) {
        Diagram& d = m_doc.diagram();
        MachineInfo::setMachineConfig(
            d,
            MachineConfig{MachineInfo::kSignature, m_nameEdit->text(), shown.init, shown.before,
                          machineConfig(d).options, shown.params, shown.after, shown.finalActions,
                          shown.moduleHeader, shown.functionHeader, shown.defaultAction});
        for (int i = 0; i < kFlagCount; ++i)
            m_doc.*kFlags[i] = shown.flags[size_t(i)];
        d.setChanged(true);
        States::setHistoryMark(m_doc, nullptr);
    }
    accept();
}

// A cancelled colour dialog changes nothing.
void MachineDialog::onFillColour()
{
    Diagram& d = m_doc.diagram();
    const QColor chosen = QColorDialog::getColor(fromColorRef(d.defaultFillColor()), this);
    if (!chosen.isValid())
        return;
    chooserColour() = chosen;
    d.setDefaultFillColor(toColorRef(chosen));
    States::applyDefaultColours(d);
}

void MachineDialog::onForeColour()
{
    Diagram& d = m_doc.diagram();
    const QColor chosen = QColorDialog::getColor(chooserColour(), this);
    if (!chosen.isValid())
        return;
    chooserColour() = chosen;
    d.setDefaultForeColor(toColorRef(chosen));
    States::applyDefaultColours(d);
}

void MachineDialog::onResetColours()
{
    Diagram& d = m_doc.diagram();
    d.setDefaultFillColor(kResetFill);
    d.setDefaultForeColor(kResetFore);
    States::applyDefaultColours(d);
}

bool MachineDialog::search(FindMatcher& matcher, const QString& findWhat,
                           const QString& replaceWith, bool caseSensitive)
{
    QString params = m_paramsEdit->text();
    bool go = matcher.showMatch(QStringLiteral("FSM properties: Parameters"), params, findWhat,
                                replaceWith, caseSensitive, m_readOnly);
    if (go)
        m_paramsEdit->setText(params);
    const std::pair<CodeEditor*, const char*> fields[] = {
        {m_initEdit, "FSM properties: Initialization"},
        {m_beforeEdit, "FSM properties: Actions before dispatcher"},
        {m_defaultEdit, "FSM properties: Default actions on index error"},
        {m_afterEdit, "FSM properties: Actions after dispatcher"},
        {m_finalEdit, "FSM properties: Ending actions"},
    };
    for (const auto& [editor, caption] : fields) {
        if (!go)
            break;
        QString text = editor->code();
        go = matcher.showMatch(QLatin1String(caption), text, findWhat, replaceWith, caseSensitive,
                               m_readOnly);
        if (go)
            editor->setCode(text);
    }
    finishSearch();
    return go;
}

}  // namespace orvane
