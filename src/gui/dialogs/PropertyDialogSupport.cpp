#include "PropertyDialogSupport.h"

#include "AppSettings.h"
#include "CodeEditor.h"
#include "GuiUserInterface.h"
#include "ProcessState.h"
#include "clsLib_OptCMax.h"
#include "modVersion.h"

#include "modLib_StringHandling.h"

#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QMessageBox>
#include <QScreen>

namespace orvane {

namespace {
QString ApplicationTitle()
{
    return Process().windowTitle.isEmpty() ? WindowTitle() : Process().windowTitle;
}

RepositoryHandler& Repository()
{
    static RepositoryHandler handler;
    return handler;
}
}  // namespace

void MessageBoxAsker::message(const QString& text, MessageIcon icon, const QString& title)
{
    QMessageBox box(BoxIcon(icon), title.isEmpty() ? ApplicationTitle() : title, text,
                    QMessageBox::Ok, m_parent);
    box.exec();
}

bool MessageBoxAsker::askOkCancel(const QString& text, const QString& title)
{
    QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok | QMessageBox::Cancel,
                    m_parent);
    return box.exec() == QMessageBox::Ok;
}

void SetRepositoryHandler(RepositoryHandler handler) { Repository() = std::move(handler); }

const RepositoryHandler& GetRepositoryHandler() { return Repository(); }

namespace PropertyDialogSupport {

void RestoreSize(QDialog& dialog, const QString& section, int defaultHeight, int defaultWidth)
{
    const auto settings = AppSettings::Open();
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

void SaveSize(const QDialog& dialog, const QString& section)
{
    const bool normal = !(dialog.windowState() & (Qt::WindowMaximized | Qt::WindowMinimized));
    const auto settings = AppSettings::Open();
    settings->beginGroup(section);
    settings->setValue(QStringLiteral("WndHeight"),
                       QString::number(normal ? dialog.height() * kTwipsPerPixel : 0));
    settings->setValue(QStringLiteral("WndWidth"),
                       QString::number(normal ? dialog.width() * kTwipsPerPixel : 0));
}

void SetMinimumTwips(QDialog& dialog, int width, int height)
{
    dialog.setMinimumSize(width / kTwipsPerPixel, height / kTwipsPerPixel);
}

void SetBackground(QWidget* widget, quint32 colorRef)
{
    QPalette p = widget->palette();
    p.setColor(QPalette::Base,
               QColor(int(colorRef & 0xFF), int((colorRef >> 8) & 0xFF), int((colorRef >> 16) & 0xFF)));
    widget->setPalette(p);
}

void LockLineEdit(QLineEdit* edit, bool locked)
{
    edit->setReadOnly(locked);
    SetBackground(edit, locked ? kReadOnlyBack : kWritableBack);
}

void LockEditor(CodeEditor* editor, bool locked)
{
    editor->SetReadOnly(locked);
    editor->SetColor(CodeEditor::ClrWindow, qint32(locked ? kReadOnlyBack : kWritableBack));
}

void ConnectEditorOptions(CodeEditor* editor, clsLib_OptCMax* options)
{
    if (!options)
        return;
    QObject::connect(editor, &CodeEditor::gotFocus, editor,
                     [editor, options] { options->GetConfig(*editor); });
    QObject::connect(editor, &CodeEditor::lostFocus, editor,
                     [editor, options] { options->SetConfig(*editor); });
    QObject::connect(editor, &CodeEditor::optionsChangedByUser, editor,
                     [editor, options] { options->SetConfig(*editor); });
}

void WireEditor(CodeEditor* editor, clsLib_OptCMax* options, FsmDocument& doc,
                bool& repositoryBusy, std::function<void()> onLeft, bool withF2)
{
    ConnectEditorOptions(editor, options);
    QObject::connect(editor, &CodeEditor::lostFocus, editor, std::move(onLeft));
    if (!withF2)
        return;
    QObject::connect(editor, &CodeEditor::keyDown, editor,
                     [editor, &doc, &repositoryBusy](int keyCode, int, bool& handled) {
                         if (keyCode != kF2)
                             return;
                         handled = true;
                         if (const RepositoryHandler& open = GetRepositoryHandler()) {
                             repositoryBusy = true;
                             open(*editor, doc);
                             repositoryBusy = false;
                         }
                     });
}

void TidyEditorText(CodeEditor* editor, bool trim)
{
    const QString text = editor->Text();
    const QString tidy = modLib_StringHandling::ExpandTabs(
        trim ? modLib_StringHandling::TrimBlanks(text) : text, 4);
    if (tidy != text)
        editor->SetText(tidy);
}

CodeEditor* NewEditor(QWidget* parent, const QString& name)
{
    auto* editor = new CodeEditor(parent);
    editor->setObjectName(name);
    return editor;
}

QPushButton* NewButton(QWidget* parent, const QString& name, const QString& caption)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

}  // namespace PropertyDialogSupport
}  // namespace orvane
