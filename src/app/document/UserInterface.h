#pragma once
// How the application layer talks to the user: message boxes, questions and
// file dialogs. The window program answers with real dialogs, batch mode with
// standard error and default buttons, tests with a script.

#include "Messenger.h"

#include <QString>

#include <functional>

namespace orvane {

enum class Answer { Yes, No, Cancel };

// One common open or save dialog.
struct FileDialog {
    QString title;             // empty: the platform's default title
    QString defaultExtension;  // without the dot ("FSM"), added to a name typed without one
    QString filter;            // "Description(*.X)|*.x|" pairs
    QString proposedName;      // the name the dialog starts with
};

class UserInterface : public Messenger {
public:
    // A Yes/No box; `defaultButton` is Yes or No.
    virtual Answer askYesNo(const QString& text, const QString& title, MessageIcon icon,
                            Answer defaultButton) = 0;
    // A Yes/No/Cancel box.
    virtual Answer askYesNoCancel(const QString& text, const QString& title, MessageIcon icon,
                                  Answer defaultButton) = 0;
    // The open dialog with its read-only box shown and ticked. Returns the
    // chosen path, empty when cancelled; `readOnly` receives the box's state.
    virtual QString openFileName(const FileDialog& dialog, bool& readOnly) = 0;
    // The save dialog (asks before replacing a file). Empty when cancelled.
    virtual QString saveFileName(const FileDialog& dialog) = 0;
    // The hourglass pointer on or off.
    virtual void setBusy(bool) {}
};

// Shows the hourglass for the lifetime of the object.
class BusyScope {
public:
    explicit BusyScope(UserInterface& ui) : m_ui(ui) { m_ui.setBusy(true); }
    ~BusyScope() { m_ui.setBusy(false); }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    UserInterface& m_ui;
};

// Batch mode: messages and questions go to standard error, every question
// takes its default button, file dialogs are never shown (they answer
// "cancelled").
//
// Given the diagram's file, each message is one diagnostic line
// (Diagnostics::format): a message box is an error, an information box and
// a question (with its answer) are warnings.
class BatchUserInterface : public UserInterface {
public:
    explicit BatchUserInterface(const QString& file = QString()) : m_file(file) {}

    // Finds the node a message concerns: true with the line of the node in
    // the file and its state's name. Messages it places get the
    // "FILE:LINE: error: state "NAME": TEXT" form.
    using Locator = std::function<bool(const QString& text, int& line, QString& stateName)>;
    void setLocator(Locator locator) { m_locator = std::move(locator); }
    void message(const QString& text, MessageIcon icon = MessageIcon::None,
                 const QString& title = QString()) override;
    Answer askYesNo(const QString& text, const QString& title, MessageIcon icon,
                    Answer defaultButton) override;
    Answer askYesNoCancel(const QString& text, const QString& title, MessageIcon icon,
                          Answer defaultButton) override;
    QString openFileName(const FileDialog& dialog, bool& readOnly) override;
    QString saveFileName(const FileDialog& dialog) override;

private:
    void say(const QString& text, bool warning, const QString& title);
    QString m_file;
    Locator m_locator;
};

// The dialog filters in Qt's form: "Fsm Files(*.FSM)|*.fsm|" gives
// "Fsm Files(*.FSM) (*.fsm)"; pairs are joined with ";;".
QString toQtFilter(const QString& pipeFilter);

// The dialogs of the document files.
FileDialog fsmOpenDialog();
FileDialog fsmSaveDialog(const QString& proposedName);
FileDialog codeSaveDialog(const QString& proposedName);
FileDialog listSaveDialog(const QString& proposedName);

}  // namespace orvane
