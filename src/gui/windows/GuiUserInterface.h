#pragma once
// The window program's way of talking to the user: message boxes, questions
// and the common open and save dialogs over the main window.

#include "ToolHooks.h"
#include "UserInterface.h"

#include <QMessageBox>
#include <QPointer>
#include <QWidget>

namespace orvane {

// The message box icon of a message's icon.
QMessageBox::Icon boxIcon(MessageIcon icon);

class GuiUserInterface : public UserInterface {
public:
    // `hooks` (may be null) bracket every dialog with stopped and running.
    explicit GuiUserInterface(QWidget* parent = nullptr, const ToolHooks* hooks = nullptr)
        : m_parent(parent), m_hooks(hooks)
    {
    }

    void message(const QString& text, MessageIcon icon = MessageIcon::None,
                 const QString& title = QString()) override;
    Answer askYesNo(const QString& text, const QString& title, MessageIcon icon,
                    Answer defaultButton) override;
    Answer askYesNoCancel(const QString& text, const QString& title, MessageIcon icon,
                          Answer defaultButton) override;
    // The open dialog carries an "Open as read-only" box, ticked at first.
    QString openFileName(const FileDialog& dialog, bool& readOnly) override;
    QString saveFileName(const FileDialog& dialog) override;
    void setBusy(bool on) override;

private:
    QWidget* parentWidget() const;
    // Runs a modal dialog between the hooks' stopped and running.
    int execModal(QDialog& dialog);
    int showBox(const QString& text, const QString& title, MessageIcon icon,
                QMessageBox::StandardButtons buttons, QMessageBox::StandardButton defaultButton);

    QPointer<QWidget> m_parent;
    const ToolHooks* m_hooks;
};

}  // namespace orvane
