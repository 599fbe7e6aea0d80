#include "frmPropFSM.h"

#include "CodeEditor.h"
#include "FsmDocument.h"
#include "clsLib_OptCMax.h"
#include "modGrafoInfo.h"
#include "modLib_StringHandling.h"
#include "modNodoEstado.h"

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
namespace Grafo = modGrafoInfo;

const QString kSection = QStringLiteral("PropFSM");
constexpr int kDefaultHeight = 7575;
constexpr int kDefaultWidth = 8505;
constexpr quint32 kResetFill = 0xFFFFF0;
constexpr quint32 kResetFore = 0;

// The document flags in the order of the option check boxes.
constexpr bool FsmDocument::*kFlags[] = {
    &FsmDocument::bGeneraFuncInit, &FsmDocument::bGeneraFuncEnd,   &FsmDocument::bDebugInfo,
    &FsmDocument::bAnsiComment,    &FsmDocument::bTextBoxesInCode, &FsmDocument::bHistoryFsm,
    &FsmDocument::bUseBitFields,   &FsmDocument::bUseMacros,
};

QColor FromColorRef(quint32 c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }
quint32 ToColorRef(const QColor& c) { return quint32(c.red() | (c.green() << 8) | (c.blue() << 16)); }

// The colour chooser remembers its last colour for the whole session.
QColor& ChooserColour()
{
    static QColor colour(Qt::black);
    return colour;
}

QLabel* NewLabel(QWidget* parent, const QString& name, const QString& caption,
                 const QString& toolTip = QString())
{
    auto* label = new QLabel(caption, parent);
    label->setObjectName(name);
    label->setToolTip(toolTip);
    label->setWordWrap(true);
    return label;
}

QCheckBox* NewCheck(QWidget* parent, const QString& name, const QString& caption,
                    const QString& toolTip)
{
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(name);
    box->setToolTip(toolTip);
    return box;
}
}  // namespace

frmPropFSM::frmPropFSM(FsmDocument& doc, clsLib_OptCMax* options, DialogAsker* asker,
                       QWidget* parent)
    : PropertyDialog(doc, options, asker, parent, kSection, kDefaultHeight, kDefaultWidth)
{
    buildUi();
    restoreSize();
    SSTab1->setCurrentIndex(1);
    load();
    fillChildList();
}

frmPropFSM::~frmPropFSM() = default;

int frmPropFSM::Open(FsmDocument& doc, clsLib_OptCMax* options, QWidget* parent,
                     QString& pendingDocument)
{
    return OpenPropertyDialog<frmPropFSM>(doc, options, parent, &pendingDocument);
}

bool frmPropFSM::Buscar(FsmDocument& doc, FindMatcher& matcher, const QString& findWhat,
                        const QString& replaceWith, bool caseSensitive, DialogAsker* asker)
{
    return SearchPropertyDialog<frmPropFSM>(doc, matcher, findWhat, replaceWith, caseSensitive,
                                            asker);
}

