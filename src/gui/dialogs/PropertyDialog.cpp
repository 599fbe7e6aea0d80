#include "PropertyDialog.h"

#include "CodeEditor.h"
#include "ChildDiagrams.h"
#include "Paths.h"

#include <QApplication>
#include <QBoxLayout>
#include <QFocusEvent>
#include <QPushButton>

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
    m_okButton = Support::newButton(this, QStringLiteral("okButton"), QStringLiteral("Ok"));
    m_cancelButton =
        Support::newButton(this, QStringLiteral("cancelButton"), QStringLiteral("Cancel"));
    layout->addWidget(m_okButton);
    layout->addWidget(m_cancelButton);
    connect(m_okButton, &QPushButton::clicked, this, [this] { onOk(); });
    connect(m_cancelButton, &QPushButton::clicked, this, &QDialog::reject);
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
