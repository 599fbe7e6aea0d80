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
#include "SafeFileWriter.h"

namespace orvane::DocumentCommands {

namespace {

const QString kCrLf = QStringLiteral("\r\n");

// Writes one output file; a protected file is refused, and a file that
// already holds the text is left as it is. A failure is told to the user
// (a box, or standard error in batch mode) and recorded in the error log,
// both with the reason.
bool writeOutput(UserInterface& ui, const QString& routine, const QString& name,
                 const QString& text, bool replaceReadOnly)
{
    SafeFileWriter::WriteOptions options;
    options.replaceReadOnly = replaceReadOnly;
    options.durable = false;  // made again from the diagram at will
    // Converted first and the line break added to the bytes: a module of
    // tens of megabytes is not copied once more as text.
    QByteArray bytes = text.toUtf8();
    bytes += "\r\n";
    const SafeFileWriter::WriteResult result =
        SafeFileWriter::writeFileSafely(name, bytes, options);
    if (result.ok())
        return true;
    if (result.status == SafeFileWriter::WriteStatus::Failed)
        Logs::writeLog(FileHelpers::errorLine(routine, FileHelpers::kFileAccessError,
                                              name + QStringLiteral(": ") + result.reason));
    ui.message(QStringLiteral("I can't save the changes in:") + kCrLf + name + kCrLf
                   + result.reason,
               MessageIcon::Exclamation, QStringLiteral("Attention!"));
    Logs::writeErrorLog(Logs::cantSaveRecord(name, result));
    return false;
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
    if (!writeOutput(ui, routine, name, module->code, false))
        return false;
    // The header that belongs to the code is replaced even when read-only.
    return writeOutput(ui, routine, header, module->header, true);
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
    return writeOutput(ui, QStringLiteral("GenerarListado"), name, listText, false);
}

}  // namespace orvane::DocumentCommands
