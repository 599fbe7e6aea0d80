#include "frmPropNodo.h"

#include "CodeEditor.h"
#include "FsmDocument.h"
#include "clsLib_OptCMax.h"
#include "modFsmOrder.h"
#include "modGrafoInfo.h"
#include "modLib_StringHandling.h"
#include "modNodoEstado.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace orvane {

namespace {
namespace Support = PropertyDialogSupport;
namespace Estado = modNodoEstado;

const QString kSection = QStringLiteral("PropNode");
constexpr int kDefaultHeight = 7545;
constexpr int kDefaultWidth = 8505;
constexpr int kMaxIndex = 9999;

const QString kY = QStringLiteral("Y");
const QString kN = QStringLiteral("N");
}  // namespace

frmPropNodo::frmPropNodo(FsmDocument& doc, clsLib_OptCMax* options, DialogAsker* asker,
                         QWidget* parent)
    : PropertyDialog(doc, options, asker, parent, kSection, kDefaultHeight, kDefaultWidth),
      m_node(doc.diagram().currentNode())
{
    if (m_node && !Estado::IsStateNode(m_node))
        m_node = nullptr;
    buildUi();
    load();
}

frmPropNodo::~frmPropNodo() = default;

int frmPropNodo::Open(FsmDocument& doc, clsLib_OptCMax* options, QWidget* parent,
                      QString& pendingDocument)
{
    return OpenPropertyDialog<frmPropNodo>(doc, options, parent, &pendingDocument);
}

bool frmPropNodo::Buscar(FsmDocument& doc, FindMatcher& matcher, const QString& findWhat,
                         const QString& replaceWith, bool caseSensitive, DialogAsker* asker)
{
    return SearchPropertyDialog<frmPropNodo>(doc, matcher, findWhat, replaceWith, caseSensitive,
                                             asker);
}

