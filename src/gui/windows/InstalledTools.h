#pragma once
// The tools this build plugs into the windows: find and replace, the font
// commands, the about box, the word picker and the single-instance link.

#include "ToolHooks.h"

namespace orvane {

ToolHooks installedToolHooks();

}  // namespace orvane
