// The one-line form of batch messages that build tools and editors read.
#include "Diagnostics.h"

#include <gtest/gtest.h>

using namespace orvane;
using Diagnostics::Severity;

TEST(Diagnostics, FileMessagesNodeMessagesAndLineBreaks)
{
    EXPECT_EQ(Diagnostics::format("a b.fsm", Severity::Error, "no name"),
              QStringLiteral("a b.fsm: error: no name"));
    EXPECT_EQ(Diagnostics::format("m.fsm", Severity::Warning, "first\r\nsecond\nthird"),
              QStringLiteral("m.fsm: warning: first second third"));
    EXPECT_EQ(Diagnostics::format("m.fsm", Severity::Error, "bad", 12, "Idle", true),
              QStringLiteral("m.fsm:12: error: state \"Idle\": bad"));
    // A node whose line is not known points at line 1; a node without a
    // state (a transition from nowhere) names none.
    EXPECT_EQ(Diagnostics::format("m.fsm", Severity::Warning, "loose", 0, QString(), true),
              QStringLiteral("m.fsm:1: warning: loose"));
}