void frmPropFSM::buildUi()
{
    setObjectName(QStringLiteral("frmPropFSM"));
    setWindowTitle(QStringLiteral("FSM properties"));
    auto* layout = new QVBoxLayout(this);

    auto* head = new QGridLayout;
    lblNombre = NewLabel(this, QStringLiteral("lblNombre"), QStringLiteral("Name:"));
    txtNombreFSM = new QLineEdit(this);
    txtNombreFSM->setObjectName(QStringLiteral("txtNombreFSM"));
    txtNombreFSM->setToolTip(QStringLiteral("Name of the FSM visible function"));
    lblParametros = NewLabel(this, QStringLiteral("lblParametros"), QStringLiteral("Parameters:"));
    txtParametrosFSM = new QLineEdit(this);
    txtParametrosFSM->setObjectName(QStringLiteral("txtParametrosFSM"));
    txtParametrosFSM->setToolTip(QStringLiteral("Parameters of the FSM visible function"));
    lblVersion = NewLabel(this, QStringLiteral("lblVersion"), QString(),
                          QStringLiteral("Format version of the FSM file"));
    head->addWidget(lblNombre, 0, 0);
    head->addWidget(txtNombreFSM, 0, 1);
    head->addWidget(lblVersion, 0, 2);
    head->addWidget(lblParametros, 1, 0);
    head->addWidget(txtParametrosFSM, 1, 1, 1, 2);
    head->setColumnStretch(1, 1);
    layout->addLayout(head);

    SSTab1 = new QTabWidget(this);
    SSTab1->setObjectName(QStringLiteral("SSTab1"));
    layout->addWidget(SSTab1, 1);

    auto* headers = new QWidget(SSTab1);
    auto* headersLayout = new QVBoxLayout(headers);
    cmdSelectComments = Support::NewButton(headers, QStringLiteral("cmdSelectComments"), QString());
    cmdSelectComments->setToolTip(QStringLiteral("Comments of the file or function"));
    txtHeader = Support::NewEditor(headers, QStringLiteral("txtHeader"));
    headersLayout->addWidget(cmdSelectComments, 0, Qt::AlignLeft);
    headersLayout->addWidget(txtHeader, 1);
    SSTab1->addTab(headers, QStringLiteral("Headers"));

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
        {lblInicializacion, "lblInicializacion",
         "Module initializations (definition and external declarations to the function):",
         "Code to be put inside the initialization area", txtInicializacion, "txtInicializacion",
         "Initialization"},
        {lblAcciones, "lblAcciones", "Actions to be executed before to process a state.",
         "Actions executed into the fsm-function before analyze the state.", txtBeforeAction,
         "txtBeforeAction", "PreProcess"},
        {Label3, "Label3",
         "Executed in the case that the dispatcher points to a invalid state. (included to be MISRA compliance).",
         "Never is reached except if the user modify directly the internal state index, this exist only to be MISRA compliance and only works for switch case models.",
         txtDefault, "txtDefault", "DefaultCase"},
        {Label1, "Label1", "Actions to be executed after process a state.",
         "Actions executed into the fsm-function after analyze the state.", txtAfterAction,
         "txtAfterAction", "PostProcess"},
        {Label2, "Label2",
         "Code area located in the bottom of the module (outside of the FSM-Function)",
         "This is the user functions implementation area", txtFinalAction, "txtFinalAction",
         "ExtraCode"},
    };
    for (const TextTab& t : tabs) {
        auto* tab = new QWidget(SSTab1);
        auto* tabLayout = new QVBoxLayout(tab);
        t.label = NewLabel(tab, QLatin1String(t.labelName), QLatin1String(t.caption),
                           QLatin1String(t.toolTip));
        t.editor = Support::NewEditor(tab, QLatin1String(t.editorName));
        tabLayout->addWidget(t.label);
        tabLayout->addWidget(t.editor, 1);
        SSTab1->addTab(tab, QLatin1String(t.title));
    }
    SSTab1->addTab(optionsTab(), QStringLiteral("Options"));

    auto* bottom = new QHBoxLayout;
    frmSubEstados = new QGroupBox(QStringLiteral("SubStates"), this);
    frmSubEstados->setObjectName(QStringLiteral("frmSubEstados"));
    auto* childLayout = new QHBoxLayout(frmSubEstados);
    cmbEnlaces = new QComboBox(frmSubEstados);
    cmbEnlaces->setObjectName(QStringLiteral("cmbEnlaces"));
    cmdEnlace = Support::NewButton(frmSubEstados, QStringLiteral("cmdEnlace"),
                                   QStringLiteral("Open Child_FSM"));
    childLayout->addWidget(cmbEnlaces, 1);
    childLayout->addWidget(cmdEnlace);
    bottom->addWidget(frmSubEstados, 1);
    auto* buttons = new QVBoxLayout;
    addOkCancel(buttons);
    bottom->addLayout(buttons);
    layout->addLayout(bottom);

    connect(cmdEnlace, &QPushButton::clicked, this,
            [this] { openChild(m_parientes, cmbEnlaces->currentText()); });
    connect(cmdSelectComments, &QPushButton::clicked, this, &frmPropFSM::switchHeader);
    connect(cmdFillColor, &QPushButton::clicked, this, &frmPropFSM::onFillColour);
    connect(cmdForeColor, &QPushButton::clicked, this, &frmPropFSM::onForeColour);
    connect(cmdResetColor, &QPushButton::clicked, this, &frmPropFSM::onResetColours);

    Support::WireEditor(txtHeader, m_options, m_doc, m_repositoryBusy, [this] { commitHeader(); },
                        false);
    for (CodeEditor* e : {txtInicializacion, txtBeforeAction, txtDefault, txtAfterAction,
                          txtFinalAction})
        Support::WireEditor(e, m_options, m_doc, m_repositoryBusy, [this, e] {
            if (!m_repositoryBusy)
                Support::TidyEditorText(e, false);
        });
}

