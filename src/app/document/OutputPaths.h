#pragma once
// Names of the files that the outputs of a document are written to: code,
// header, list, page and picture files.

#include <QString>

namespace orvane {

class FsmDocument;

// The path with the extension of its file name replaced by `extension`
// (given with its dot, ".htm"); a file name without extension gets it
// appended. Dots in folder names are left alone.
QString replaceExtension(const QString& path, const QString& extension);

// Where an output of the document at `documentPath` goes without a dialog:
// outputFolder + "/" + the document's file title + extension when an output
// folder is given, otherwise the document's path with its extension replaced.
QString batchOutputPath(const QString& documentPath, const QString& outputFolder,
                        const QString& extension);

// The same for a document, with the output folder of the command line (/O).
QString batchOutputPath(const FsmDocument& doc, const QString& extension);

}  // namespace orvane
