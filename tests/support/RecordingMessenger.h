#pragma once
// A messenger that keeps every message the unit under test sends.

#include "Messenger.h"

#include <QStringList>

#include <vector>

namespace orvane::testing {

class RecordingMessenger : public Messenger {
public:
    struct Message {
        QString text;
        MessageIcon icon;
        QString title;
    };
    void message(const QString& text, MessageIcon icon, const QString& title) override
    {
        messages.push_back({text, icon, title});
        texts << text;
    }
    std::vector<Message> messages;  // with their icons and titles
    QStringList texts;              // the texts alone, in order
};

}  // namespace orvane::testing
