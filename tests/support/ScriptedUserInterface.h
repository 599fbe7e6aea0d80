#pragma once
// A user interface for tests: answers and file names come from queues set up
// by the test, and everything shown is recorded.

#include "UserInterface.h"

#include <QStringList>

#include <deque>

namespace orvane {

class ScriptedUserInterface : public UserInterface {
public:
    struct Shown {
        QString kind;  // "message", "yesno", "yesnocancel", "open", "save"
        QString title;
        QString text;
        MessageIcon icon = MessageIcon::None;
        Answer defaultButton = Answer::Yes;
    };

    std::deque<Answer> answers;     // for both kinds of question
    std::deque<QString> fileNames;  // for open and save dialogs ("" cancels)
    bool readOnlyChoice = true;     // the open dialog's read-only box
    std::vector<Shown> shown;
    std::vector<FileDialog> dialogs;

    void message(const QString& text, MessageIcon icon, const QString& title) override
    {
        shown.push_back({QStringLiteral("message"), title, text, icon, Answer::Yes});
    }
    Answer askYesNo(const QString& text, const QString& title, MessageIcon icon,
                    Answer defaultButton) override
    {
        shown.push_back({QStringLiteral("yesno"), title, text, icon, defaultButton});
        return next(defaultButton);
    }
    Answer askYesNoCancel(const QString& text, const QString& title, MessageIcon icon,
                          Answer defaultButton) override
    {
        shown.push_back({QStringLiteral("yesnocancel"), title, text, icon, defaultButton});
        return next(defaultButton);
    }
    QString openFileName(const FileDialog& dialog, bool& readOnly) override
    {
        shown.push_back({QStringLiteral("open"), dialog.title, dialog.proposedName});
        dialogs.push_back(dialog);
        readOnly = readOnlyChoice;
        return nextName();
    }
    QString saveFileName(const FileDialog& dialog) override
    {
        shown.push_back({QStringLiteral("save"), dialog.title, dialog.proposedName});
        dialogs.push_back(dialog);
        return nextName();
    }

    int count(const QString& kind) const
    {
        int n = 0;
        for (const Shown& s : shown)
            n += s.kind == kind ? 1 : 0;
        return n;
    }

private:
    // An unscripted question takes the default button.
    Answer next(Answer def)
    {
        if (answers.empty())
            return def;
        const Answer a = answers.front();
        answers.pop_front();
        return a;
    }
    // An unscripted dialog is cancelled.
    QString nextName()
    {
        if (fileNames.empty())
            return {};
        const QString n = fileNames.front();
        fileNames.pop_front();
        return n;
    }
};

}  // namespace orvane
