#include "Batch.h"

#include "BuildSupport.h"
#include "CoverageRun.h"
#include "Diagnostics.h"
#include "Document.h"
#include "DocumentRegistry.h"
#include "GenerationCommands.h"
#include "Lint.h"
#include "OutputPaths.h"
#include "ProcessState.h"
#include "UserInterface.h"
#include "FlatGenerators.h"
#include "Logs.h"
#include "DocumentCommands.h"
#include "Modules.h"
#include "ScxmlImport.h"

#include <QCoreApplication>
#include <QFile>
#include <QScopeGuard>
#include <QTemporaryDir>

#include <memory>

namespace orvane {

namespace {

// The C code switch that runs: the first of /CS, /CP, /CA, /CH, /C.
bool runCodeSwitch(DocumentRegistry& docs, Document& doc, const ProcessState& st, UserInterface& ui,
                   QStringList& childrenRead)
{
    using GenerationCommands::generateCCode;
    if (st.swCS)
        return generateCCode(docs, doc, Methodology::SwitchCase, ui, &childrenRead);
    if (st.swCP)
        return generateCCode(docs, doc, Methodology::DirectPointers, ui, &childrenRead);
    if (st.swCA)
        return generateCCode(docs, doc, Methodology::PointerArray, ui, &childrenRead);
    if (st.swCH)
        return generateCCode(docs, doc, Methodology::Hierarchical, ui, &childrenRead);
    // /C without a default methodology generates nothing and is a failure.
    return GenerationCommands::generateDefaultCCode(docs, doc, ui, &childrenRead)
           == GenerationCommands::DefaultResult::Written;
}

// The pictures and text formats besides the page and the metafile, in the
// order BuildSupport::outputFiles lists them. The page's SVG picture
// already is the one --svg asks for.
bool writeOtherOutputs(Document& doc, const ProcessState& state, const PictureModule* pictures,
                       UserInterface& ui)
{
    struct Other {
        bool requested;
        OtherOutput kind;
        const char* extension;
    };
    const Other others[] = {
        {state.swSvg && !(state.pageSvg && (state.swH || state.swHL)), OtherOutput::Svg, ".svg"},
        {state.swPng, OtherOutput::Png, ".png"},
        {state.swMermaid, OtherOutput::Mermaid, ".mmd"},
        {state.swPlantUml, OtherOutput::PlantUml, ".puml"},
        {state.swScxml, OtherOutput::Scxml, ".scxml"},
    };
    bool allWritten = true;
    for (const Other& other : others) {
        if (!other.requested)
            continue;
        const QString path = batchOutputPath(doc.fsm, QString::fromLatin1(other.extension));
        allWritten =
            pictures->writeOther(doc.fsm, path, other.kind, state.dotsPerInch, ui) && allWritten;
    }
    return allWritten;
}

// Every requested output of the document, written where batchOutputPath
// says. True when all were written; `childrenRead` receives the child
// diagram files the code generation read.
bool writeOutputs(DocumentRegistry& docs, Document& doc, const ProcessState& state,
                  const PictureModule* pictures, UserInterface& ui, QStringList& childrenRead)
{
    bool allWritten = true;
    if (state.anyCodeSwitch())
        allWritten = runCodeSwitch(docs, doc, state, ui, childrenRead) && allWritten;
    if ((state.swH || state.swHL) && state.pageSvg) {
        allWritten = pictures->writeSvgPage(
                         doc.fsm, batchOutputPath(doc.fsm, QStringLiteral(".htm")), state.swHL, ui)
                     && allWritten;
    } else if (state.swH || state.swHL) {
        allWritten = pictures->writePage(doc.fsm, batchOutputPath(doc.fsm, QStringLiteral(".htm")),
                                         state.swHL, ui)
                     && allWritten;
    } else if (state.swW) {
        allWritten =
            pictures->writePicture(doc.fsm, batchOutputPath(doc.fsm, QStringLiteral(".wmf")), ui)
            && allWritten;
    }
    if (state.swLS) {
        allWritten = DocumentCommands::writeListFile(
                         doc.fsm, ui, FlatGenerators::generateListFile(doc.fsm.diagram()))
                     && allWritten;
    }
    allWritten = writeOtherOutputs(doc, state, pictures, ui) && allWritten;
    return allWritten;
}

// --check: the outputs are made in a private folder, compared with the files
// in place and thrown away. Status 0 when every file is current.
int checkOutputs(DocumentRegistry& docs, Document& doc, ProcessState& state,
                 const PictureModule* pictures, UserInterface& ui, const QString& shownPath)
{
    QTemporaryDir scratch;
    if (!scratch.isValid()) {
        Diagnostics::print(Diagnostics::format(shownPath, Diagnostics::Severity::Error,
                                               QStringLiteral("cannot make a temporary folder: ")
                                                   + scratch.errorString()));
        return 1;
    }
    const QString outputFolder = state.outputFolder;
    state.outputFolder = scratch.path();
    QStringList childrenRead;
    const bool made = writeOutputs(docs, doc, state, pictures, ui, childrenRead);
    state.outputFolder = outputFolder;
    if (!made)
        return 1;

    const QStringList fresh = BuildSupport::outputFiles(state, doc.fsm.filePath, scratch.path());
    const QStringList inPlace = BuildSupport::outputFiles(state, shownPath, outputFolder);
    const QStringList outdated = BuildSupport::outdatedFiles(fresh, inPlace);
    for (const QString& file : outdated) {
        const bool missing = !QFile::exists(file);
        Diagnostics::print(Diagnostics::format(
            file, Diagnostics::Severity::Error,
            (missing ? QStringLiteral("missing, ") : QStringLiteral("not current, ")) + shownPath
                + QStringLiteral(" generates it")));
    }
    return outdated.isEmpty() ? 0 : 1;
}

}  // namespace

int runBatch(int argc, char** argv, ProcessState& state)
{
    state.batchMode = true;
    const QString path = state.pendingCommandLine;
    BatchUserInterface ui(path);

    // Only a page, picture or other-format switch opens the drawing library
    // (Qt Gui and the fonts); code and list files need neither.
    const bool drawing =
        !state.lint && (state.swH || state.swHL || state.swW || state.anyOtherFormat());
    const bool coverage = !state.lint && !state.coverageTrace.isEmpty();
    const PictureModule* pictures = nullptr;
    std::unique_ptr<QCoreApplication> app;
    if (drawing || coverage) {
        QString error;
        pictures = Modules::pictureModule(&error);
        if (!pictures) {
            ui.message(error);
            return 1;
        }
        app.reset(pictures->createApplication(argc, argv));
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }

    DocumentRegistry docs(ui);
    const DocumentCommands::OpenResult opened = DocumentCommands::fileOpen(docs, path);
    if (!opened.ok() || !opened.document || opened.document->caption().isEmpty()) {
        if (!opened.error.isEmpty())
            ui.message(opened.error);
        Logs::writeErrorLog(QStringLiteral("Fsm error loading:[") + path + QLatin1Char(']'));
        return 1;
    }
    Document& doc = *opened.document;
    // A refusal about one state of the diagram points at that state.
    ui.setLocator([&doc](const QString& text, int& line, QString& stateName) {
        return Lint::locate(doc, text, line, stateName);
    });
    const auto forgetLocator = qScopeGuard([&ui] { ui.setLocator({}); });

    if (state.lint)
        return Lint::run(docs, doc, path, state.swCH, state.warningsAreErrors);
    if (coverage)
        return CoverageRun::run(docs, doc, state, path, pictures, ui);
    if (state.checkOnly)
        return checkOutputs(docs, doc, state, pictures, ui, path);

    QStringList childrenRead;
    if (!writeOutputs(docs, doc, state, pictures, ui, childrenRead))
        return 1;
    if (!state.depFile.isEmpty()) {
        QString error;
        // Named as the command line names them, as a Make rule would.
        const QStringList targets = BuildSupport::outputFiles(state, path, state.outputFolder);
        if (!BuildSupport::writeDependencyFile(state.depFile, targets,
                                               QStringList{path} + childrenRead, &error)) {
            ui.message(QStringLiteral("cannot write the dependency file ") + state.depFile
                       + QStringLiteral(": ") + error);
            return 1;
        }
    }
    return 0;
}

int runScxmlImport(int argc, char** argv, ProcessState& state)
{
    const QCoreApplication app(argc, argv);
    const QString source = state.importScxml;
    const ScxmlImport::Result result = ScxmlImport::importFile(source, state.outputFolder);
    for (const QString& warning : result.warnings)
        Diagnostics::print(Diagnostics::format(source, Diagnostics::Severity::Warning, warning));
    if (!result.ok) {
        Diagnostics::print(Diagnostics::format(source, Diagnostics::Severity::Error, result.error));
        Logs::writeErrorLog(QStringLiteral("Fsm error loading:[") + source + QLatin1Char(']'));
        return 1;
    }
    return 0;
}

}  // namespace orvane
