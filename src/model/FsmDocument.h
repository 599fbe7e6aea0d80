#pragma once
// A document without a window: the diagram, the file identity and the
// generation and display options. Where the editor speaks of "the active
// document", the model takes one of these explicitly.

#include "Diagram.h"

#include <QString>

#include <optional>

namespace orvane {

class Messenger;

// The captions of the four generate commands; a document's default
// methodology (formatCompilacion) is one of them.
inline const QString kCaptionPointerArray = QStringLiteral("&Pointer Array...");
inline const QString kCaptionDirectPointers = QStringLiteral("&Direct Pointers...");
inline const QString kCaptionSwitchCase = QStringLiteral("&Switch Case...");
inline const QString kCaptionHierarchical = QStringLiteral("&Hierarchical Switch Case...");

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
    QString sFullDocname;
    QString sLastFullDocname;
    QString sPadre;
    QString caption;  // the file title; empty while a load has not succeeded
    bool nuevoFSM = false;
    bool bPudoSalvar = false;

    // Generation options (start values of a new document).
    QString formatCompilacion;
    bool bGeneraFuncInit = false;
    bool bGeneraFuncEnd = false;
    bool bDebugInfo = false;
    bool bAnsiComment = false;
    bool bTextBoxesInCode = false;
    bool bHistoryFsm = false;
    bool bUseBitFields = true;
    bool bUseMacros = true;

    // Display options (the check marks of Autosize Nodes, Fixed Pitch, Hide Comments).
    bool autosizeNodes = true;
    bool fixedPitchOnly = false;
    bool hideComments = false;

    // Applies the options string of the configuration record to the members
    // above, the command-line overrides winning; then SetDefaultMethodology.
    void GetGrafoConfig(const OptionOverrides& overrides);
    // Makes a methodology the default; sets the diagram's Changed flag when it
    // differs from the current one. Returns true when it differed.
    bool SetDefaultMethodology(const QString& caption);

    // What opening a file does after LoadFile: take the record out of the
    // info node, apply it, rebuild every item's drawing.
    bool AfterLoad(const OptionOverrides& overrides, Messenger& messenger);
    // Before SaveFile: store the record into an info node, clear item texts.
    void BeforeSave();
    // After SaveFile (or a refused write): rebuild texts, drop the info node.
    void AfterSave(Messenger& messenger);

private:
    std::unique_ptr<Diagram> m_diagram;
};

}  // namespace orvane
