#pragma once
// The batch road: outputs without any dialog.

namespace orvane {

struct ProcessState;

// Loads the diagram named in state.pendingCommandLine and writes the
// requested outputs. Exit status: 0 when every requested output was
// written, 1 otherwise.
int runBatch(int argc, char** argv, ProcessState& state);

}  // namespace orvane
