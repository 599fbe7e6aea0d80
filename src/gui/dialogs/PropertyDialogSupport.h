#pragma once
// What the three property dialogs share: their questions and messages (an
// interface, so tests answer them), the find-and-replace and word-picker
// hooks, window sizes kept in the settings, the read-only look and the
// wiring of a code editor to the shared editor options.

#include "Messenger.h"

#include <QPointer>
#include <QString>

#include <functional>

class QDialog;
class QLineEdit;
class QPushButton;
class QWidget;

namespace orvane {

class CodeEditor;
class FsmDocument;
class CodeEditorOptions;

// Messages and OK/Cancel questions of the dialogs.
class DialogAsker : public Messenger {
public:
    // True when the user answers OK.
    virtual bool askOkCancel(const QString& text, const QString& title) = 0;
};

// The interactive asker: message boxes over a parent window.
class MessageBoxAsker : public DialogAsker {
public:
    explicit MessageBoxAsker(QWidget* parent = nullptr) : m_parent(parent) {}
    void message(const QString& text, MessageIcon icon = MessageIcon::None,
                 const QString& title = QString()) override;
    bool askOkCancel(const QString& text, const QString& title) override;

private:
    QPointer<QWidget> m_parent;
};

// The match dialog of find and replace as the dialogs' search uses it: shows
// `text` under `caption` when it holds `findWhat` and lets the user step and
// replace. `text` holds the result on return; false means the user stopped
// the search.
class FindMatcher {
public:
    virtual ~FindMatcher() = default;
    virtual bool showMatch(const QString& caption, QString& text, const QString& findWhat,
                           const QString& replaceWith, bool caseSensitive, bool readOnly) = 0;
};

// Opens the word picker on an editor of a dialog (F2). Installed once by the
// program; without one F2 does nothing.
using RepositoryHandler = std::function<void(CodeEditor& editor, FsmDocument& doc)>;
void setRepositoryHandler(RepositoryHandler handler);
const RepositoryHandler& getRepositoryHandler();

namespace PropertyDialogSupport {

constexpr quint32 kReadOnlyBack = 0xF0FFFF;
constexpr quint32 kWritableBack = 0xFFFFFF;
constexpr int kF2 = 113;
constexpr int kTwipsPerPixel = 15;

// Size from section/"WndHeight" and "WndWidth" (twips; both 0: maximized),
// then centred on the screen.
void restoreSize(QDialog& dialog, const QString& section, int defaultHeight, int defaultWidth);
// The size in twips, or 0 and 0 when maximized or minimized.
void saveSize(const QDialog& dialog, const QString& section);
void setMinimumTwips(QDialog& dialog, int width, int height);

void setBackground(QWidget* widget, quint32 colorRef);
// A one-line field that cannot be edited, with the read-only look.
void lockLineEdit(QLineEdit* edit, bool locked);
// An editor that cannot be edited, with the read-only window colour.
void lockEditor(CodeEditor* editor, bool locked);

// Shared options applied on focus and taken back on leaving (and after the
// user changed them on the editor's page). `options` may be null.
void connectEditorOptions(CodeEditor* editor, CodeEditorOptions* options);

// The shared options, then `onLeft` when the editor loses the focus; with
// `withF2`, F2 opens the word picker on the editor while `repositoryBusy`
// is set.
void wireEditor(CodeEditor* editor, CodeEditorOptions* options, FsmDocument& doc,
                bool& repositoryBusy, std::function<void()> onLeft, bool withF2 = true);
// The editor's text with tabs expanded to 4 columns (blanks trimmed at both
// ends first when `trim`), written back only when it differs.
void tidyEditorText(CodeEditor* editor, bool trim);

CodeEditor* newEditor(QWidget* parent, const QString& name);
// A button that Enter does not press unless it has the focus.
QPushButton* newButton(QWidget* parent, const QString& name, const QString& caption);

}  // namespace PropertyDialogSupport
}  // namespace orvane