QWidget* frmPropFSM::optionsTab()
{
    auto* tab = new QWidget(SSTab1);
    auto* l = new QVBoxLayout(tab);
    chkGenFuncInit = NewCheck(tab, QStringLiteral("chkGenFuncInit"), QString(),
                              QStringLiteral("Exported function that restart the FSM"));
    chkGenFuncEnd = NewCheck(tab, QStringLiteral("chkGenFuncEnd"), QString(),
                             QStringLiteral("Exported function that confirm if a final node has been reached"));
    chkGenDebugInfo = NewCheck(
        tab, QStringLiteral("chkGenDebugInfo"),
        QStringLiteral("Generate debug Info: \"FSM_NAME(), FSM_STATE_NAME()  and  FSM_TRANS_NUMBER()\""),
        QStringLiteral("Macro that returns a string with the name of the state"));
    chkAnsiComment = NewCheck(tab, QStringLiteral("chkAnsiComment"),
                              QStringLiteral("Generate comments in ANSI-C style (/* */)"),
                              QStringLiteral("Change the comments // to /* */"));
    chkTextBoxesInCode = NewCheck(tab, QStringLiteral("chkTextBoxesInCode"),
                                  QStringLiteral("Print text boxes into the code"),
                                  QStringLiteral("The tex boxes data will be printed in the c code as comments"));
    chkHistoryFsm = NewCheck(
        tab, QStringLiteral("chkHistoryFsm"), QStringLiteral("History FSM"),
        QStringLiteral("This Fsm will remember the last state always that returns to be processed."));
    lblHierarchicalOnly = NewLabel(tab, QStringLiteral("lblHierarchicalOnly"),
                                   QStringLiteral("Optimization parameters for hierarchical generation:"));
    chkUseBitFields = NewCheck(tab, QStringLiteral("chkUseBitFields"),
                               QStringLiteral("Use bitfields to save RAM (to codify entry flags)"),
                               QStringLiteral("Store the entry flags in bitfields to save RAM."));
    chkUseMacros = NewCheck(
        tab, QStringLiteral("chkUseMacros"),
        QStringLiteral("Generate the functions: '_Init()', '_End()', '_IsIn_()' && '_Goto_()'  as private macros "),
        QStringLiteral("The hierarchical handling apis can be generated as local macros to optimizate in speed."));
    for (QWidget* w : std::initializer_list<QWidget*>{chkGenFuncInit, chkGenFuncEnd, chkGenDebugInfo,
                                                      chkAnsiComment, chkTextBoxesInCode,
                                                      chkHistoryFsm, lblHierarchicalOnly,
                                                      chkUseBitFields, chkUseMacros})
        l->addWidget(w);
    auto* colours = new QHBoxLayout;
    cmdFillColor = Support::NewButton(tab, QStringLiteral("cmdFillColor"), QStringLiteral("State Fill Color"));
    cmdForeColor = Support::NewButton(tab, QStringLiteral("cmdForeColor"), QStringLiteral("State Fore Color"));
    cmdResetColor = Support::NewButton(tab, QStringLiteral("cmdResetColor"), QStringLiteral("Reset Colors"));
    colours->addWidget(cmdFillColor);
    colours->addWidget(cmdForeColor);
    colours->addWidget(cmdResetColor);
    colours->addStretch(1);
    l->addLayout(colours);
    l->addStretch(1);
    return tab;
}

