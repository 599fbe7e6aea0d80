#pragma once
// The font commands of a diagram: enlarge or reduce by one point, or choose
// a font. Each works on the selected remark (the current node when it is a
// text box) or, without one, on the whole diagram: the diagram's font and
// every node's. Sizes stay within 3 to 36 points. A read-only diagram
// ignores all three.

#include "Diagram.h"

#include <QtGlobal>

#include <functional>
#include <optional>

class QWidget;

namespace orvane {

class FsmDocument;
class Messenger;

namespace FontCommands {

constexpr double kMinSize = 3;
constexpr double kMaxSize = 36;

// A font with the text colour a remark is drawn in (0x00BBGGRR).
struct FontChoice {
    DiagramFont font;
    quint32 foreColor = 0;
};

// The font dialog: `withEffects` also offers the text colour, underline and
// strikethrough (a remark); `fixedPitchOnly` offers fixed-pitch fonts only.
// Empty when the user cancelled.
using FontAsker = std::function<std::optional<FontChoice>(const FontChoice& initial,
                                                          bool withEffects, bool fixedPitchOnly)>;

// The in-place remark editor of the document window is committed before a
// remark's font changes (may be empty).
using CommitEditor = std::function<void()>;

// One point larger (at most 36). True when a size changed. A remark at the
// limit is left as it is, but the document still counts as changed.
bool enlargeFont(FsmDocument& doc, Messenger& messenger, const CommitEditor& commit = {});
// One point smaller (at least 3); as enlargeFont.
bool reduceFont(FsmDocument& doc, Messenger& messenger, const CommitEditor& commit = {});
// The font dialog on the remark or the diagram. True when the user chose a
// font (and it was applied).
bool changeFont(FsmDocument& doc, bool fixedPitchOnly, Messenger& messenger, const FontAsker& ask,
                const CommitEditor& commit = {});

// The program's font dialog (QFontDialog, with a colour button for remarks);
// the hand-over of other starts waits while it is open.
std::optional<FontChoice> askFont(const FontChoice& initial, bool withEffects, bool fixedPitchOnly,
                                  QWidget* parent = nullptr);

}  // namespace FontCommands
}  // namespace orvane
