#pragma once
// Batch mode shows no window: every message goes to standard error.

#include "Messenger.h"

namespace orvane {

class BatchMessenger : public Messenger {
public:
    void message(const QString& text, MessageIcon icon = MessageIcon::None,
                 const QString& title = QString()) override;
};

}  // namespace orvane
