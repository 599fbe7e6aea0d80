#include "StateDialog.h"

#include "CodeEditor.h"
#include "FsmDocument.h"
#include "CodeEditorOptions.h"
#include "Ranking.h"
#include "MachineInfo.h"
#include "CodeText.h"
#include "States.h"

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

const QString kSection = QStringLiteral("PropNode");
constexpr int kDefaultHeight = 7545;
constexpr int kDefaultWidth = 8505;
constexpr int kMaxIndex = 9999;

const QString kY = QStringLiteral("Y");
const QString kN = QStringLiteral("N");
}  // namespace

StateDialog::StateDialog(FsmDocument& doc, CodeEditorOptions* options, DialogAsker* asker,
                         QWidget* parent)
    : PropertyDialog(doc, options, asker, parent, kSection, kDefaultHeight, kDefaultWidth),
      m_node(doc.diagram().currentNode())
{
    if (m_node && !States::isStateNode(m_node))
        m_node = nullptr;
    buildUi();
    load();
}

StateDialog::~StateDialog() = default;

int StateDialog::edit(FsmDocument& doc, CodeEditorOptions* options, QWidget* parent,
                      QString& pendingDocument)
{
    return openPropertyDialog<StateDialog>(doc, options, parent, &pendingDocument);
}

bool StateDialog::search(FsmDocument& doc, FindMatcher& matcher, const QString& findWhat,
                         const QString& replaceWith, bool caseSensitive, DialogAsker* asker)
{
    return searchPropertyDialog<StateDialog>(doc, matcher, findWhat, replaceWith, caseSensitive,
                                             asker);
}

void StateDialog::buildUi()
{
    setObjectName(QStringLiteral("StateDialog"));
    setWindowTitle(QStringLiteral("State properties"));
    auto* layout = new QVBoxLayout(this);

    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("tabs"));
    layout->addWidget(m_tabs, 1);

    auto* stateTab = new QWidget(m_tabs);
    auto* stateLayout = new QVBoxLayout(stateTab);
    auto* form = new QFormLayout;
    m_indexEdit = new QLineEdit(stateTab);
    m_indexEdit->setObjectName(QStringLiteral("indexEdit"));
    m_indexEdit->setToolTip(QStringLiteral("Index of the state (1 to 9999)"));
    m_nameEdit = new QLineEdit(stateTab);
    m_nameEdit->setObjectName(QStringLiteral("nameEdit"));
    m_nameEdit->setToolTip(QStringLiteral("Name of the state"));
    form->addRow(QStringLiteral("Index:"), m_indexEdit);
    form->addRow(QStringLiteral("Name:"), m_nameEdit);
    stateLayout->addLayout(form);

    m_kindGroup = new QGroupBox(QStringLiteral("State type"), stateTab);
    m_kindGroup->setObjectName(QStringLiteral("kindGroup"));
    auto* kindLayout = new QHBoxLayout(m_kindGroup);
    m_initialButton = new QRadioButton(QStringLiteral("Initial"), m_kindGroup);
    m_initialButton->setObjectName(QStringLiteral("initialButton"));
    m_finalButton = new QRadioButton(QStringLiteral("Final"), m_kindGroup);
    m_finalButton->setObjectName(QStringLiteral("finalButton"));
    m_normalButton = new QRadioButton(QStringLiteral("Normal"), m_kindGroup);
    m_normalButton->setObjectName(QStringLiteral("normalButton"));
    kindLayout->addWidget(m_initialButton);
    kindLayout->addWidget(m_finalButton);
    kindLayout->addWidget(m_normalButton);
    stateLayout->addWidget(m_kindGroup);

    m_isInFunctionBox = new QCheckBox(stateTab);
    m_isInFunctionBox->setObjectName(QStringLiteral("isInFunctionBox"));
    m_gotoFunctionBox = new QCheckBox(stateTab);
    m_gotoFunctionBox->setObjectName(QStringLiteral("gotoFunctionBox"));
    stateLayout->addWidget(m_isInFunctionBox);
    stateLayout->addWidget(m_gotoFunctionBox);

    m_childrenGroup = new QGroupBox(QStringLiteral("SubStates"), stateTab);
    m_childrenGroup->setObjectName(QStringLiteral("childrenGroup"));
    auto* childLayout = new QHBoxLayout(m_childrenGroup);
    m_childList = new QComboBox(m_childrenGroup);
    m_childList->setObjectName(QStringLiteral("childList"));
    m_openChildButton = Support::newButton(m_childrenGroup, QStringLiteral("openChildButton"),
                                           QStringLiteral("Open Child_FSM"));
    childLayout->addWidget(m_childList, 1);
    childLayout->addWidget(m_openChildButton);
    stateLayout->addWidget(m_childrenGroup);
    stateLayout->addStretch(1);
    m_tabs->addTab(stateTab, QStringLiteral("State"));

    m_entryEdit = Support::newEditor(m_tabs, QStringLiteral("entryEdit"));
    m_duringEdit = Support::newEditor(m_tabs, QStringLiteral("duringEdit"));
    m_elseEdit = Support::newEditor(m_tabs, QStringLiteral("elseEdit"));
    m_exitEdit = Support::newEditor(m_tabs, QStringLiteral("exitEdit"));
    m_tabs->addTab(m_entryEdit, QStringLiteral("Entry actions"));
    m_tabs->addTab(m_duringEdit, QStringLiteral("During actions"));
    m_tabs->addTab(m_elseEdit, QStringLiteral("Else actions"));
    m_tabs->addTab(m_exitEdit, QStringLiteral("Exit actions"));

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    addOkCancel(buttons);
    layout->addLayout(buttons);

    m_indexEdit->installEventFilter(this);
    m_nameEdit->installEventFilter(this);
    connect(m_openChildButton, &QPushButton::clicked, this,
            [this] { openChild(m_children, m_childList->currentText()); });
    for (CodeEditor* e : {m_entryEdit, m_duringEdit, m_elseEdit, m_exitEdit})
        Support::wireEditor(e, m_options, m_doc, m_repositoryBusy, [this, e] { onEditorLeft(e); });
}

