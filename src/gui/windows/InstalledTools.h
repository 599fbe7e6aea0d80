#pragma once
// The tools this build plugs into the windows: find and replace, the font
// commands, the about box, the word picker and the single-instance link.

#include "ToolHooks.h"

class QWidget;

namespace orvane {

ToolHooks installedToolHooks();

// Shows a window in front of the others, as a second start asks: a
// minimized window comes back the way it was (maximized or not), any other
// keeps its size and state.
void bringToFront(QWidget& window);

}  // namespace orvane
