// Writers of the generated C code and of the list file. Files are UTF-8
// without BOM and replaced whole, so a failed write leaves the old file.

#include "DocumentCommands.h"

#include "FileHelpers.h"
#include "FsmDocument.h"
#include "OutputPaths.h"
#include "ProcessState.h"
#include "UserInterface.h"
#include "Logs.h"
#include "Paths.h"

namespace orvane::DocumentCommands {

namespace {

const QString kCrLf = QStringLiteral("\r\n");

// Writes one output file; a protected file is refused. Failures go to the
// error log (and to a box when a user is there to read it).
bool writeOutput(UserInterface& ui, bool interactive, const QString& routine, const QString& name,
                 const QString& text, bool replaceProtected)
{
    auto refuse = [&]() {
        if (interactive)
            ui.message(QStringLiteral("I can't save the changes in:") + kCrLf + name,
                       MessageIcon::Exclamation, QStringLiteral("Attention!"));
        Logs::writeErrorLog(QStringLiteral("Fsm can't save, access denied to file:[") + name
                            + QLatin1Char(']'));
        return false;
    };
    if (replaceProtected)
        FileHelpers::makeWritable(name);
    else if (FileHelpers::isProtectedFile(name))
        return refuse();
    QString error;
    if (!FileHelpers::writeTextFile(name, text + kCrLf, &error)) {
        Logs::writeLog(FileHelpers::errorLine(routine, FileHelpers::kFileAccessError,
                                              name + QStringLiteral(": ") + error));
        return refuse();
    }
    return true;
}

}  // namespace

QString proposedOutputName(const FsmDocument& doc, const QString& extension)
{
    return batchOutputPath(doc, extension);
}

bool saveCodeFiles(const FsmDocument& doc, UserInterface& ui,
                   const std::optional<GeneratedCode>& module)
{
    const ProcessState& st = process();
    const bool interactive = !st.anyCodeSwitch() && !st.batchMode;
    if (!module) {
        Logs::writeErrorLog(QStringLiteral("Code can't be created:[")
                            + Paths::fileNameOf(doc.filePath) + QLatin1Char(']'));
        return false;
    }
    QString name = proposedOutputName(doc, QStringLiteral(".c"));
    if (interactive) {
        name = ui.saveFileName(codeSaveDialog(name));
        if (name.isEmpty())
            return false;
    }
    const BusyScope busy(ui);
    QString header = FileHelpers::withoutExtension(name) + QStringLiteral(".h");
    if (FileHelpers::samePath(header, name))  // a code file named x.h keeps its code
        header = name + QStringLiteral(".h");
    const QString routine = QStringLiteral("SaveCodeFiles");
    if (!writeOutput(ui, interactive, routine, name, module->code, false))
        return false;
    // The header that belongs to the code is replaced even when read-only.
    return writeOutput(ui, interactive, routine, header, module->header, true);
}

bool writeListFile(const FsmDocument& doc, UserInterface& ui, const QString& listText)
{
    const ProcessState& st = process();
    const bool interactive = !st.swLS && !st.batchMode;
    QString name = proposedOutputName(doc, QStringLiteral(".lst"));
    if (interactive) {
        name = ui.saveFileName(listSaveDialog(name));
        if (name.isEmpty())
            return false;
    }
    const BusyScope busy(ui);
    return writeOutput(ui, interactive, QStringLiteral("GenerarListado"), name, listText, false);
}

}  // namespace orvane::DocumentCommands
