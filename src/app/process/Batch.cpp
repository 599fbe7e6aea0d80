#include "Batch.h"

#include "Document.h"
#include "DocumentRegistry.h"
#include "FontTextMeasurer.h"
#include "GenerationCommands.h"
#include "OutputPaths.h"
#include "ProcessState.h"
#include "UserInterface.h"
#include "modC_CodeGen.h"
#include "modHTML.h"
#include "modLib_Log.h"
#include "modMain_Files.h"

#include <QGuiApplication>

namespace orvane {

namespace {

// The C code switch that runs: the first of /CS, /CP, /CA, /CH, /C.
bool RunCodeSwitch(DocumentRegistry& docs, Document& doc, const ProcessState& st,
                   UserInterface& ui)
{
    using modGeneration::GenerateCCode;
    if (st.swCS)
        return GenerateCCode(docs, doc, Methodology::SwitchCase, ui);
    if (st.swCP)
        return GenerateCCode(docs, doc, Methodology::DirectPointers, ui);
    if (st.swCA)
        return GenerateCCode(docs, doc, Methodology::PointerArray, ui);
    if (st.swCH)
        return GenerateCCode(docs, doc, Methodology::Hierarchical, ui);
    // /C without a default methodology generates nothing and is a failure.
    return modGeneration::GenerateDefaultCCode(docs, doc, ui)
           == modGeneration::DefaultResult::Written;
}

}  // namespace

int RunBatch(int argc, char** argv, ProcessState& state)
{
    // Batch mode never needs a display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    InstallFontTextMeasurer();
    state.batchMode = true;

    BatchUserInterface ui;
    DocumentRegistry docs(ui);
    const QString path = state.pendingCommandLine;
    const modMain::OpenResult opened = modMain::FileOpen(docs, path);
    if (!opened.ok() || !opened.document || opened.document->caption().isEmpty()) {
        if (!opened.error.isEmpty())
            ui.message(opened.error);
        modLib_Log::WriteErrorLog(QStringLiteral("Fsm error loading:[") + path + QLatin1Char(']'));
        return 1;
    }
    Document& doc = *opened.document;

    bool allWritten = true;
    if (state.anyCodeSwitch())
        allWritten = RunCodeSwitch(docs, doc, state, ui) && allWritten;
    if (state.swH || state.swHL) {
        allWritten = modHTML::FileSaveAsHTML(doc.fsm, BatchOutputPath(doc.fsm, QStringLiteral(".htm")),
                                             state.swHL, ui)
                     && allWritten;
    } else if (state.swW) {
        allWritten = modHTML::FileSaveAsEMF(doc.fsm, BatchOutputPath(doc.fsm, QStringLiteral(".wmf")), ui)
                     && allWritten;
    }
    if (state.swLS) {
        allWritten = modMain::GenerarListado(doc.fsm, ui, modC_CodeGen::GenerateListFile(doc.fsm.diagram()))
                     && allWritten;
    }
    return allWritten ? 0 : 1;
}

}  // namespace orvane
