#pragma once
// A document without a window: the diagram, the file identity and the
// generation and display options. Where the editor speaks of "the active
// document", the model takes one of these explicitly.

#include "Diagram.h"
#include "Methodology.h"

#include <QString>

#include <optional>

namespace orvane {

class Messenger;

// Values forced by the command line (/D, /AC, /PT, /BF) for every document.
struct OptionOverrides {
    std::optional<bool> debugInfo, ansiComment, textBoxes, bitFields;
};

class FsmDocument {
public:
    FsmDocument();
    ~FsmDocument();
    FsmDocument(const FsmDocument&) = delete;
    FsmDocument& operator=(const FsmDocument&) = delete;

    Diagram& diagram() { return *m_diagram; }
    const Diagram& diagram() const { return *m_diagram; }

    // Identity.
    QString filePath;
    QString lastFilePath;
    QString parentPath;
    QString caption;  // the file title; empty while a load has not succeeded
    bool isNew = false;
    bool lastSaveSucceeded = false;

    // Generation options (start values of a new document).
    // The style the Generate button and /C use; none until one is chosen.
    std::optional<Methodology> defaultMethodology;
    bool generateInitFunction = false;
    bool generateEndFunction = false;
    bool debugInfo = false;
    bool ansiComments = false;
    bool remarksInCode = false;
    bool historyMachine = false;
    bool useBitFields = true;
    bool useMacros = true;

    // Display options (the check marks of Autosize Nodes, Fixed Pitch, Hide Comments).
    bool autosizeNodes = true;
    bool fixedPitchOnly = false;
    bool hideComments = false;

    // Applies the options string of the configuration record to the members
    // above, the command-line overrides winning; a style named in the
    // options becomes the default (none named: the default stays).
    void readConfig(const OptionOverrides& overrides);
    // Makes a methodology the default; sets the diagram's Changed flag when it
    // differs from the current one. Returns true when it differed.
    bool setDefaultMethodology(Methodology methodology);

    // What opening a file does after loadFile: take the record out of the
    // info node, apply it, rebuild every item's drawing.
    bool afterLoad(const OptionOverrides& overrides, Messenger& messenger);
    // Before SaveFile: store the record into an info node, clear item texts.
    void beforeSave();
    // After SaveFile (or a refused write): rebuild texts, drop the info node.
    void afterSave(Messenger& messenger);

private:
    std::unique_ptr<Diagram> m_diagram;
};

}  // namespace orvane
