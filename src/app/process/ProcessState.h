#pragma once
// The process-wide state that runMain sets up from the command line and that
// the rest of the program reads: title, pending path, folders, switches.

#include "FsmDocument.h"

#include <QString>

#include <optional>

namespace orvane {

struct ProcessState {
    QString windowTitle;
    QString pendingCommandLine;  // the diagram path, or empty
    QString outputFolder;        // /O, without a trailing "/"
    QString errorFolder;         // /E, without a trailing "/"
    QString unknownOption;       // a "--" argument that is no option
    bool batchMode = false;

    bool swC = false, swCS = false, swCP = false, swCA = false, swCH = false;
    bool swLS = false, swHL = false, swH = false, swW = false;
    bool dPlus = false, acPlus = false, ptPlus = false, bfPlus = false;
    OptionOverrides overrides;

    // Build support: --depfile=FILE, --check, --lint, --werror.
    QString depFile;  // where the dependency file goes; empty: none
    bool checkOnly = false;
    bool lint = false;
    bool warningsAreErrors = false;

    // Coverage: --coverage=TRACE replays a trace over the diagram's tree,
    // --min-coverage=P fails below P percent of the transitions.
    QString coverageTrace;  // empty: no coverage run
    std::optional<double> minCoverage;
    // Pictures and other formats: --svg, --png, --mermaid, --plantuml and
    // --scxml write NAME.svg, .png, .mmd, .puml, .scxml; --picture=svg
    // gives /H and /HL an SVG picture instead of the metafile; --dpi=N sets
    // the resolution of the SVG and PNG pictures.
    bool swSvg = false, swPng = false, swMermaid = false, swPlantUml = false, swScxml = false;
    bool pageSvg = false;
    bool pictureOptionGiven = false;  // --picture= or --dpi= was given
    double dotsPerInch = 96.0;
    // --import-scxml FILE: the SCXML document to turn into diagram files.
    QString importScxml;

    bool anyOtherFormat() const { return swSvg || swPng || swMermaid || swPlantUml || swScxml; }

    // True when any C-code switch was given (code files are then written
    // without a dialog).
    bool anyCodeSwitch() const { return swC || swCS || swCP || swCA || swCH; }
};

// The one instance of the process.
ProcessState& process();

}  // namespace orvane
