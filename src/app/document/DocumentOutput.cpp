// Writers of the generated C code and of the list file. Files are UTF-8
// without BOM and replaced whole, so a failed write leaves the old file.

#include "modMain_Files.h"

#include "FileHelpers.h"
#include "FsmDocument.h"
#include "OutputPaths.h"
#include "ProcessState.h"
#include "UserInterface.h"
#include "modLib_Log.h"
#include "modLib_Rutas.h"
#include "modStrings.h"

namespace orvane::modMain {

namespace {

const QString kCrLf = QStringLiteral("\r\n");

// Writes one output file; a protected file is refused. Failures go to the
// error log (and to a box when a user is there to read it).
bool WriteOutput(UserInterface& ui, bool interactive, const QString& routine, const QString& name,
                 const QString& text, bool replaceProtected)
{
    auto refuse = [&]() {
        if (interactive)
            ui.message(QStringLiteral("I can't save the changes in:") + kCrLf + name,
                       MessageIcon::Exclamation, QStringLiteral("Attention!"));
        modLib_Log::WriteErrorLog(QStringLiteral("Fsm can't save, access denied to file:[") + name
                                  + QLatin1Char(']'));
        return false;
    };
    if (replaceProtected)
        FileHelpers::MakeWritable(name);
    else if (FileHelpers::IsProtectedFile(name))
        return refuse();
    QString error;
    if (!FileHelpers::WriteTextFile(name, text + kCrLf, &error)) {
        modLib_Log::WriteLog(FileHelpers::ErrorLine(routine, FileHelpers::kFileAccessError,
                                                    name + QStringLiteral(": ") + error));
        return refuse();
    }
    return true;
}

}  // namespace

QString ProposedOutputName(const FsmDocument& doc, const QString& extension)
{
    return BatchOutputPath(doc, extension);
}

CodeParts SplitGeneratedCode(const QString& text)
{
    const QString& sep = modStrings::kSep;
    const qsizetype last = text.lastIndexOf(sep);
    if (last < 0)
        return {};
    // The search for the one before must not overlap the last separator.
    const qsizetype before = last >= sep.size() ? text.lastIndexOf(sep, last - sep.size()) : -1;
    if (before < 0)
        return {text.left(last), QString()};
    const qsizetype headerStart = before + sep.size();
    return {text.left(before), text.mid(headerStart, last - headerStart)};
}

bool SaveCodeFiles(const FsmDocument& doc, UserInterface& ui, const QString& text)
{
    const ProcessState& st = Process();
    const bool interactive = !st.anyCodeSwitch() && !st.batchMode;
    if (text.isEmpty()) {
        modLib_Log::WriteErrorLog(QStringLiteral("Code can't be created:[")
                                  + modLib_Rutas::FileNameOf(doc.sFullDocname) + QLatin1Char(']'));
        return false;
    }
    QString name = ProposedOutputName(doc, QStringLiteral(".c"));
    if (interactive) {
        name = ui.saveFileName(CodeSaveDialog(name));
        if (name.isEmpty())
            return false;
    }
    const BusyScope busy(ui);
    const CodeParts parts = SplitGeneratedCode(text);
    QString header = FileHelpers::WithoutExtension(name) + QStringLiteral(".h");
    if (FileHelpers::SamePath(header, name))  // a code file named x.h keeps its code
        header = name + QStringLiteral(".h");
    const QString routine = QStringLiteral("SaveCodeFiles");
    if (!WriteOutput(ui, interactive, routine, name, parts.code, false))
        return false;
    // The header that belongs to the code is replaced even when read-only.
    return WriteOutput(ui, interactive, routine, header, parts.header, true);
}

bool GenerarListado(const FsmDocument& doc, UserInterface& ui, const QString& listText)
{
    const ProcessState& st = Process();
    const bool interactive = !st.swLS && !st.batchMode;
    QString name = ProposedOutputName(doc, QStringLiteral(".lst"));
    if (interactive) {
        name = ui.saveFileName(ListSaveDialog(name));
        if (name.isEmpty())
            return false;
    }
    const BusyScope busy(ui);
    return WriteOutput(ui, interactive, QStringLiteral("GenerarListado"), name, listText, false);
}

}  // namespace orvane::modMain