void StateDialog::load()
{
    restoreSize();
    m_readOnly = m_doc.diagram().readOnly() || !m_node;
    const bool noExit = !m_node || m_node->outLinks().empty();
    m_okButton->setEnabled(!m_readOnly);
    Support::lockLineEdit(m_indexEdit, m_readOnly);
    Support::lockLineEdit(m_nameEdit, m_readOnly);
    for (CodeEditor* e : {m_entryEdit, m_duringEdit, m_elseEdit})
        Support::lockEditor(e, m_readOnly);
    Support::lockEditor(m_exitEdit, m_readOnly || noExit);
    for (QWidget* w : std::initializer_list<QWidget*>{
             m_initialButton, m_finalButton, m_normalButton, m_isInFunctionBox, m_gotoFunctionBox})
        w->setEnabled(!m_readOnly);

    if (m_options)
        for (CodeEditor* e : {m_entryEdit, m_duringEdit, m_exitEdit, m_elseEdit})
            m_options->getConfig(*e);

    if (m_node) {
        QString index = stateRecord(m_node).index;
        if (index.isEmpty() && !m_readOnly) {
            States::renumberStateIndices(m_doc, m_node, asker());
            index = stateRecord(m_node).index;
        }
        m_indexEdit->setText(index);
        m_nameEdit->setText(stateRecord(m_node).name);
        m_duringEdit->setCode(stateRecord(m_node).during);
        m_entryEdit->setCode(stateRecord(m_node).entry);
        m_exitEdit->setCode(stateRecord(m_node).exit);
        m_elseEdit->setCode(stateRecord(m_node).elseAction);
    }

    if (States::isInitialNode(m_node))
        m_initialButton->setChecked(true);
    else if (States::isFinalNode(m_node))
        m_finalButton->setChecked(true);
    else
        m_normalButton->setChecked(true);

    const QString fsmName = machineConfig(m_doc.diagram()).name;
    const QString name = m_nameEdit->text();
    m_isInFunctionBox->setText(QStringLiteral("Generate the state confirmation: ") + fsmName
                               + QStringLiteral("_IsIn_") + name + QStringLiteral("()"));
    m_isInFunctionBox->setChecked(stateRecord(m_node).isIn == kY);
    m_gotoFunctionBox->setText(QStringLiteral("Generate the state jump: ") + fsmName
                               + QStringLiteral("_Goto_") + name + QStringLiteral("()"));
    m_gotoFunctionBox->setChecked(stateRecord(m_node).goTo == kY);

    m_loadedIndex = m_indexEdit->text();
    m_snapshot = shownValues();
    fillChildList();
}