void frmPropNodo::buildUi()
{
    setObjectName(QStringLiteral("frmPropNodo"));
    setWindowTitle(QStringLiteral("State properties"));
    auto* layout = new QVBoxLayout(this);

    SSTab1 = new QTabWidget(this);
    SSTab1->setObjectName(QStringLiteral("SSTab1"));
    layout->addWidget(SSTab1, 1);

    auto* stateTab = new QWidget(SSTab1);
    auto* stateLayout = new QVBoxLayout(stateTab);
    auto* form = new QFormLayout;
    txtIndice = new QLineEdit(stateTab);
    txtIndice->setObjectName(QStringLiteral("txtIndice"));
    txtIndice->setToolTip(QStringLiteral("Index of the state (1 to 9999)"));
    txtNombre = new QLineEdit(stateTab);
    txtNombre->setObjectName(QStringLiteral("txtNombre"));
    txtNombre->setToolTip(QStringLiteral("Name of the state"));
    form->addRow(QStringLiteral("Index:"), txtIndice);
    form->addRow(QStringLiteral("Name:"), txtNombre);
    stateLayout->addLayout(form);

    frmTipoNodo = new QGroupBox(QStringLiteral("State type"), stateTab);
    frmTipoNodo->setObjectName(QStringLiteral("frmTipoNodo"));
    auto* kindLayout = new QHBoxLayout(frmTipoNodo);
    optNodoInicial = new QRadioButton(QStringLiteral("Initial"), frmTipoNodo);
    optNodoInicial->setObjectName(QStringLiteral("optNodoInicial"));
    optNodoFinal = new QRadioButton(QStringLiteral("Final"), frmTipoNodo);
    optNodoFinal->setObjectName(QStringLiteral("optNodoFinal"));
    optNodoNormal = new QRadioButton(QStringLiteral("Normal"), frmTipoNodo);
    optNodoNormal->setObjectName(QStringLiteral("optNodoNormal"));
    kindLayout->addWidget(optNodoInicial);
    kindLayout->addWidget(optNodoFinal);
    kindLayout->addWidget(optNodoNormal);
    stateLayout->addWidget(frmTipoNodo);

    chkGenFunctionIsIn = new QCheckBox(stateTab);
    chkGenFunctionIsIn->setObjectName(QStringLiteral("chkGenFunctionIsIn"));
    chkGenFunctionGoto = new QCheckBox(stateTab);
    chkGenFunctionGoto->setObjectName(QStringLiteral("chkGenFunctionGoto"));
    stateLayout->addWidget(chkGenFunctionIsIn);
    stateLayout->addWidget(chkGenFunctionGoto);

    frmSubEstados = new QGroupBox(QStringLiteral("SubStates"), stateTab);
    frmSubEstados->setObjectName(QStringLiteral("frmSubEstados"));
    auto* childLayout = new QHBoxLayout(frmSubEstados);
    cmbEnlaces = new QComboBox(frmSubEstados);
    cmbEnlaces->setObjectName(QStringLiteral("cmbEnlaces"));
    cmdEnlace = Support::NewButton(frmSubEstados, QStringLiteral("cmdEnlace"),
                                   QStringLiteral("Open Child_FSM"));
    childLayout->addWidget(cmbEnlaces, 1);
    childLayout->addWidget(cmdEnlace);
    stateLayout->addWidget(frmSubEstados);
    stateLayout->addStretch(1);
    SSTab1->addTab(stateTab, QStringLiteral("State"));

    txtAccionInput = Support::NewEditor(SSTab1, QStringLiteral("txtAccionInput"));
    txtAccionMoore = Support::NewEditor(SSTab1, QStringLiteral("txtAccionMoore"));
    txtAccionElse = Support::NewEditor(SSTab1, QStringLiteral("txtAccionElse"));
    txtAccionOutput = Support::NewEditor(SSTab1, QStringLiteral("txtAccionOutput"));
    SSTab1->addTab(txtAccionInput, QStringLiteral("Entry actions"));
    SSTab1->addTab(txtAccionMoore, QStringLiteral("During actions"));
    SSTab1->addTab(txtAccionElse, QStringLiteral("Else actions"));
    SSTab1->addTab(txtAccionOutput, QStringLiteral("Exit actions"));

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    addOkCancel(buttons);
    layout->addLayout(buttons);

    txtIndice->installEventFilter(this);
    txtNombre->installEventFilter(this);
    connect(cmdEnlace, &QPushButton::clicked, this,
            [this] { openChild(m_parientes, cmbEnlaces->currentText()); });
    for (CodeEditor* e : {txtAccionInput, txtAccionMoore, txtAccionElse, txtAccionOutput})
        Support::WireEditor(e, m_options, m_doc, m_repositoryBusy, [this, e] { onEditorLeft(e); });
}

void frmPropNodo::load()
{
    restoreSize();
    m_readOnly = m_doc.diagram().readOnly() || !m_node;
    const bool noExit = !m_node || m_node->outLinks().empty();
    cmdValidar->setEnabled(!m_readOnly);
    Support::LockLineEdit(txtIndice, m_readOnly);
    Support::LockLineEdit(txtNombre, m_readOnly);
    for (CodeEditor* e : {txtAccionInput, txtAccionMoore, txtAccionElse})
        Support::LockEditor(e, m_readOnly);
    Support::LockEditor(txtAccionOutput, m_readOnly || noExit);
    for (QWidget* w : std::initializer_list<QWidget*>{optNodoInicial, optNodoFinal, optNodoNormal,
                                                      chkGenFunctionIsIn, chkGenFunctionGoto})
        w->setEnabled(!m_readOnly);

    if (m_options)
        for (CodeEditor* e : {txtAccionInput, txtAccionMoore, txtAccionOutput, txtAccionElse})
            m_options->GetConfig(*e);

    if (m_node) {
        QString index = Estado::GetStateField(Estado::kStateIndex, m_node);
        if (index.isEmpty() && !m_readOnly) {
            Estado::RenumberStateIndices(m_doc, m_node, asker());
            index = Estado::GetStateField(Estado::kStateIndex, m_node);
        }
        txtIndice->setText(index);
        txtNombre->setText(Estado::GetStateField(Estado::kStateName, m_node));
        txtAccionMoore->SetText(Estado::GetStateField(Estado::kStateDuring, m_node));
        txtAccionInput->SetText(Estado::GetStateField(Estado::kStateEntry, m_node));
        txtAccionOutput->SetText(Estado::GetStateField(Estado::kStateExit, m_node));
        txtAccionElse->SetText(Estado::GetStateField(Estado::kStateElse, m_node));
    }

    if (Estado::IsInitialNode(m_node))
        optNodoInicial->setChecked(true);
    else if (Estado::IsFinalNode(m_node))
        optNodoFinal->setChecked(true);
    else
        optNodoNormal->setChecked(true);

    const QString fsmName = modGrafoInfo::GetGraphField(modGrafoInfo::kGraphName, m_doc.diagram());
    const QString name = txtNombre->text();
    chkGenFunctionIsIn->setText(QStringLiteral("Generate the state confirmation: ") + fsmName
                                + QStringLiteral("_IsIn_") + name + QStringLiteral("()"));
    chkGenFunctionIsIn->setChecked(Estado::GetStateField(Estado::kStateIsIn, m_node) == kY);
    chkGenFunctionGoto->setText(QStringLiteral("Generate the state jump: ") + fsmName
                                + QStringLiteral("_Goto_") + name + QStringLiteral("()"));
    chkGenFunctionGoto->setChecked(Estado::GetStateField(Estado::kStateGoto, m_node) == kY);

    m_loadedIndex = txtIndice->text();
    m_snapshot = shownValues();
    fillChildList();
}

