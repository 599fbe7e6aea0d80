#include "frmPropTransicion.h"

#include "CodeEditor.h"
#include "FsmDocument.h"
#include "clsLib_OptCMax.h"
#include "modFsmOrder.h"
#include "modNodoEstado.h"
#include "modNodoTransicion.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace orvane {

namespace {
namespace Support = PropertyDialogSupport;
namespace Trans = modNodoTransicion;

const QString kSection = QStringLiteral("PropTrans");
constexpr int kDefaultHeight = 6735;
constexpr int kDefaultWidth = 8505;
constexpr int kMaxPriority = 9999;

const QString kY = QStringLiteral("Y");
const QString kN = QStringLiteral("N");

// True when another transition leaving `source` must already be the last.
bool OtherMustBeLast(const Node* source, const Node* self)
{
    if (!source)
        return false;
    for (const Link* l : source->outLinks()) {
        const Node* t = l->dst();
        if (t != self && Trans::IsTransitionNode(t)
            && Trans::GetTransitionField(Trans::kTransLast, t) == kY)
            return true;
    }
    return false;
}
}  // namespace

frmPropTransicion::frmPropTransicion(FsmDocument& doc, clsLib_OptCMax* options,
                                     DialogAsker* asker, QWidget* parent)
    : PropertyDialog(doc, options, asker, parent, kSection, kDefaultHeight, kDefaultWidth),
      m_node(doc.diagram().currentNode())
{
    if (m_node && !Trans::IsTransitionNode(m_node))
        m_node = nullptr;
    buildUi();
    load();
}

frmPropTransicion::~frmPropTransicion() = default;

int frmPropTransicion::Open(FsmDocument& doc, clsLib_OptCMax* options, QWidget* parent)
{
    return OpenPropertyDialog<frmPropTransicion>(doc, options, parent, nullptr);
}

bool frmPropTransicion::Buscar(FsmDocument& doc, FindMatcher& matcher, const QString& findWhat,
                               const QString& replaceWith, bool caseSensitive, DialogAsker* asker)
{
    return SearchPropertyDialog<frmPropTransicion>(doc, matcher, findWhat, replaceWith,
                                                   caseSensitive, asker);
}

Node* frmPropTransicion::source() const
{
    return m_node && !m_node->inLinks().empty() ? m_node->inLinks().front()->org() : nullptr;
}

