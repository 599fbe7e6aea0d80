#include "PropertyDialog.h"

#include "CodeEditor.h"
#include "ChildDiagrams.h"
#include "Paths.h"

#include <QAbstractButton>
#include <QApplication>
#include <QBoxLayout>
#include <QComboBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTabWidget>

namespace orvane {

namespace Support = PropertyDialogSupport;

PropertyDialog::PropertyDialog(FsmDocument& doc, CodeEditorOptions* options, DialogAsker* asker,
                               QWidget* parent, const QString& section, int defaultHeight,
                               int defaultWidth)
    : QDialog(parent), m_doc(doc), m_options(options),
      m_ownAsker(asker ? nullptr : std::make_unique<MessageBoxAsker>(this)),
      m_asker(asker ? asker : m_ownAsker.get()), m_section(section), m_defaultHeight(defaultHeight),
      m_defaultWidth(defaultWidth)
{
    Support::setMinimumTwips(*this, defaultWidth, defaultHeight);
}

PropertyDialog::~PropertyDialog() = default;

void PropertyDialog::restoreSize()
{
    Support::restoreSize(*this, m_section, m_defaultHeight, m_defaultWidth);
}

void PropertyDialog::addOkCancel(QBoxLayout* layout)
{
    // Alt+O and Alt+C reach the buttons from any field, the code editors
    // included; Enter in a one-line field is "Ok".
    m_okButton = Support::newButton(this, QStringLiteral("okButton"), QStringLiteral("&Ok"));
    m_cancelButton =
        Support::newButton(this, QStringLiteral("cancelButton"), QStringLiteral("&Cancel"));
    m_okButton->setDefault(true);
    layout->addWidget(m_okButton);
    layout->addWidget(m_cancelButton);
    connect(m_okButton, &QPushButton::clicked, this, [this] { onOk(); });
    connect(m_cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    addDialogKeys();
}

void PropertyDialog::addDialogKeys()
{
    const auto add = [this](QKeyCombination key, std::function<void()> run) {
        auto* shortcut = new QShortcut(QKeySequence(key), this);
        connect(shortcut, &QShortcut::activated, this, std::move(run));
    };
    const auto ok = [this] {
        if (m_okButton && m_okButton->isEnabled())
            m_okButton->click();
    };
    add(Qt::CTRL | Qt::Key_Return, ok);
    add(Qt::CTRL | Qt::Key_Enter, ok);
    add(Qt::CTRL | Qt::Key_Tab, [this] { stepPage(1); });
    add(Qt::CTRL | Qt::Key_Backtab, [this] { stepPage(-1); });
    add(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab, [this] { stepPage(-1); });
    add(Qt::CTRL | Qt::Key_PageDown, [this] { stepPage(1); });
    add(Qt::CTRL | Qt::Key_PageUp, [this] { stepPage(-1); });
}

void PropertyDialog::stepPage(int step)
{
    auto* tabs = findChild<QTabWidget*>();
    if (!tabs || tabs->count() < 2)
        return;
    const int n = tabs->count();
    int page = tabs->currentIndex();
    // Pages that cannot be used are passed over.
    for (int tries = 0; tries < n; ++tries) {
        page = (page + step + n) % n;
        if (tabs->isTabEnabled(page) && tabs->isTabVisible(page))
            break;
    }
    tabs->setCurrentIndex(page);
    focusFirstField(tabs->currentWidget());
}

void PropertyDialog::focusFirstField(QWidget* page)
{
    if (!page)
        return;
    // A page that is a field itself (a code editor) takes the focus.
    if ((page->focusPolicy() & Qt::TabFocus) && page != this && page->isEnabled()) {
        page->setFocus(Qt::TabFocusReason);
        return;
    }
    for (QWidget* w = page->nextInFocusChain(); w && w != page; w = w->nextInFocusChain()) {
        if (!page->isAncestorOf(w))
            break;
        if ((w->focusPolicy() & Qt::TabFocus) && w->isEnabled() && w->isVisibleTo(this)
            && !w->focusProxy()) {
            w->setFocus(Qt::TabFocusReason);
            return;
        }
    }
}

void PropertyDialog::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    if (m_shownOnce)
        return;
    m_shownOnce = true;
    auto* tabs = findChild<QTabWidget*>();
    focusFirstField(tabs ? tabs->currentWidget() : this);
    m_shownValues = fieldValues();
}

QStringList PropertyDialog::fieldValues() const
{
    QStringList values;
    for (const QWidget* w : findChildren<QWidget*>()) {
        if (const auto* line = qobject_cast<const QLineEdit*>(w))
            values << line->text();
        else if (const auto* code = qobject_cast<const CodeEditor*>(w))
            values << code->code();
        else if (const auto* text = qobject_cast<const QPlainTextEdit*>(w))
            values << text->toPlainText();
        else if (const auto* box = qobject_cast<const QComboBox*>(w))
            values << box->currentText();
        else if (const auto* button = qobject_cast<const QAbstractButton*>(w))
            values << (button->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
    }
    return values;
}

void PropertyDialog::keyPressEvent(QKeyEvent* e)
{
    if (e->key() == Qt::Key_Escape && e->modifiers() == Qt::NoModifier && !m_readOnly && m_shownOnce
        && fieldValues() != m_shownValues
        && !asker().askOkCancel(QStringLiteral("Discard the changes made in this dialog?"),
                                windowTitle())) {
        e->accept();
        return;
    }
    QDialog::keyPressEvent(e);
}

bool PropertyDialog::isFieldLeave(const QEvent* event) const
{
    if (event->type() != QEvent::FocusOut || m_closing || m_readOnly)
        return false;
    const auto reason = static_cast<const QFocusEvent*>(event)->reason();
    // Going to Cancel abandons the edit: no check, no question.
    return CodeEditor::isControlFocusChange(reason)
           && QApplication::focusWidget() != m_cancelButton;
}

void PropertyDialog::finishSearch()
{
    if (m_readOnly)
        reject();
    else
        onOk();
}

void PropertyDialog::openChild(const ChildDiagrams& children, const QString& reference)
{
    const QString path = children.fullPath(reference);
    if (!reference.isEmpty() && Paths::fileExists(path)) {
        m_pendingDocument = path;
        onOk();
    } else {
        m_pendingDocument.clear();
    }
}

void PropertyDialog::done(int result)
{
    if (!m_closing) {
        m_closing = true;
        Support::saveSize(*this, m_section);
    }
    QDialog::done(result);
}

}  // namespace orvane