void frmPropNodo::fillChildList()
{
    cmbEnlaces->clear();
    m_hasChildren = false;
    // A diagram that was never saved has no folder to hold children.
    if (!m_doc.sFullDocname.isEmpty()) {
        m_parientes.Reset(m_doc.sFullDocname);
        m_parientes.BuscaEnlaces(txtAccionMoore->Text() + QStringLiteral("\r\n")
                                 + txtAccionElse->Text());
        for (int i = 1; i <= m_parientes.DimeNumeroHijos(); ++i)
            cmbEnlaces->addItem(m_parientes.DimeHijo(i));
        m_hasChildren = m_parientes.DimeNumeroHijos() > 0;
    }
    if (m_hasChildren)
        cmbEnlaces->setCurrentIndex(0);
    frmSubEstados->setHidden(!m_hasChildren);
    cmbEnlaces->setHidden(!m_hasChildren);
    cmdEnlace->setHidden(!m_hasChildren);
}

frmPropNodo::Values frmPropNodo::shownValues() const
{
    Values v;
    v.entry = txtAccionInput->Text();
    v.during = txtAccionMoore->Text();
    v.exit = txtAccionOutput->Text();
    v.elseAction = txtAccionElse->Text();
    v.index = txtIndice->text();
    v.name = txtNombre->text();
    v.kind = optNodoInicial->isChecked() ? 0 : optNodoFinal->isChecked() ? 1 : 2;
    v.isIn = chkGenFunctionIsIn->isChecked();
    v.goTo = chkGenFunctionGoto->isChecked();
    return v;
}

qint32 frmPropNodo::kindValue() const
{
    if (optNodoInicial->isChecked())
        return Estado::NODE_STATE_INITIAL;
    if (optNodoFinal->isChecked())
        return Estado::NODE_STATE_FINAL;
    // Judged by the child list itself, not by the button's visibility: the
    // dialog is never shown during find and replace.
    return m_hasChildren ? Estado::NODE_STATE_SUPER : Estado::NODE_STATE_NORMAL;
}

void frmPropNodo::apply()
{
    // The kind follows the calls the actions hold now, also when they were
    // changed without leaving an editor (find and replace).
    fillChildList();
    QString name = txtNombre->text();
    Estado::Configura_Nodo_Estado(m_doc, name, txtAccionMoore->Text(), txtAccionInput->Text(),
                                  txtAccionOutput->Text(), txtAccionElse->Text(), txtIndice->text(),
                                  kindValue(), chkGenFunctionIsIn->isChecked() ? kY : kN,
                                  chkGenFunctionGoto->isChecked() ? kY : kN, m_node, asker());
    txtNombre->setText(name);
}

bool frmPropNodo::nameIsFree() const { return Estado::IsStateNameFree(m_doc, txtNombre->text()); }

