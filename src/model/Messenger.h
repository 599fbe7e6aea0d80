#pragma once
// How the model and the generators talk to the user: a message box in the
// window program, standard error in batch mode, a recorder in tests.

#include <QString>

namespace orvane {

enum class MessageIcon { None, Information, Exclamation, Critical, Question };

class Messenger {
public:
    virtual ~Messenger() = default;
    // An OK-only message box (title empty: the application's default title).
    virtual void message(const QString& text, MessageIcon icon = MessageIcon::None,
                         const QString& title = QString()) = 0;
};

// Discards every message (for callers that have already reported).
class SilentMessenger : public Messenger {
public:
    void message(const QString&, MessageIcon, const QString&) override {}
};

}  // namespace orvane
