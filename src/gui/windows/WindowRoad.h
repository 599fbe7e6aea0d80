#pragma once
// The interactive road of runMain: the window program.

#include "ToolHooks.h"

namespace orvane {

struct ProcessState;

// True when a window system can be reached: DISPLAY, WAYLAND_DISPLAY or a
// chosen Qt platform (QT_QPA_PLATFORM) is set.
bool hasDisplay();

// Without a display: a clear message on standard error and status 2.
// Otherwise hands the file to a running instance (when the hooks have an
// instance link and one runs), or clears the debug log, creates the code
// editors' shared options and the main window with the named file or a new
// diagram, and runs the event loop until the main window closes.
int runWindows(int argc, char** argv, ProcessState& state, const ToolHooks& hooks);

// The window program with the tools this build installs.
int runWindows(int argc, char** argv, ProcessState& state);

}  // namespace orvane