void frmPropFSM::load()
{
    const Diagram& d = m_doc.diagram();
    m_readOnly = d.readOnly();
    Support::SetBackground(txtNombreFSM, Support::kReadOnlyBack);
    cmdValidar->setEnabled(!m_readOnly);
    Support::LockLineEdit(txtParametrosFSM, m_readOnly);
    for (CodeEditor* e : {txtHeader, txtInicializacion, txtBeforeAction, txtDefault, txtAfterAction,
                          txtFinalAction}) {
        Support::LockEditor(e, m_readOnly);
        if (m_options)
            m_options->GetConfig(*e);
    }
    for (QWidget* w : flagBoxes())
        w->setEnabled(!m_readOnly);
    for (QWidget* w : {cmdFillColor, cmdForeColor, cmdResetColor})
        w->setEnabled(!m_readOnly);

    txtNombreFSM->setText(Grafo::GetGraphField(Grafo::kGraphName, d));
    txtParametrosFSM->setText(Grafo::GetGraphField(Grafo::kGraphParams, d));
    txtInicializacion->SetText(Grafo::GetGraphField(Grafo::kGraphInit, d));
    txtBeforeAction->SetText(Grafo::GetGraphField(Grafo::kGraphBefore, d));
    txtDefault->SetText(Grafo::GetGraphField(Grafo::kGraphDefault, d));
    txtAfterAction->SetText(Grafo::GetGraphField(Grafo::kGraphAfter, d));
    txtFinalAction->SetText(Grafo::GetGraphField(Grafo::kGraphFinal, d));
    m_moduleHeader = Grafo::GetGraphField(Grafo::kGraphModuleHeader, d);
    m_functionHeader = Grafo::GetGraphField(Grafo::kGraphFunctionHeader, d);
    m_headerSelector = false;
    switchHeader();
    lblVersion->setText(QStringLiteral("FSM Signature: ") + Grafo::GetGraphField(Grafo::kGraphSignature, d));

    const QString name = txtNombreFSM->text().trimmed();
    chkGenFuncInit->setText(QStringLiteral("Generate a restart function: ") + name + QStringLiteral("_Init()"));
    chkGenFuncEnd->setText(QStringLiteral("Generate a final node reached confirmation: ") + name
                           + QStringLiteral("_End()"));
    const auto boxes = flagBoxes();
    for (int i = 0; i < kFlagCount; ++i)
        boxes[size_t(i)]->setChecked(m_doc.*kFlags[i]);

    m_snapshot = shownValues();
    m_loaded = true;
}

void frmPropFSM::fillChildList()
{
    cmbEnlaces->clear();
    // A diagram that was never saved has no folder to hold children.
    if (!m_doc.sFullDocname.isEmpty()) {
        m_parientes.Reset(m_doc.sFullDocname);
        m_parientes.BuscaTodosEnlaces(m_doc.diagram());
        for (int i = 1; i <= m_parientes.DimeNumeroHijos(); ++i)
            cmbEnlaces->addItem(m_parientes.DimeHijo(i));
    }
    const bool any = cmbEnlaces->count() > 0;
    if (any)
        cmbEnlaces->setCurrentIndex(0);
    frmSubEstados->setHidden(!any);
    cmbEnlaces->setHidden(!any);
    cmdEnlace->setHidden(!any);
}

std::array<QCheckBox*, frmPropFSM::kFlagCount> frmPropFSM::flagBoxes() const
{
    return {chkGenFuncInit, chkGenFuncEnd, chkGenDebugInfo, chkAnsiComment,
            chkTextBoxesInCode, chkHistoryFsm, chkUseBitFields, chkUseMacros};
}

frmPropFSM::Values frmPropFSM::shownValues() const
{
    Values v;
    v.params = txtParametrosFSM->text();
    v.init = txtInicializacion->Text();
    v.before = txtBeforeAction->Text();
    v.defaultAction = txtDefault->Text();
    v.after = txtAfterAction->Text();
    v.finalActions = txtFinalAction->Text();
    v.moduleHeader = m_moduleHeader;
    v.functionHeader = m_functionHeader;
    const auto boxes = flagBoxes();
    for (int i = 0; i < kFlagCount; ++i)
        v.flags[size_t(i)] = boxes[size_t(i)]->checkState() == Qt::Checked;
    return v;
}