bool frmPropNodo::ValidarIndice()
{
    const double value = modFsmOrder::LenientNumber(txtIndice->text());
    if (value < 1 || value > kMaxIndex) {
        txtIndice->clear();
        asker().message(QStringLiteral("Illegal index, try other different"));
        txtIndice->setFocus();
        return false;
    }
    txtIndice->setText(QString::number(modFsmOrder::LenientIndex(txtIndice->text())));
    if (txtIndice->text() == m_loadedIndex)
        return true;
    if (!asker().askOkCancel(QStringLiteral("This can reorganize all index of this diagram"),
                              QStringLiteral("The index has changed"))) {
        txtIndice->setText(m_loadedIndex);
        return true;
    }
    // The change is applied at once, so a name that another state uses
    // would be written too; refuse the change instead.
    NormalizeName();
    if (!nameIsFree()) {
        asker().message(QStringLiteral("The name: ") + txtNombre->text()
                         + QStringLiteral(" is already used"));
        txtIndice->setText(m_loadedIndex);
        return false;
    }
    apply();
    Estado::RenumberStateIndices(m_doc, m_node, asker());
    txtIndice->setText(Estado::GetStateField(Estado::kStateIndex, m_node));
    m_loadedIndex = txtIndice->text();
    return true;
}

void frmPropNodo::NormalizeName()
{
    txtNombre->setText(modLib_StringHandling::SpacesToUnderscore(txtNombre->text().trimmed()));
}

void frmPropNodo::onOk()
{
    if (m_readOnly) {
        accept();
        return;
    }
    // An index typed but never left (the field still has the focus) goes
    // through the same check and question as on leaving it.
    if (txtIndice->text() != m_loadedIndex && !ValidarIndice())
        return;
    NormalizeName();
    if (!nameIsFree()) {
        asker().message(QStringLiteral("The name: ") + txtNombre->text()
                         + QStringLiteral(" is already used"));
        return;
    }
    if (!(shownValues() == m_snapshot))
        apply();
    accept();
}


void frmPropNodo::onEditorLeft(CodeEditor* editor)
{
    if (!m_repositoryBusy)
        Support::TidyEditorText(editor, true);
    fillChildList();
}

bool frmPropNodo::Buscar(FindMatcher& matcher, const QString& findWhat, const QString& replaceWith,
                         bool caseSensitive)
{
    QString name = txtNombre->text();
    bool go = matcher.busqueda(QStringLiteral("State: Name"), name, findWhat, replaceWith,
                               caseSensitive, m_readOnly);
    if (go) {
        const qsizetype cr = name.indexOf(QLatin1Char('\r'));
        txtNombre->setText(cr >= 0 ? name.left(cr) : name);
    }
    const std::pair<CodeEditor*, const char*> fields[] = {
        {txtAccionInput, "Input actions "},
        {txtAccionMoore, "Moore actions "},
        {txtAccionElse, "Else actions "},
        {txtAccionOutput, "Output actions "},
    };
    for (const auto& [editor, label] : fields) {
        if (!go)
            break;
        const QString caption = QStringLiteral("State[") + txtNombre->text() + QStringLiteral("]: ")
                                + QLatin1String(label);
        QString text = editor->Text();
        go = matcher.busqueda(caption, text, findWhat, replaceWith, caseSensitive, m_readOnly);
        if (go)
            editor->SetText(text);
    }
    if (m_readOnly) {
        finishSearch();
        return go;
    }
    // A replaced name that another state already uses would keep the
    // hidden dialog from closing; the state keeps its old name instead.
    NormalizeName();
    if (!nameIsFree()) {
        asker().message(QStringLiteral("The name: ") + txtNombre->text()
                         + QStringLiteral(" is already used"));
        txtNombre->setText(m_snapshot.name);
    }
    onOk();
    return go;
}

bool frmPropNodo::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (watched == txtIndice)
                txtNombre->setFocus(Qt::TabFocusReason);
            else if (watched == txtNombre) {
                SSTab1->setCurrentWidget(txtAccionMoore);
                txtAccionMoore->setFocus(Qt::TabFocusReason);
            }
            return true;
        }
    } else if (isFieldLeave(event)) {
        if (watched == txtIndice)
            ValidarIndice();
        else if (watched == txtNombre)
            NormalizeName();
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace orvane
