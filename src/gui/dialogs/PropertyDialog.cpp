#include "PropertyDialog.h"

#include "CodeEditor.h"
#include "clsParientes.h"
#include "modLib_Rutas.h"

#include <QApplication>
#include <QBoxLayout>
#include <QFocusEvent>
#include <QPushButton>

namespace orvane {

namespace Support = PropertyDialogSupport;

PropertyDialog::PropertyDialog(FsmDocument& doc, clsLib_OptCMax* options, DialogAsker* asker,
                               QWidget* parent, const QString& section, int defaultHeight,
                               int defaultWidth)
    : QDialog(parent),
      m_doc(doc),
      m_options(options),
      m_ownAsker(asker ? nullptr : std::make_unique<MessageBoxAsker>(this)),
      m_asker(asker ? asker : m_ownAsker.get()),
      m_section(section),
      m_defaultHeight(defaultHeight),
      m_defaultWidth(defaultWidth)
{
    Support::SetMinimumTwips(*this, defaultWidth, defaultHeight);
}

PropertyDialog::~PropertyDialog() = default;

void PropertyDialog::restoreSize()
{
    Support::RestoreSize(*this, m_section, m_defaultHeight, m_defaultWidth);
}

void PropertyDialog::addOkCancel(QBoxLayout* layout)
{
    cmdValidar = Support::NewButton(this, QStringLiteral("cmdValidar"), QStringLiteral("Ok"));
    cmdCancelar = Support::NewButton(this, QStringLiteral("cmdCancelar"), QStringLiteral("Cancel"));
    layout->addWidget(cmdValidar);
    layout->addWidget(cmdCancelar);
    connect(cmdValidar, &QPushButton::clicked, this, [this] { onOk(); });
    connect(cmdCancelar, &QPushButton::clicked, this, &QDialog::reject);
}

bool PropertyDialog::isFieldLeave(const QEvent* event) const
{
    if (event->type() != QEvent::FocusOut || m_closing || m_readOnly)
        return false;
    const auto reason = static_cast<const QFocusEvent*>(event)->reason();
    // Going to Cancel abandons the edit: no check, no question.
    return CodeEditor::IsControlFocusChange(reason) && QApplication::focusWidget() != cmdCancelar;
}

void PropertyDialog::finishSearch()
{
    if (m_readOnly)
        reject();
    else
        onOk();
}

void PropertyDialog::openChild(const clsParientes& children, const QString& reference)
{
    const QString path = children.RutaCompleta(reference);
    if (!reference.isEmpty() && modLib_Rutas::FileExists(path)) {
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
        Support::SaveSize(*this, m_section);
    }
    QDialog::done(result);
}

}  // namespace orvane
