#include "TransitionDialog.h"

#include "CodeEditor.h"
#include "FsmDocument.h"
#include "CodeEditorOptions.h"
#include "Ranking.h"
#include "States.h"
#include "Transitions.h"

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

const QString kSection = QStringLiteral("PropTrans");
constexpr int kDefaultHeight = 6735;
constexpr int kDefaultWidth = 8505;
constexpr int kMaxPriority = 9999;

const QString kY = QStringLiteral("Y");
const QString kN = QStringLiteral("N");

// True when another transition leaving `source` must already be the last.
bool otherMustBeLast(const Node* source, const Node* self)
{
    if (!source)
        return false;
    for (const Link* l : source->outLinks()) {
        const Node* t = l->dst();
        if (t != self && Transitions::isTransitionNode(t) && transitionRecord(t).lastFlag == kY)
            return true;
    }
    return false;
}
}  // namespace

TransitionDialog::TransitionDialog(FsmDocument& doc, CodeEditorOptions* options, DialogAsker* asker,
                                   QWidget* parent)
    : PropertyDialog(doc, options, asker, parent, kSection, kDefaultHeight, kDefaultWidth),
      m_node(doc.diagram().currentNode())
{
    if (m_node && !Transitions::isTransitionNode(m_node))
        m_node = nullptr;
    buildUi();
    load();
}

TransitionDialog::~TransitionDialog() = default;

int TransitionDialog::edit(FsmDocument& doc, CodeEditorOptions* options, QWidget* parent)
{
    return openPropertyDialog<TransitionDialog>(doc, options, parent, nullptr);
}

bool TransitionDialog::search(FsmDocument& doc, FindMatcher& matcher, const QString& findWhat,
                              const QString& replaceWith, bool caseSensitive, DialogAsker* asker)
{
    return searchPropertyDialog<TransitionDialog>(doc, matcher, findWhat, replaceWith,
                                                  caseSensitive, asker);
}

Node* TransitionDialog::source() const
{
    return m_node && !m_node->inLinks().empty() ? m_node->inLinks().front()->org() : nullptr;
}

void TransitionDialog::buildUi()
{
    setObjectName(QStringLiteral("TransitionDialog"));
    setWindowTitle(QStringLiteral("Transition properties"));
    auto* layout = new QVBoxLayout(this);

    auto* top = new QFormLayout;
    m_priorityEdit = new QLineEdit(this);
    m_priorityEdit->setObjectName(QStringLiteral("priorityEdit"));
    m_priorityEdit->setToolTip(
        QStringLiteral("Priority among the transitions of the state (1 is tested first)"));
    top->addRow(QStringLiteral("Priority:"), m_priorityEdit);
    m_mustBeLastBox =
        new QCheckBox(QStringLiteral("Must be the last transition of the state"), this);
    m_mustBeLastBox->setObjectName(QStringLiteral("mustBeLastBox"));
    m_selfTransitionBox = new QCheckBox(
        QStringLiteral("Self transition (exit and entry actions are executed)"), this);
    m_selfTransitionBox->setObjectName(QStringLiteral("selfTransitionBox"));
    top->addRow(m_mustBeLastBox);
    top->addRow(m_selfTransitionBox);
    layout->addLayout(top);

    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("tabs"));
    m_conditionEdit = Support::newEditor(m_tabs, QStringLiteral("conditionEdit"));
    m_actionEdit = Support::newEditor(m_tabs, QStringLiteral("actionEdit"));
    m_tabs->addTab(m_conditionEdit, QStringLiteral("Condition"));
    m_tabs->addTab(m_actionEdit, QStringLiteral("Action"));
    layout->addWidget(m_tabs, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    addOkCancel(buttons);
    layout->addLayout(buttons);

    m_priorityEdit->installEventFilter(this);
    connect(m_mustBeLastBox, &QCheckBox::clicked, this, &TransitionDialog::onMustBeLastClicked);
    for (CodeEditor* e : {m_conditionEdit, m_actionEdit})
        Support::wireEditor(e, m_options, m_doc, m_repositoryBusy, [this, e] {
            if (!m_repositoryBusy)
                Support::tidyEditorText(e, true);
        });
}