void frmPropTransicion::buildUi()
{
    setObjectName(QStringLiteral("frmPropTransicion"));
    setWindowTitle(QStringLiteral("Transition properties"));
    auto* layout = new QVBoxLayout(this);

    auto* top = new QFormLayout;
    txtPrioridad = new QLineEdit(this);
    txtPrioridad->setObjectName(QStringLiteral("txtPrioridad"));
    txtPrioridad->setToolTip(QStringLiteral("Priority among the transitions of the state (1 is tested first)"));
    top->addRow(QStringLiteral("Priority:"), txtPrioridad);
    chkMustBeLast = new QCheckBox(QStringLiteral("Must be the last transition of the state"), this);
    chkMustBeLast->setObjectName(QStringLiteral("chkMustBeLast"));
    chkSelfTransition =
        new QCheckBox(QStringLiteral("Self transition (exit and entry actions are executed)"), this);
    chkSelfTransition->setObjectName(QStringLiteral("chkSelfTransition"));
    top->addRow(chkMustBeLast);
    top->addRow(chkSelfTransition);
    layout->addLayout(top);

    SSTab1 = new QTabWidget(this);
    SSTab1->setObjectName(QStringLiteral("SSTab1"));
    txtCondicion = Support::NewEditor(SSTab1, QStringLiteral("txtCondicion"));
    txtAccion = Support::NewEditor(SSTab1, QStringLiteral("txtAccion"));
    SSTab1->addTab(txtCondicion, QStringLiteral("Condition"));
    SSTab1->addTab(txtAccion, QStringLiteral("Action"));
    layout->addWidget(SSTab1, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    addOkCancel(buttons);
    layout->addLayout(buttons);

    txtPrioridad->installEventFilter(this);
    connect(chkMustBeLast, &QCheckBox::clicked, this, &frmPropTransicion::onMustBeLastClicked);
    for (CodeEditor* e : {txtCondicion, txtAccion})
        Support::WireEditor(e, m_options, m_doc, m_repositoryBusy, [this, e] {
            if (!m_repositoryBusy)
                Support::TidyEditorText(e, true);
        });
}

void frmPropTransicion::load()
{
    restoreSize();
    m_readOnly = m_doc.diagram().readOnly() || !m_node;
    cmdValidar->setEnabled(!m_readOnly);
    Support::LockLineEdit(txtPrioridad, m_readOnly);
    for (CodeEditor* e : {txtCondicion, txtAccion}) {
        Support::LockEditor(e, m_readOnly);
        if (m_options)
            m_options->GetConfig(*e);
    }
    chkSelfTransition->setEnabled(!m_readOnly);

    txtPrioridad->setText(Trans::GetTransitionField(Trans::kTransPriority, m_node));
    txtCondicion->SetText(Trans::GetTransitionField(Trans::kTransCondition, m_node));
    txtAccion->SetText(Trans::GetTransitionField(Trans::kTransAction, m_node));

    const Node* destination =
        m_node && !m_node->outLinks().empty() ? m_node->outLinks().front()->dst() : nullptr;
    chkSelfTransition->setHidden(!(source() && source() == destination));
    chkSelfTransition->setChecked(Trans::GetTransitionField(Trans::kTransSelf, m_node) != kN);
    chkMustBeLast->setEnabled(!m_readOnly && !OtherMustBeLast(source(), m_node));
    chkMustBeLast->setChecked(Trans::GetTransitionField(Trans::kTransLast, m_node) == kY);

    m_loadedPriority = txtPrioridad->text();
    m_snapshot = shownValues();
}

frmPropTransicion::Values frmPropTransicion::shownValues() const
{
    return {txtPrioridad->text(), txtCondicion->Text(), txtAccion->Text(),
            chkSelfTransition->isChecked(), chkMustBeLast->isChecked()};
}

void frmPropTransicion::apply()
{
    Trans::Configura_Nodo_Transicion(m_doc, txtPrioridad->text(), txtCondicion->Text(),
                                     txtAccion->Text(), chkSelfTransition->isChecked() ? kY : kN,
                                     chkMustBeLast->isChecked() ? kY : kN, m_node);
}

bool frmPropTransicion::ValidarPrioridad(bool force)
{
    const double value = modFsmOrder::LenientNumber(txtPrioridad->text());
    if (value < 1 || value > kMaxPriority) {
        asker().message(QStringLiteral("Illegal priority, try other different"));
        txtPrioridad->setFocus();
        return false;
    }
    if (!force && txtPrioridad->text() == m_loadedPriority)
        return true;
    if (!m_setByMustBeLast
        && !asker().askOkCancel(QStringLiteral("This can reorganize all priorities of this node"),
                                 QStringLiteral("The priority has changed"))) {
        txtPrioridad->setText(m_loadedPriority);
        return true;
    }
    m_setByMustBeLast = false;
    apply();
    Trans::RenumberPriorities(m_doc, source(), m_node);
    txtPrioridad->setText(Trans::GetTransitionField(Trans::kTransPriority, m_node));
    m_loadedPriority = txtPrioridad->text();
    return true;
}

void frmPropTransicion::onMustBeLastClicked(bool checked)
{
    if (!checked || m_readOnly)
        return;
    txtPrioridad->setText(QString::number(kMaxPriority));
    m_setByMustBeLast = true;
    ValidarPrioridad(true);
}

void frmPropTransicion::onOk()
{
    if (m_readOnly) {
        accept();
        return;
    }
    // A priority typed but never left goes through the same check.
    if (txtPrioridad->text() != m_loadedPriority && !ValidarPrioridad())
        return;
    if (!(shownValues() == m_snapshot))
        apply();
    accept();
}

bool frmPropTransicion::Buscar(FindMatcher& matcher, const QString& findWhat,
                               const QString& replaceWith, bool caseSensitive)
{
    const QString head = QStringLiteral("Transition(") + txtPrioridad->text()
                         + QStringLiteral(") from [")
                         + modNodoEstado::GetStateField(modNodoEstado::kStateName, source())
                         + QStringLiteral("]: ");
    bool go = true;
    for (const auto& [editor, label] : {std::pair{txtCondicion, "Condition"},
                                        std::pair{txtAccion, "Actions "}}) {
        QString text = editor->Text();
        go = matcher.busqueda(head + QLatin1String(label), text, findWhat, replaceWith,
                              caseSensitive, m_readOnly);
        if (!go)
            break;
        editor->SetText(text);
    }
    finishSearch();
    return go;
}

bool frmPropTransicion::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == txtPrioridad && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            SSTab1->setCurrentWidget(txtCondicion);
            txtCondicion->setFocus(Qt::TabFocusReason);
            return true;
        }
    } else if (watched == txtPrioridad && isFieldLeave(event)) {
        ValidarPrioridad();
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace orvane