void StateDialog::fillChildList()
{
    m_childList->clear();
    m_hasChildren = false;
    // A diagram that was never saved has no folder to hold children.
    if (!m_doc.filePath.isEmpty()) {
        m_children.reset(m_doc.filePath);
        m_children.scanText(m_duringEdit->code() + QStringLiteral("\r\n") + m_elseEdit->code());
        m_childList->addItems(m_children.children());
        m_hasChildren = !m_children.children().isEmpty();
    }
    if (m_hasChildren)
        m_childList->setCurrentIndex(0);
    m_childrenGroup->setHidden(!m_hasChildren);
    m_childList->setHidden(!m_hasChildren);
    m_openChildButton->setHidden(!m_hasChildren);
}

StateDialog::Values StateDialog::shownValues() const
{
    Values v;
    v.entry = m_entryEdit->code();
    v.during = m_duringEdit->code();
    v.exit = m_exitEdit->code();
    v.elseAction = m_elseEdit->code();
    v.index = m_indexEdit->text();
    v.name = m_nameEdit->text();
    v.kind = m_initialButton->isChecked() ? 0 : m_finalButton->isChecked() ? 1 : 2;
    v.isIn = m_isInFunctionBox->isChecked();
    v.goTo = m_gotoFunctionBox->isChecked();
    return v;
}

qint32 StateDialog::kindValue() const
{
    if (m_initialButton->isChecked())
        return NodeStateInitial;
    if (m_finalButton->isChecked())
        return NodeStateFinal;
    // Judged by the child list itself, not by the button's visibility: the
    // dialog is never shown during find and replace.
    return m_hasChildren ? NodeStateSuper : NodeStateNormal;
}

void StateDialog::apply()
{
    // The kind follows the calls the actions hold now, also when they were
    // changed without leaving an editor (find and replace).
    fillChildList();
    StateRecord record;
    record.name = m_nameEdit->text();
    record.during = m_duringEdit->code();
    record.index = m_indexEdit->text();
    record.entry = m_entryEdit->code();
    record.exit = m_exitEdit->code();
    record.isIn = m_isInFunctionBox->isChecked() ? kY : kN;
    record.goTo = m_gotoFunctionBox->isChecked() ? kY : kN;
    record.elseAction = m_elseEdit->code();
    States::configureState(m_doc, record, kindValue(), m_node, asker());
    // An empty name became the default one.
    m_nameEdit->setText(stateRecord(m_node).name);
}

bool StateDialog::nameIsFree() const { return States::isStateNameFree(m_doc, m_nameEdit->text()); }

