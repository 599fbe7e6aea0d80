#include "Batch.h"

#include "Document.h"
#include "DocumentRegistry.h"
#include "FontTextMeasurer.h"
#include "GenerationCommands.h"
#include "OutputPaths.h"
#include "ProcessState.h"
#include "UserInterface.h"
#include "FlatGenerators.h"
#include "HtmlPage.h"
#include "Logs.h"
#include "DocumentCommands.h"

#include <QGuiApplication>

namespace orvane {

namespace {

// The C code switch that runs: the first of /CS, /CP, /CA, /CH, /C.
bool runCodeSwitch(DocumentRegistry& docs, Document& doc, const ProcessState& st, UserInterface& ui)
{
    using GenerationCommands::generateCCode;
    if (st.swCS)
        return generateCCode(docs, doc, Methodology::SwitchCase, ui);
    if (st.swCP)
        return generateCCode(docs, doc, Methodology::DirectPointers, ui);
    if (st.swCA)
        return generateCCode(docs, doc, Methodology::PointerArray, ui);
    if (st.swCH)
        return generateCCode(docs, doc, Methodology::Hierarchical, ui);
    // /C without a default methodology generates nothing and is a failure.
    return GenerationCommands::generateDefaultCCode(docs, doc, ui)
           == GenerationCommands::DefaultResult::Written;
}

}  // namespace

int runBatch(int argc, char** argv, ProcessState& state)
{
    // Batch mode never needs a display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    installFontTextMeasurer();
    state.batchMode = true;

    BatchUserInterface ui;
    DocumentRegistry docs(ui);
    const QString path = state.pendingCommandLine;
    const DocumentCommands::OpenResult opened = DocumentCommands::fileOpen(docs, path);
    if (!opened.ok() || !opened.document || opened.document->caption().isEmpty()) {
        if (!opened.error.isEmpty())
            ui.message(opened.error);
        Logs::writeErrorLog(QStringLiteral("Fsm error loading:[") + path + QLatin1Char(']'));
        return 1;
    }
    Document& doc = *opened.document;

    bool allWritten = true;
    if (state.anyCodeSwitch())
        allWritten = runCodeSwitch(docs, doc, state, ui) && allWritten;
    if (state.swH || state.swHL) {
        allWritten = HtmlPage::fileSaveAsHTML(
                         doc.fsm, batchOutputPath(doc.fsm, QStringLiteral(".htm")), state.swHL, ui)
                     && allWritten;
    } else if (state.swW) {
        allWritten =
            HtmlPage::fileSaveAsEMF(doc.fsm, batchOutputPath(doc.fsm, QStringLiteral(".wmf")), ui)
            && allWritten;
    }
    if (state.swLS) {
        allWritten = DocumentCommands::writeListFile(
                         doc.fsm, ui, FlatGenerators::generateListFile(doc.fsm.diagram()))
                     && allWritten;
    }
    return allWritten ? 0 : 1;
}

}  // namespace orvane
