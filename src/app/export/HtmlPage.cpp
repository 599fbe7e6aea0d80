#include "HtmlPage.h"

#include "DiagramPicture.h"
#include "FsmDocument.h"
#include "Messenger.h"
#include "OutputPaths.h"
#include "Windows1252.h"
#include "ChildDiagrams.h"
#include "MachineInfo.h"
#include "Logs.h"
#include "Paths.h"
#include "SafeFileWriter.h"
#include "States.h"

#include <algorithm>
#include <utility>

namespace orvane::HtmlPage {

namespace {

const QString kCrLf = QStringLiteral("\r\n");
constexpr double kMarginSize = 1000.0;

// File names put into the page: ordinary names stay as they are, but a
// name holding & < > or " cannot break the markup.
QString markupSafe(const QString& text) { return text.toHtmlEscaped(); }

struct FileError {
    int number = 0;  // 0: written
    QString description;
    QString path;
    SafeFileWriter::WriteResult result;
};

// A read-only target is "Permission denied" (70); anything else that stops
// the write is a path or file access error (75) with the system's reason.
FileError writeFile(const QString& path, const QByteArray& bytes)
{
    SafeFileWriter::WriteOptions options;
    options.durable = false;  // made again from the diagram at will
    const SafeFileWriter::WriteResult result =
        SafeFileWriter::writeFileSafely(path, bytes, options);
    if (result.ok())
        return {};
    const QString where = QStringLiteral(" [") + path + QLatin1Char(']');
    if (result.readOnly)
        return {70, QStringLiteral("Permission denied") + where, path, result};
    return {75,
            QStringLiteral("Path/File access error") + where + QStringLiteral(": ") + result.reason,
            path, result};
}

// A failure goes to the debug log, to the user through the messenger (a
// box, or standard error in batch mode) and to the error log.
bool report(const QString& routine, const FileError& error, Messenger& messenger)
{
    if (error.number == 0)
        return true;
    const QString text = QLatin1Char(' ') + routine + QStringLiteral(", Error #")
                         + QString::number(error.number) + QStringLiteral(": ") + error.description;
    Logs::writeLog(text);
    messenger.message(text, MessageIcon::Exclamation);
    Logs::writeErrorLog(Logs::cantSaveRecord(error.path, error.result));
    return false;
}

// What an export changes on the document only for the time it runs: the
// grid display, the changed flag and the margin node. The destructor puts
// everything back, whichever way the export ends.
class ExportScope {
public:
    explicit ExportScope(Diagram& d) : m_diagram(d), m_grid(d.showGrid()), m_changed(d.changed())
    {
        d.setShowGrid(false);
    }
    ~ExportScope()
    {
        removeMargin();
        m_diagram.setShowGrid(m_grid);
        m_diagram.setChanged(m_changed);
    }
    ExportScope(const ExportScope&) = delete;
    ExportScope& operator=(const ExportScope&) = delete;

    // A 1000 x 1000 twips node beyond the lower right corner of all nodes
    // keeps a margin on the right and at the bottom of the picture.
    void addMargin()
    {
        m_redraw = m_diagram.redraw();
        m_diagram.setRedraw(false);
        double right = 0, bottom = 0;
        for (const auto& n : m_diagram.nodes()) {
            right = std::max(right, n->left() + n->width());
            bottom = std::max(bottom, n->top() + n->height());
        }
        m_margin = m_diagram.addNode(right, bottom, kMarginSize, kMarginSize);
        m_margin->setUserData(NodeMargin);
        m_margin->setIsFsmItem(false);
    }

    // Deletes the margin node; the user's selection stays as it was. Only
    // the node added here goes: a node of the file whose kind bits happen
    // to include the margin's belongs to the user.
    void removeMargin()
    {
        if (!m_margin)
            return;
        m_diagram.deleteNode(std::exchange(m_margin, nullptr));
        m_diagram.setRedraw(m_redraw);
    }

private:
    Diagram& m_diagram;
    bool m_grid, m_changed;
    bool m_redraw = true;
    Node* m_margin = nullptr;
};

}  // namespace

QString htmlEscape(const QString& text, int indent)
{
    QString prefix;
    for (int i = 0; i < indent; ++i)
        prefix += QStringLiteral("&nbsp;");
    QString out, line;
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '\r':
            out += prefix + line + QStringLiteral("<BR>") + kCrLf;
            line.clear();
            break;
        case '\n':
            break;
        case '<':
            line += QStringLiteral("&lt;");
            break;
        case '>':
            line += QStringLiteral("&gt;");
            break;
        case '&':
            line += QStringLiteral("&amp;");
            break;
        case '"':
            line += QStringLiteral("&quot;");
            break;
        case '|':
            line += QStringLiteral("&brvbar;");
            break;
        case 0x00A1:
            line += QStringLiteral("&iexcl;");
            break;
        case ' ':
            line += QStringLiteral("&#32;");
            break;
        default:
            line += c;
            break;
        }
    }
    return out + prefix + line;
}

QString htmlLinks(const FsmDocument& doc, bool sameFolder)
{
    QString out = QStringLiteral("<BR>") + kCrLf;
    // Children are files beside the document's file; a document that was
    // never saved has none (rather than those of the current folder).
    if (doc.filePath.isEmpty())
        return out;
    ChildDiagrams references;
    references.reset(doc.filePath);
    references.scanDiagram(doc.diagram());
    for (const QString& child : references.children()) {
        QString target = replaceExtension(references.relativePath(child), QStringLiteral(".htm"));
        if (sameFolder)
            target = QStringLiteral("./") + Paths::fileNameOf(target);
        out += QStringLiteral("<A HREF=\"") + markupSafe(target) + QStringLiteral("\">")
               + markupSafe(Paths::fileNameOf(target)) + QStringLiteral("</A><BR>") + kCrLf;
    }
    return out;
}