void frmPropFSM::commitHeader()
{
    const QString text = modLib_StringHandling::ExpandTabs(txtHeader->Text(), 4);
    (m_headerSelector ? m_moduleHeader : m_functionHeader) = text;
}

void frmPropFSM::switchHeader()
{
    // What is typed in the shown header is kept before the other one shows.
    if (m_loaded)
        commitHeader();
    m_headerSelector = !m_headerSelector;
    txtHeader->SetText(m_headerSelector ? m_moduleHeader : m_functionHeader);
    cmdSelectComments->setText(m_headerSelector ? QStringLiteral("This is the module header")
                                                : QStringLiteral("This is the function header"));
}

void frmPropFSM::onOk()
{
    if (m_readOnly) {
        accept();
        return;
    }
    commitHeader();
    const Values shown = shownValues();
    if (!(shown == m_snapshot)) {
        Diagram& d = m_doc.diagram();
        Grafo::SetGraphInfo(d, txtNombreFSM->text(), shown.params, shown.init, shown.before,
                            shown.defaultAction, shown.after, shown.finalActions, Grafo::kSignature,
                            Grafo::GetGraphField(Grafo::kGraphOptions, d), shown.moduleHeader,
                            shown.functionHeader);
        for (int i = 0; i < kFlagCount; ++i)
            m_doc.*kFlags[i] = shown.flags[size_t(i)];
        d.setChanged(true);
        modNodoEstado::SetHistoryMark(m_doc, nullptr);
    }
    accept();
}


// A cancelled colour dialog changes nothing.
void frmPropFSM::onFillColour()
{
    Diagram& d = m_doc.diagram();
    const QColor chosen = QColorDialog::getColor(FromColorRef(d.defaultFillColor()), this);
    if (!chosen.isValid())
        return;
    ChooserColour() = chosen;
    d.setDefaultFillColor(ToColorRef(chosen));
    modNodoEstado::ApplyDefaultColours(d);
}

void frmPropFSM::onForeColour()
{
    Diagram& d = m_doc.diagram();
    const QColor chosen = QColorDialog::getColor(ChooserColour(), this);
    if (!chosen.isValid())
        return;
    ChooserColour() = chosen;
    d.setDefaultForeColor(ToColorRef(chosen));
    modNodoEstado::ApplyDefaultColours(d);
}

void frmPropFSM::onResetColours()
{
    Diagram& d = m_doc.diagram();
    d.setDefaultFillColor(kResetFill);
    d.setDefaultForeColor(kResetFore);
    modNodoEstado::ApplyDefaultColours(d);
}

bool frmPropFSM::Buscar(FindMatcher& matcher, const QString& findWhat, const QString& replaceWith,
                        bool caseSensitive)
{
    QString params = txtParametrosFSM->text();
    bool go = matcher.busqueda(QStringLiteral("FSM properties: Parameters"), params, findWhat,
                               replaceWith, caseSensitive, m_readOnly);
    if (go)
        txtParametrosFSM->setText(params);
    const std::pair<CodeEditor*, const char*> fields[] = {
        {txtInicializacion, "FSM properties: Initialization"},
        {txtBeforeAction, "FSM properties: Actions before dispatcher"},
        {txtDefault, "FSM properties: Default actions on index error"},
        {txtAfterAction, "FSM properties: Actions after dispatcher"},
        {txtFinalAction, "FSM properties: Ending actions"},
    };
    for (const auto& [editor, caption] : fields) {
        if (!go)
            break;
        QString text = editor->Text();
        go = matcher.busqueda(QLatin1String(caption), text, findWhat, replaceWith, caseSensitive,
                              m_readOnly);
        if (go)
            editor->SetText(text);
    }
    finishSearch();
    return go;
}

}  // namespace orvane
