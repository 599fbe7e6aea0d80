#include "OutputPaths.h"

#include "FsmDocument.h"
#include "ProcessState.h"
#include "modLib_Rutas.h"

namespace orvane {

namespace {
const QChar kSep = QLatin1Char('/');
}

QString ReplaceExtension(const QString& path, const QString& extension)
{
    const qsizetype slash = path.lastIndexOf(kSep);
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    if (dot <= slash)
        return path + extension;
    return path.left(dot) + extension;
}

QString BatchOutputPath(const QString& documentPath, const QString& outputFolder,
                        const QString& extension)
{
    if (outputFolder.isEmpty())
        return ReplaceExtension(documentPath, extension);
    QString folder = outputFolder;
    if (!folder.endsWith(kSep))
        folder += kSep;
    return folder + modLib_Rutas::BaseName(documentPath) + extension;
}

QString BatchOutputPath(const FsmDocument& doc, const QString& extension)
{
    return BatchOutputPath(doc.sFullDocname, Process().outputFolder, extension);
}

}  // namespace orvane