bool StateDialog::validateIndex()
{
    const double value = Ranking::lenientNumber(m_indexEdit->text());
    if (value < 1 || value > kMaxIndex) {
        m_indexEdit->clear();
        asker().message(QStringLiteral("Illegal index, try other different"));
        m_indexEdit->setFocus();
        return false;
    }
    m_indexEdit->setText(QString::number(Ranking::lenientIndex(m_indexEdit->text())));
    if (m_indexEdit->text() == m_loadedIndex)
        return true;
    if (!asker().askOkCancel(QStringLiteral("This can reorganize all index of this diagram"),
                             QStringLiteral("The index has changed"))) {
        m_indexEdit->setText(m_loadedIndex);
        return true;
    }
    // The change is applied at once, so a name that another state uses
    // would be written too; refuse the change instead.
    normalizeName();
    if (!nameIsFree()) {
        asker().message(QStringLiteral("The name: ") + m_nameEdit->text()
                        + QStringLiteral(" is already used"));
        m_indexEdit->setText(m_loadedIndex);
        return false;
    }
    apply();
    States::renumberStateIndices(m_doc, m_node, asker());
    m_indexEdit->setText(stateRecord(m_node).index);
    m_loadedIndex = m_indexEdit->text();
    return true;
}

void StateDialog::normalizeName()
{
    m_nameEdit->setText(CodeText::spacesToUnderscore(m_nameEdit->text().trimmed()));
}

void StateDialog::onOk()
{
    if (m_readOnly) {
        accept();
        return;
    }
    // An index typed but never left (the field still has the focus) goes
    // through the same check and question as on leaving it.
    if (m_indexEdit->text() != m_loadedIndex && !validateIndex())
        return;
    normalizeName();
    if (!nameIsFree()) {
        asker().message(QStringLiteral("The name: ") + m_nameEdit->text()
                        + QStringLiteral(" is already used"));
        return;
    }
    if (!(shownValues() == m_snapshot))
        apply();
    accept();
}

void StateDialog::onEditorLeft(CodeEditor* editor)
{
    if (!m_repositoryBusy)
        Support::tidyEditorText(editor, true);
    fillChildList();
}

bool StateDialog::search(FindMatcher& matcher, const QString& findWhat, const QString& replaceWith,
                         bool caseSensitive)
{
    QString name = m_nameEdit->text();
    bool go = matcher.showMatch(QStringLiteral("State: Name"), name, findWhat, replaceWith,
                                caseSensitive, m_readOnly);
    if (go) {
        const qsizetype cr = name.indexOf(QLatin1Char('\r'));
        m_nameEdit->setText(cr >= 0 ? name.left(cr) : name);
    }
    const std::pair<CodeEditor*, const char*> fields[] = {
        {m_entryEdit, "Input actions "},
        {m_duringEdit, "Moore actions "},
        {m_elseEdit, "Else actions "},
        {m_exitEdit, "Output actions "},
    };
    for (const auto& [editor, label] : fields) {
        if (!go)
            break;
        const QString caption = QStringLiteral("State[") + m_nameEdit->text()
                                + QStringLiteral("]: ") + QLatin1String(label);
        QString text = editor->code();
        go = matcher.showMatch(caption, text, findWhat, replaceWith, caseSensitive, m_readOnly);
        if (go)
            editor->setCode(text);
    }
    if (m_readOnly) {
        finishSearch();
        return go;
    }
    // A replaced name that another state already uses would keep the
    // hidden dialog from closing; the state keeps its old name instead.
    normalizeName();
    if (!nameIsFree()) {
        asker().message(QStringLiteral("The name: ") + m_nameEdit->text()
                        + QStringLiteral(" is already used"));
        m_nameEdit->setText(m_snapshot.name);
    }
    onOk();
    return go;
}

bool StateDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (watched == m_indexEdit)
                m_nameEdit->setFocus(Qt::TabFocusReason);
            else if (watched == m_nameEdit) {
                m_tabs->setCurrentWidget(m_duringEdit);
                m_duringEdit->setFocus(Qt::TabFocusReason);
            }
            return true;
        }
    } else if (isFieldLeave(event)) {
        if (watched == m_indexEdit)
            validateIndex();
        else if (watched == m_nameEdit)
            normalizeName();
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace orvane
