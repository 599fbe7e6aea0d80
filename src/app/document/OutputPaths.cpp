#include "OutputPaths.h"

#include "FsmDocument.h"
#include "ProcessState.h"
#include "Paths.h"

namespace orvane {

namespace {
const QChar kSep = QLatin1Char('/');
}

QString replaceExtension(const QString& path, const QString& extension)
{
    const qsizetype slash = path.lastIndexOf(kSep);
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    if (dot <= slash)
        return path + extension;
    return path.left(dot) + extension;
}

QString batchOutputPath(const QString& documentPath, const QString& outputFolder,
                        const QString& extension)
{
    if (outputFolder.isEmpty())
        return replaceExtension(documentPath, extension);
    QString folder = outputFolder;
    if (!folder.endsWith(kSep))
        folder += kSep;
    return folder + Paths::baseName(documentPath) + extension;
}

QString batchOutputPath(const FsmDocument& doc, const QString& extension)
{
    return batchOutputPath(doc.filePath, process().outputFolder, extension);
}

}  // namespace orvane
