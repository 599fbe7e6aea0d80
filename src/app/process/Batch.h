#pragma once
// The batch road: outputs without any dialog.

namespace orvane {

struct ProcessState;

// Loads the diagram named in state.pendingCommandLine and writes the
// requested outputs. Exit status: 0 when every requested output was
// written, 1 otherwise.
int runBatch(int argc, char** argv, ProcessState& state);

// --import-scxml: writes the diagram files of state.importScxml into the /O
// folder (else beside it); warnings and errors go to standard error. Exit
// status 0 when every file was written, 1 otherwise.
int runScxmlImport(int argc, char** argv, ProcessState& state);

}  // namespace orvane
