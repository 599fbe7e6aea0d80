#pragma once
// Start-up: the command line, the help text and the choice of road.

#include <QString>
#include <QStringList>

namespace orvane {

struct ProcessState;

namespace CommandLine {

// Help and Version print and end; UnknownOption (an argument starting with
// "--" that is no option and no diagram file) ends with a bad command line.
// BuildOptionWithoutSwitch: --check, --depfile or --werror without an output
// switch (or --lint), a bad command line.
enum class Road {
    Help,
    Version,
    UnknownOption,
    Batch,
    HandOverOrInteractive,
    BatchWithoutPath,
    BuildOptionWithoutSwitch,
    PictureOptionWithoutSwitch,  // --picture= or --dpi= without an output switch
    ImportScxml                  // --import-scxml FILE: diagram files from an SCXML document
};

// "orvane" and the program's version, as --version prints them.
QString versionText();
// The help text: the executable's name without extension, then the lines.
QString helpText(const QString& executableName);
// The long options, which --help and -h print after the help text.
QString longOptionsText();

// True when the path ends in ".fsm" (ignoring case) and names an existing file.
bool isFsmFile(const QString& path);

// Takes the switches out of the arguments into `state` and chooses the road.
// Problems (bad /E or /O value, bad diagram path) are written to the logs.
// `commandLineError` is set when a value or the path was bad.
Road parseCommandLine(const QStringList& args, ProcessState& state, bool& commandLineError);

// The window program (built in the gui layer): hands the file to a running
// instance or opens the editor's windows; returns the exit status.
using WindowRoad = int (*)(int argc, char** argv, ProcessState& state);

// The process entry; returns the exit status. `windows` takes the
// interactive road.
int runMain(int argc, char** argv, WindowRoad windows);

}  // namespace CommandLine
}  // namespace orvane