QString htmlPageText(const FsmDocument& doc, const QString& name, const QString& picture,
                     bool sameFolder)
{
    const MachineConfig config = machineConfig(doc.diagram());
    const auto field = [&config](const QString MachineConfig::*text) {
        return htmlEscape(config.*text, 4);
    };
    const auto section = [&field](const char* heading, const QString MachineConfig::*text) {
        return QStringLiteral("<p><U><B>") + QLatin1String(heading)
               + QStringLiteral(":</B></U><BR>") + kCrLf + field(text) + QStringLiteral("</p>");
    };
    const QStringList lines = {
        QStringLiteral("<HTML>"),
        QStringLiteral("<HEAD>"),
        QStringLiteral(
            "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=windows-1252\">"),
        QStringLiteral("<META NAME=\"Generator\" CONTENT=\"Orvane Editor Diagram\">"),
        QStringLiteral("<TITLE>") + markupSafe(name) + QStringLiteral("</TITLE>"),
        QStringLiteral("</HEAD>"),
        QStringLiteral("<BODY>"),
        QStringLiteral("<FONT SIZE=2><P ALIGN=\"LEFT\"><IMG SRC=\"") + markupSafe(picture)
            + QStringLiteral("\"></P>"),
        QStringLiteral("<p><U><B>FSM function name:</B></U><BR>") + field(&MachineConfig::name)
            + QStringLiteral("</p>"),
        section("Parameters", &MachineConfig::params),
        section("Module header", &MachineConfig::moduleHeader),
        section("Global initialization", &MachineConfig::init),
        section("Function header", &MachineConfig::functionHeader),
        section("Global actions (before FSM analysis)", &MachineConfig::before),
        section("Global actions (after FSM analysis)", &MachineConfig::after),
        section("Global final (out of FSM function)", &MachineConfig::finalActions),
        QStringLiteral("<p><U><B>Links:</B></U>&nbsp;&nbsp;&nbsp;&nbsp;")
            + htmlLinks(doc, sameFolder) + QStringLiteral("</FONT></p>"),
        QStringLiteral("</BODY>"),
        QStringLiteral("</HTML>"),
    };
    return lines.join(kCrLf) + kCrLf;
}

namespace {

QByteArray pictureBytes(const Diagram& diagram, PictureFormat format, double dotsPerInch)
{
    switch (format) {
    case PictureFormat::Svg:
        return DiagramPicture::toSvg(diagram, dotsPerInch);
    case PictureFormat::Png:
        return DiagramPicture::toPng(diagram, dotsPerInch);
    case PictureFormat::Wmf:
        break;
    }
    return DiagramPicture::toWmf(diagram);
}

}  // namespace

QString pictureExtension(PictureFormat format)
{
    switch (format) {
    case PictureFormat::Svg:
        return QStringLiteral(".svg");
    case PictureFormat::Png:
        return QStringLiteral(".png");
    case PictureFormat::Wmf:
        break;
    }
    return QStringLiteral(".wmf");
}

bool fileSaveAsHTML(FsmDocument& doc, const QString& path, bool sameFolder, Messenger& messenger)
{
    return fileSaveAsHTMLWithPicture(doc, path, sameFolder, PictureFormat::Wmf, messenger);
}

bool fileSaveAsHTMLWithPicture(FsmDocument& doc, const QString& path, bool sameFolder,
                               PictureFormat format, Messenger& messenger)
{
    const QString routine = QStringLiteral("FileSaveAsHTML");
    const QString picturePath = replaceExtension(path, pictureExtension(format));
    FileError error;
    {
        ExportScope scope(doc.diagram());
        const QString page =
            htmlPageText(doc, Paths::baseName(path), Paths::fileNameOf(picturePath), sameFolder);
        scope.addMargin();
        const QByteArray picture = pictureBytes(doc.diagram(), format, 96.0);
        scope.removeMargin();
        error = writeFile(picturePath, picture);
        if (error.number == 0)
            error = writeFile(path, Windows1252::encodeWithCharRefs(page));
    }
    return report(routine, error, messenger);
}

bool fileSaveAsEMF(FsmDocument& doc, const QString& path, Messenger& messenger)
{
    return fileSaveAsPicture(doc, path, PictureFormat::Wmf, 96.0, messenger);
}

bool fileSaveAsPicture(FsmDocument& doc, const QString& path, PictureFormat format,
                       double dotsPerInch, Messenger& messenger)
{
    FileError error;
    {
        ExportScope scope(doc.diagram());
        const QByteArray picture = pictureBytes(doc.diagram(), format, dotsPerInch);
        if (picture.isEmpty()) {
            // No image memory for the drawing: nothing is written, and the
            // run says so instead of leaving an empty file.
            const QString reason = QStringLiteral("the picture cannot be drawn");
            error = {
                75,
                QStringLiteral("Path/File access error [") + path + QStringLiteral("]: ") + reason,
                path, SafeFileWriter::WriteResult{SafeFileWriter::WriteStatus::Failed, reason}};
        } else {
            error = writeFile(path, picture);
        }
    }
    const char* routine = format == PictureFormat::Svg   ? "FileSaveAsSVG"
                          : format == PictureFormat::Png ? "FileSaveAsPNG"
                                                         : "FileSaveAsEMF";
    return report(QString::fromLatin1(routine), error, messenger);
}

bool writeExportFile(const QString& routine, const QString& path, const QByteArray& bytes,
                     Messenger& messenger)
{
    return report(routine, writeFile(path, bytes), messenger);
}

}  // namespace orvane::HtmlPage
