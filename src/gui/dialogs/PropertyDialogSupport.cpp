#include "PropertyDialogSupport.h"

#include "AppSettings.h"
#include "CodeEditor.h"
#include "GuiUserInterface.h"
#include "ProcessState.h"
#include "CodeEditorOptions.h"
#include "Version.h"

#include "CodeText.h"

#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QMessageBox>
#include <QScreen>

namespace orvane {

namespace {
QString applicationTitle()
{
    return process().windowTitle.isEmpty() ? programTitle() : process().windowTitle;
}

RepositoryHandler& repository()
{
    static RepositoryHandler handler;
    return handler;
}
}  // namespace

void MessageBoxAsker::message(const QString& text, MessageIcon icon, const QString& title)
{
    QMessageBox box(boxIcon(icon), title.isEmpty() ? applicationTitle() : title, text,
                    QMessageBox::Ok, m_parent);
    box.exec();
}

bool MessageBoxAsker::askOkCancel(const QString& text, const QString& title)
{
    QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok | QMessageBox::Cancel,
                    m_parent);
    return box.exec() == QMessageBox::Ok;
}

void setRepositoryHandler(RepositoryHandler handler) { repository() = std::move(handler); }

const RepositoryHandler& getRepositoryHandler() { return repository(); }

namespace PropertyDialogSupport {

void restoreSize(QDialog& dialog, const QString& section, int defaultHeight, int defaultWidth)
{
    const auto settings = AppSettings::open();
    settings->beginGroup(section);
    const int height = settings->value(QStringLiteral("WndHeight"), defaultHeight).toInt();
    const int width = settings->value(QStringLiteral("WndWidth"), defaultWidth).toInt();
    if (height == 0 && width == 0) {
        dialog.setWindowState(dialog.windowState() | Qt::WindowMaximized);
        return;
    }
    // Sizes below the minimum are raised to it by the dialog itself.
    dialog.resize(std::max(width, 1) / kTwipsPerPixel, std::max(height, 1) / kTwipsPerPixel);
    if (const QScreen* screen = dialog.screen()) {
        const QRect area = screen->availableGeometry();
        dialog.move(area.left() + (area.width() - dialog.width()) / 2,
                    area.top() + (area.height() - dialog.height()) / 2);
    }
}

void saveSize(const QDialog& dialog, const QString& section)
{
    const bool normal = !(dialog.windowState() & (Qt::WindowMaximized | Qt::WindowMinimized));
    const auto settings = AppSettings::open();
    settings->beginGroup(section);
    settings->setValue(QStringLiteral("WndHeight"),
                       QString::number(normal ? dialog.height() * kTwipsPerPixel : 0));
    settings->setValue(QStringLiteral("WndWidth"),
                       QString::number(normal ? dialog.width() * kTwipsPerPixel : 0));
}

void setMinimumTwips(QDialog& dialog, int width, int height)
{
    dialog.setMinimumSize(width / kTwipsPerPixel, height / kTwipsPerPixel);
}

void setBackground(QWidget* widget, quint32 colorRef)
{
    QPalette p = widget->palette();
    p.setColor(QPalette::Base, QColor(int(colorRef & 0xFF), int((colorRef >> 8) & 0xFF),
                                      int((colorRef >> 16) & 0xFF)));
    widget->setPalette(p);
}

void lockLineEdit(QLineEdit* edit, bool locked)
{
    edit->setReadOnly(locked);
    setBackground(edit, locked ? kReadOnlyBack : kWritableBack);
}

void lockEditor(CodeEditor* editor, bool locked)
{
    editor->setLocked(locked);
    editor->setColourItem(CodeEditor::ClrWindow, qint32(locked ? kReadOnlyBack : kWritableBack));
}

void connectEditorOptions(CodeEditor* editor, CodeEditorOptions* options)
{
    if (!options)
        return;
    QObject::connect(editor, &CodeEditor::gotFocus, editor,
                     [editor, options] { options->getConfig(*editor); });
    QObject::connect(editor, &CodeEditor::lostFocus, editor,
                     [editor, options] { options->setConfig(*editor); });
    QObject::connect(editor, &CodeEditor::optionsChangedByUser, editor,
                     [editor, options] { options->setConfig(*editor); });
}

void wireEditor(CodeEditor* editor, CodeEditorOptions* options, FsmDocument& doc,
                bool& repositoryBusy, std::function<void()> onLeft, bool withF2)
{
    connectEditorOptions(editor, options);
    QObject::connect(editor, &CodeEditor::lostFocus, editor, std::move(onLeft));
    if (!withF2)
        return;
    QObject::connect(editor, &CodeEditor::keyDown, editor,
                     [editor, &doc, &repositoryBusy](int keyCode, int, bool& handled) {
                         if (keyCode != kF2)
                             return;
                         handled = true;
                         if (const RepositoryHandler& open = getRepositoryHandler()) {
                             repositoryBusy = true;
                             open(*editor, doc);
                             repositoryBusy = false;
                         }
                     });
}

void tidyEditorText(CodeEditor* editor, bool trim)
{
    const QString text = editor->code();
    const QString tidy = CodeText::expandTabs(trim ? CodeText::trimBlanks(text) : text, 4);
    if (tidy != text)
        editor->setCode(tidy);
}

CodeEditor* newEditor(QWidget* parent, const QString& name)
{
    auto* editor = new CodeEditor(parent);
    editor->setObjectName(name);
    return editor;
}

QPushButton* newButton(QWidget* parent, const QString& name, const QString& caption)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

}  // namespace PropertyDialogSupport
}  // namespace orvane
