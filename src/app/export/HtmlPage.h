#pragma once
// The HTML page that documents a diagram (picture, machine texts, links to
// the pages of its child diagrams) and the picture export to a file. Every
// export takes its target path from the caller: the
// windows ask the user for it, batch mode passes batchOutputPath.

#include <QByteArray>
#include <QString>

namespace orvane {
class FsmDocument;
class Messenger;
}  // namespace orvane

namespace orvane::HtmlPage {

// A text for the page: each line (cut at CR, LF dropped) preceded by
// `indent` times "&nbsp;" and all but the last followed by "<BR>" CR LF;
// < > & " | ¡ and the blank become character references.
QString htmlEscape(const QString& text, int indent);

// "<BR>" CR LF, then one "<A HREF=...>NAME.htm</A><BR>" CR LF per child
// diagram, in the order of the child list. With sameFolder the links point
// to "./NAME.htm" (all pages in one folder), otherwise to the child page
// beside the child diagram ("./NAME.htm" or "./TOP/NAME.htm").
QString htmlLinks(const FsmDocument& doc, bool sameFolder);

// The 26 lines of the page (CR LF after each), for the page file title
// `name` and the picture file name `picture`.
QString htmlPageText(const FsmDocument& doc, const QString& name, const QString& picture,
                     bool sameFolder);

// Writes the page to `path` and its picture beside it (the page's path with
// ".wmf"). The document is left as it was, not marked changed. A failure is
// written to the debug log as " FileSaveAsHTML, Error #" + number + ": " +
// description and shown through the messenger; the result is then false.
bool fileSaveAsHTML(FsmDocument& doc, const QString& path, bool sameFolder, Messenger& messenger);

// Writes the picture alone to `path`; failures as above with
// " FileSaveAsEMF, Error #".
bool fileSaveAsEMF(FsmDocument& doc, const QString& path, Messenger& messenger);

// The picture files besides the metafile.
enum class PictureFormat { Wmf, Svg, Png };

// ".wmf", ".svg" or ".png".
QString pictureExtension(PictureFormat format);

// As fileSaveAsHTML, with the page showing a picture of that format (the
// page's path with its extension). With Wmf the files are exactly
// fileSaveAsHTML's.
bool fileSaveAsHTMLWithPicture(FsmDocument& doc, const QString& path, bool sameFolder,
                               PictureFormat format, Messenger& messenger);

// The picture alone in that format at `dotsPerInch` (the metafile keeps its
// twips whatever the resolution). Failures as above with " FileSaveAsEMF",
// " FileSaveAsSVG" or " FileSaveAsPNG".
bool fileSaveAsPicture(FsmDocument& doc, const QString& path, PictureFormat format,
                       double dotsPerInch, Messenger& messenger);

// Writes an export's bytes to `path` through the safe writer; a failure is
// logged and shown as the exports above do, under the routine's name.
bool writeExportFile(const QString& routine, const QString& path, const QByteArray& bytes,
                     Messenger& messenger);

}  // namespace orvane::HtmlPage