void TransitionDialog::load()
{
    restoreSize();
    m_readOnly = m_doc.diagram().readOnly() || !m_node;
    m_okButton->setEnabled(!m_readOnly);
    Support::lockLineEdit(m_priorityEdit, m_readOnly);
    for (CodeEditor* e : {m_conditionEdit, m_actionEdit}) {
        Support::lockEditor(e, m_readOnly);
        if (m_options)
            m_options->getConfig(*e);
    }
    m_selfTransitionBox->setEnabled(!m_readOnly);

    m_priorityEdit->setText(transitionRecord(m_node).priority);
    m_conditionEdit->setCode(transitionRecord(m_node).condition);
    m_actionEdit->setCode(transitionRecord(m_node).action);

    const Node* destination =
        m_node && !m_node->outLinks().empty() ? m_node->outLinks().front()->dst() : nullptr;
    m_selfTransitionBox->setHidden(!(source() && source() == destination));
    m_selfTransitionBox->setChecked(transitionRecord(m_node).selfFlag != kN);
    m_mustBeLastBox->setEnabled(!m_readOnly && !otherMustBeLast(source(), m_node));
    m_mustBeLastBox->setChecked(transitionRecord(m_node).lastFlag == kY);

    m_loadedPriority = m_priorityEdit->text();
    m_snapshot = shownValues();
}

TransitionDialog::Values TransitionDialog::shownValues() const
{
    return {m_priorityEdit->text(), m_conditionEdit->code(), m_actionEdit->code(),
            m_selfTransitionBox->isChecked(), m_mustBeLastBox->isChecked()};
}

void TransitionDialog::apply()
{
    Transitions::configureTransition(m_doc,
                                     TransitionRecord{m_priorityEdit->text(),
                                                      m_conditionEdit->code(), m_actionEdit->code(),
                                                      m_selfTransitionBox->isChecked() ? kY : kN,
                                                      m_mustBeLastBox->isChecked() ? kY : kN},
                                     m_node);
}

bool TransitionDialog::validatePriority(bool force)
{
    const double value = Ranking::lenientNumber(m_priorityEdit->text());
    if (value < 1 || value > kMaxPriority) {
        asker().message(QStringLiteral("Illegal priority, try other different"));
        m_priorityEdit->setFocus();
        return false;
    }
    if (!force && m_priorityEdit->text() == m_loadedPriority)
        return true;
    if (!m_setByMustBeLast
        && !asker().askOkCancel(QStringLiteral("This can reorganize all priorities of this node"),
                                QStringLiteral("The priority has changed"))) {
        m_priorityEdit->setText(m_loadedPriority);
        return true;
    }
    m_setByMustBeLast = false;
    apply();
    Transitions::renumberPriorities(m_doc, source(), m_node);
    m_priorityEdit->setText(transitionRecord(m_node).priority);
    m_loadedPriority = m_priorityEdit->text();
    return true;
}

void TransitionDialog::onMustBeLastClicked(bool checked)
{
    if (!checked || m_readOnly)
        return;
    m_priorityEdit->setText(QString::number(kMaxPriority));
    m_setByMustBeLast = true;
    validatePriority(true);
}

void TransitionDialog::onOk()
{
    if (m_readOnly) {
        accept();
        return;
    }
    // A priority typed but never left goes through the same check.
    if (m_priorityEdit->text() != m_loadedPriority && !validatePriority())
        return;
    if (!(shownValues() == m_snapshot))
        apply();
    accept();
}

bool TransitionDialog::search(FindMatcher& matcher, const QString& findWhat,
                              const QString& replaceWith, bool caseSensitive)
{
    const QString head = QStringLiteral("Transition(") + m_priorityEdit->text()
                         + QStringLiteral(") from [") + stateRecord(source()).name
                         + QStringLiteral("]: ");
    bool go = true;
    for (const auto& [editor, label] :
         {std::pair{m_conditionEdit, "Condition"}, std::pair{m_actionEdit, "Actions "}}) {
        QString text = editor->code();
        go = matcher.showMatch(head + QLatin1String(label), text, findWhat, replaceWith,
                               caseSensitive, m_readOnly);
        if (!go)
            break;
        editor->setCode(text);
    }
    finishSearch();
    return go;
}

bool TransitionDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_priorityEdit && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            m_tabs->setCurrentWidget(m_conditionEdit);
            m_conditionEdit->setFocus(Qt::TabFocusReason);
            return true;
        }
    } else if (watched == m_priorityEdit && isFieldLeave(event)) {
        validatePriority();
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace orvane
