#include "GuiUserInterface.h"

#include "AppSettings.h"

#include <QApplication>
#include <QCheckBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QMessageBox>

namespace orvane {

QMessageBox::Icon boxIcon(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::Exclamation:
        return QMessageBox::Warning;
    case MessageIcon::Critical:
        return QMessageBox::Critical;
    case MessageIcon::Question:
        return QMessageBox::Question;
    case MessageIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

namespace {

QMessageBox::StandardButton boxButton(Answer a)
{
    switch (a) {
    case Answer::Yes:
        return QMessageBox::Yes;
    case Answer::No:
        return QMessageBox::No;
    case Answer::Cancel:
        break;
    }
    return QMessageBox::Cancel;
}

// Texts of the program use CR LF line breaks.
QString plain(const QString& text)
{
    QString t = text;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return t;
}

Answer fromButton(int button)
{
    switch (button) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        break;
    }
    return Answer::Cancel;
}

// The dialog's settings that open and save share.
void prepare(QFileDialog& fd, const FileDialog& dialog)
{
    if (!dialog.title.isEmpty())
        fd.setWindowTitle(dialog.title);
    fd.setNameFilter(toQtFilter(dialog.filter));
    fd.setDefaultSuffix(dialog.defaultExtension.toLower());
    if (!dialog.proposedName.isEmpty()) {
        const QFileInfo proposed(dialog.proposedName);
        fd.setDirectory(proposed.absolutePath());
        fd.selectFile(proposed.fileName());
    }
}

QString chosen(const QFileDialog& fd, int result)
{
    if (result != QDialog::Accepted || fd.selectedFiles().isEmpty())
        return {};
    return fd.selectedFiles().constFirst();
}

}  // namespace

QWidget* GuiUserInterface::parentWidget() const
{
    return m_parent ? m_parent.data() : QApplication::activeWindow();
}

int GuiUserInterface::execModal(QDialog& dialog)
{
    if (!m_hooks)
        return dialog.exec();
    const ModalScope scope(*m_hooks);
    return dialog.exec();
}

int GuiUserInterface::showBox(const QString& text, const QString& title, MessageIcon icon,
                              QMessageBox::StandardButtons buttons,
                              QMessageBox::StandardButton defaultButton)
{
    QMessageBox box(boxIcon(icon), title.isEmpty() ? AppSettings::kApplicationName : title,
                    plain(text), buttons, parentWidget());
    box.setDefaultButton(defaultButton);
    return execModal(box);
}

void GuiUserInterface::message(const QString& text, MessageIcon icon, const QString& title)
{
    showBox(text, title, icon, QMessageBox::Ok, QMessageBox::Ok);
}

Answer GuiUserInterface::askYesNo(const QString& text, const QString& title, MessageIcon icon,
                                  Answer defaultButton)
{
    const int b =
        showBox(text, title, icon, QMessageBox::Yes | QMessageBox::No, boxButton(defaultButton));
    // Closing the box answers No.
    return fromButton(b) == Answer::Yes ? Answer::Yes : Answer::No;
}

Answer GuiUserInterface::askYesNoCancel(const QString& text, const QString& title, MessageIcon icon,
                                        Answer defaultButton)
{
    return fromButton(showBox(text, title, icon,
                              QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                              boxButton(defaultButton)));
}

QString GuiUserInterface::openFileName(const FileDialog& dialog, bool& readOnly)
{
    QFileDialog fd(parentWidget());
    // The read-only box needs the program's own dialog.
    fd.setOption(QFileDialog::DontUseNativeDialog);
    fd.setAcceptMode(QFileDialog::AcceptOpen);
    fd.setFileMode(QFileDialog::ExistingFile);
    prepare(fd, dialog);
    auto* box = new QCheckBox(QStringLiteral("Open as &read-only"), &fd);
    box->setObjectName(QStringLiteral("readOnlyBox"));
    box->setChecked(true);
    if (auto* grid = qobject_cast<QGridLayout*>(fd.layout()))
        grid->addWidget(box, grid->rowCount(), 0, 1, grid->columnCount());
    const QString path = chosen(fd, execModal(fd));
    readOnly = box->isChecked();
    return path;
}

QString GuiUserInterface::saveFileName(const FileDialog& dialog)
{
    QFileDialog fd(parentWidget());
    fd.setAcceptMode(QFileDialog::AcceptSave);
    fd.setFileMode(QFileDialog::AnyFile);
    prepare(fd, dialog);
    return chosen(fd, execModal(fd));
}

void GuiUserInterface::setBusy(bool on)
{
    if (on)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

}  // namespace orvane
