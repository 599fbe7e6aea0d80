#pragma once
// Shared pieces of the dialog tests: a scripted asker, a private settings
// folder per test, and small diagrams built through the model.

#include "AppSettings.h"
#include "FsmDocument.h"
#include "Messenger.h"
#include "PropertyDialogSupport.h"
#include "States.h"
#include "Transitions.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QWidget>
#include <QFocusEvent>
#include <QStringList>
#include <QTemporaryDir>

#include <deque>

namespace orvane::testing {

// Records every message and question; answers questions from a script
// (OK when the script is empty).
class RecordingAsker : public DialogAsker {
public:
    void message(const QString& text, MessageIcon, const QString&) override { messages << text; }
    bool askOkCancel(const QString& text, const QString& title) override
    {
        questions << text + QStringLiteral(" | ") + title;
        if (answers.empty())
            return true;
        const bool a = answers.front();
        answers.pop_front();
        return a;
    }
    QStringList messages;
    QStringList questions;
    std::deque<bool> answers;
};

// Every test gets its own empty settings store and a temporary folder.
class DialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        AppSettings::setSettingsFolder(dir.path());
    }
    void TearDown() override { AppSettings::setSettingsFolder(QString()); }

    // A state through the model, as the document window makes one.
    Node* addState(const QString& name, const QString& index, qint32 kind = NodeStateNormal,
                   const QString& during = {})
    {
        const int n = doc.diagram().nodeCount();
        Node* node = doc.diagram().addNode(500 + 2000 * n, 500, 1500, 900);
        QString nm = name;
        States::configureState(
            doc,
            StateRecord{nm, during, index, {}, {}, QStringLiteral("N"), QStringLiteral("N"), {}},
            kind, node, silent);
        return node;
    }
    // A transition drawn from one state to another.
    Node* addTransition(Node* from, Node* to)
    {
        doc.diagram().setCurrentLink(doc.diagram().addLink(from, to));
        return Transitions::splitLinkIntoTransition(doc);
    }

    QTemporaryDir dir;
    FsmDocument doc;
    SilentMessenger silent;
    RecordingAsker asker;
};

// The user moving the focus away from a control.
inline void leaveControl(QWidget* w)
{
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(w, &out);
}

inline void enterControl(QWidget* w)
{
    QFocusEvent in(QEvent::FocusIn, Qt::TabFocusReason);
    QApplication::sendEvent(w, &in);
}

}  // namespace orvane::testing
