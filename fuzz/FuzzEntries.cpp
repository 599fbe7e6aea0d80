#include "FuzzEntries.h"

#include "DiagramPicture.h"
#include "FontTextMeasurer.h"
#include "FsmDocument.h"
#include "Messenger.h"
#include "ProcessState.h"
#include "Windows1252.h"
#include "FlatGenerators.h"
#include "HierarchicalGenerator.h"
#include "HtmlPage.h"
#include "CommandLine.h"
#include "ChildDiagrams.h"
#include "Generation.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonParseError>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>

namespace orvane::fuzz {

namespace {

QTemporaryDir* g_work = nullptr;

QString workPath(const char* name) { return g_work->filePath(QString::fromLatin1(name)); }

// A broken promise of the code under test: says which and stops, so the
// fuzzer keeps the input.
void check(bool ok, const char* what)
{
    if (ok)
        return;
    std::fprintf(stderr, "fuzz check failed: %s\n", what);
    std::fflush(stderr);
    std::abort();
}

QByteArray writeInput(const QString& path, const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    QFile f(path);
    check(f.open(QIODevice::WriteOnly | QIODevice::Truncate), "the input file can be written");
    check(f.write(bytes) == bytes.size(), "the input file is written whole");
    return bytes;
}

void touch(const QString& path)
{
    QFile f(path);
    check(f.open(QIODevice::WriteOnly), "the work folder can be filled");
}

// A child diagram for the hierarchical generator: states of the inputs that
// call CHILD() reach it beside the input and in the input's child folder.
// An input that calls fuzz() is its own child, a cycle the generator ends.
const char kChildDiagram[] = R"({"format": "fsm-diagram", "version": 1, "nodes": [
 {"id": 1, "left": 1000, "top": 1000, "width": 1500, "height": 900, "userData": 16384,
  "tag": "Wait\u00b7 \u00b7tick();\u00b7 \u00b71\u00b7 \u00b7on();\u00b7 \u00b7off();\u00b7 \u00b7N\u00b7 \u00b7N\u00b7 \u00b7\u00b7 \u00b7"},
 {"id": 2, "left": 4000, "top": 1000, "width": 1500, "height": 900, "userData": 32768,
  "tag": "Done\u00b7 \u00b7\u00b7 \u00b72\u00b7 \u00b7\u00b7 \u00b7\u00b7 \u00b7N\u00b7 \u00b7N\u00b7 \u00b7\u00b7 \u00b7"},
 {"id": 3, "left": 2500, "top": 1200, "width": 150, "height": 100, "userData": 2048,
  "tag": "1\u00b7 \u00b7ready\u00b7 \u00b7\u00b7 \u00b7Y\u00b7 \u00b7N\u00b7 \u00b7"},
 {"id": 4, "left": 0, "top": 0, "width": 100, "height": 100, "isFsmItem": false, "userData": 512,
  "tag": "FSM V0.4c\u00b7 \u00b7CHILD\u00b7 \u00b7\u00b7 \u00b7\u00b7 \u00b7&Hierarchical Switch Case...;FI_Y;FE_Y;HF_N;\u00b7 \u00b7\u00b7 \u00b7\u00b7 \u00b7\u00b7 \u00b7\u00b7 \u00b7\u00b7 \u00b7\u00b7 \u00b7"}],
 "links": [{"org": 1, "dst": 3, "arrowDst": 0}, {"org": 3, "dst": 2}]}
)";

// Opens child diagrams as the batch road does (load, then the load
// sequence) and keeps them until the generation ends.
class FileChildren : public ChildDocumentSource {
public:
    bool exists(const QString& fullPath) const override
    {
        return ChildDiagrams::isDiagramFile(fullPath);
    }
    const FsmDocument* openChild(const QString& fullPath, QString* error) override
    {
        if (const auto it = m_open.find(fullPath); it != m_open.end())
            return it->second.get();
        auto doc = std::make_unique<FsmDocument>();
        SilentMessenger quiet;
        if (!doc->diagram().loadFile(fullPath, error))
            return nullptr;
        doc->filePath = fullPath;
        if (!doc->afterLoad(OptionOverrides{}, quiet)) {
            if (error)
                *error = QStringLiteral("the diagram's records cannot be read");
            return nullptr;
        }
        return m_open.emplace(fullPath, std::move(doc)).first->second.get();
    }

private:
    std::map<QString, std::unique_ptr<FsmDocument>> m_open;
};

// The reader's verdict on JSON agrees with Qt's parser of whole documents:
// what that parser refuses is refused, and what it accepts is not called
// invalid JSON.
void checkJsonVerdict(const QByteArray& bytes, bool loaded, const QString& error)
{
    QJsonParseError perr;
    QJsonDocument::fromJson(bytes, &perr);
    if (perr.error != QJsonParseError::NoError)
        check(!loaded, "a file that is not JSON is refused");
    else
        check(!error.contains(QLatin1String("not valid JSON")), "valid JSON is read as JSON");
}

// Loads the file and runs the load sequence; false when either refuses.
bool open(FsmDocument& doc, const QString& path, const QByteArray& bytes)
{
    SilentMessenger quiet;
    QString error;
    const bool loaded = doc.diagram().loadFile(path, &error);
    checkJsonVerdict(bytes, loaded, error);
    if (!loaded) {
        check(error.contains(path), "a refused file is named in the message");
        check(doc.diagram().nodeCount() == 0, "a refused file leaves the diagram as it was");
        return false;
    }
    doc.filePath = path;
    return doc.afterLoad(OptionOverrides{}, quiet);
}

// What the generators make of a document, in a form that survives the file:
// the file stores UTF-8, so a lone surrogate comes back as U+FFFD.
struct Outputs {
    QString switchCase, pointers, pointerArray, hierarchical, list;
};

QString asStored(const QString& text) { return QString::fromUtf8(text.toUtf8()); }

// A module as one text to compare; empty when the generation was refused.
QString moduleText(const std::optional<GeneratedCode>& module)
{
    if (!module)
        return {};
    check(!module->code.isEmpty() && !module->header.isEmpty(), "a module has both files");
    return module->code + QStringLiteral("\n[header]\n") + module->header;
}

Outputs generate(const FsmDocument& doc)
{
    SilentMessenger quiet;
    FileChildren children;
    Outputs out;
    out.switchCase = moduleText(generateCode(Methodology::SwitchCase, doc, children, quiet));
    out.pointers = moduleText(generateCode(Methodology::DirectPointers, doc, children, quiet));
    out.pointerArray = moduleText(generateCode(Methodology::PointerArray, doc, children, quiet));
    out.hierarchical = moduleText(generateCode(Methodology::Hierarchical, doc, children, quiet));
    out.list = FlatGenerators::generateListFile(doc.diagram());
    check(out.list.startsWith(QLatin1String("[FSM LIST FILE START]"))
              && out.list.endsWith(QLatin1String("[FSM LIST FILE END]")),
          "the list file is complete");
    for (QString* text :
         {&out.switchCase, &out.pointers, &out.pointerArray, &out.hierarchical, &out.list})
        *text = asStored(*text);
    return out;
}

void checkPage(const FsmDocument& doc)
{
    for (const bool sameFolder : {false, true}) {
        const QString page = HtmlPage::htmlPageText(doc, QStringLiteral("fuzz"),
                                                    QStringLiteral("fuzz.wmf"), sameFolder);
        check(page.endsWith(QLatin1String("</HTML>\r\n")), "the page is complete");
        check(!Windows1252::encodeWithCharRefs(page).isEmpty(), "the page encodes");
    }
}

// True when the argument is one of the switches the command line knows.
bool isKnownSwitch(const QString& arg)
{
    static const char* const switches[] = {
        "/?",    "--help",    "-h",         "/CS",     "/CP",     "/CA",    "/CH",
        "/C",    "/LS",       "/HL",        "/H",      "/W",      "/D-",    "/D+",
        "/AC-",  "/AC+",      "/PT-",       "/PT+",    "/BF-",    "/BF+",   "--svg",
        "--png", "--mermaid", "--plantuml", "--scxml", "--check", "--lint", "--werror",
    };
    for (const char* sw : switches)
        if (arg.compare(QLatin1String(sw), Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

bool isValueSwitch(const QString& arg)
{
    return arg.startsWith(QLatin1String("/O"), Qt::CaseInsensitive)
           || arg.startsWith(QLatin1String("/E"), Qt::CaseInsensitive)
           || arg.startsWith(QLatin1String("--dpi="), Qt::CaseInsensitive)
           || arg.startsWith(QLatin1String("--picture="), Qt::CaseInsensitive)
           || arg.startsWith(QLatin1String("--depfile="));
}

// The part of a value switch that may appear once: "/O", "--DPI=", ...
QString valueSwitchKey(const QString& arg)
{
    const qsizetype equals = arg.indexOf(QLatin1Char('='));
    return (arg.startsWith(QLatin1String("--")) ? arg.left(equals + 1) : arg.left(2)).toUpper();
}

// A command line accepted without error holds one diagram path and nothing
// but switches, none of them twice.
void checkAccepted(const QStringList& args, const ProcessState& st)
{
    check(CommandLine::isFsmFile(st.pendingCommandLine),
          "an accepted command line names a diagram");
    int paths = 0;
    QStringList seen;
    for (const QString& a : args) {
        if (CommandLine::isFsmFile(a)) {
            ++paths;
            continue;
        }
        check(isKnownSwitch(a) || isValueSwitch(a), "an accepted command line has no stray text");
        const QString key = isValueSwitch(a) ? valueSwitchKey(a) : a.toUpper();
        check(!seen.contains(key), "an accepted command line repeats no switch");
        seen.append(key);
    }
    check(paths == 1, "an accepted command line names one diagram");
}

}  // namespace

void setup()
{
    if (g_work)
        return;
    g_work = new QTemporaryDir(QDir::tempPath() + QStringLiteral("/orvane-fuzz-XXXXXX"));
    check(g_work->isValid(), "a work folder can be made");
    const QDir work(g_work->path());
    for (const char* folder : {"dir", "out", "dir.fsm"})
        work.mkpath(QString::fromLatin1(folder));
    for (const char* file : {"a.fsm", "B.FSM", "dir/c.fsm", "two words.fsm", "plain.txt"})
        touch(workPath(file));
    work.mkpath(QStringLiteral("fuzz"));
    for (const char* child : {"CHILD.fsm", "fuzz/CHILD.fsm"})
        writeInput(workPath(child), reinterpret_cast<const std::uint8_t*>(kChildDiagram),
                   sizeof kChildDiagram - 1);
    qputenv("ORVANE_LOG_DIR", QFile::encodeName(g_work->path()));
}

void diagramFile(const std::uint8_t* data, std::size_t size)
{
    const QString input = workPath("fuzz.fsm");
    const QByteArray bytes = writeInput(input, data, size);
    FsmDocument doc;
    if (!open(doc, input, bytes))
        return;
    generate(doc);
    checkPage(doc);

    // Saving rewrites the record (name, signature, options); what the
    // document generates after the save is what the saved file must give.
    const QString saved = workPath("saved.fsm");
    SilentMessenger quiet;
    QString error;
    doc.beforeSave();
    const bool written = doc.diagram().saveFile(saved, &error);
    doc.afterSave(quiet);
    check(written, "a loaded diagram can be saved");
    const Outputs before = generate(doc);

    FsmDocument again;
    QString reloadError;
    check(again.diagram().loadFile(saved, &reloadError), "a saved diagram loads again");
    again.filePath = input;
    check(again.afterLoad(OptionOverrides{}, quiet), "a saved diagram opens again");
    const Outputs after = generate(again);
    check(after.list == before.list, "the saved diagram lists the same");
    check(after.switchCase == before.switchCase,
          "the saved diagram generates the same switch-case");
    check(after.pointers == before.pointers, "the saved diagram generates the same pointers");
    check(after.pointerArray == before.pointerArray,
          "the saved diagram generates the same pointer array");
    check(after.hierarchical == before.hierarchical,
          "the saved diagram generates the same hierarchical module");
}

void diagramPicture(const std::uint8_t* data, std::size_t size)
{
    const QString input = workPath("picture.fsm");
    const QByteArray bytes = writeInput(input, data, size);
    FsmDocument doc;
    doc.diagram().setTextMeasurer(std::make_shared<FontTextMeasurer>());
    if (!open(doc, input, bytes))
        return;
    const QByteArray wmf = DiagramPicture::toWmf(doc.diagram());
    check(wmf.startsWith(QByteArray::fromHex("d7cdc69a")), "the metafile is placeable");
    check(DiagramPicture::toSvg(doc.diagram()).contains("</svg>"), "the SVG is complete");

    // The page export adds a margin node for the time it draws; afterwards
    // the diagram is as it was.
    const int nodes = doc.diagram().nodeCount();
    const size_t links = doc.diagram().links().size();
    SilentMessenger quiet;
    check(HtmlPage::fileSaveAsHTML(doc, workPath("picture.htm"), false, quiet),
          "the page is written");
    check(doc.diagram().nodeCount() == nodes && doc.diagram().links().size() == links,
          "the page export leaves the diagram as it was");
}

void commandLine(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    QStringList args;
    if (!bytes.isEmpty())
        for (const QByteArray& a : bytes.split('\0'))
            args.append(QString::fromLocal8Bit(a));

    // Relative arguments name the work folder's files; the fuzzer itself
    // reads its inputs relative to the folder it was started in.
    const QString started = QDir::currentPath();
    check(QDir::setCurrent(g_work->path()), "the work folder is the current folder");
    ProcessState st;
    bool error = false;
    const CommandLine::Road road = CommandLine::parseCommandLine(args, st, error);
    if (road == CommandLine::Road::Batch)
        check(!error && st.batchMode, "batch mode runs only from a sound command line");
    if (road == CommandLine::Road::ImportScxml)
        check(!error && !st.importScxml.isEmpty(), "an import names its SCXML document");
    else if (!error && road != CommandLine::Road::Help && road != CommandLine::Road::Version
             && !args.isEmpty())
        checkAccepted(args, st);
    if (error)
        check(st.pendingCommandLine.isEmpty(), "a bad command line names no diagram");
    // The logs would grow with every input.
    QFile::remove(workPath("FSM_ERR.log"));
    QFile::remove(workPath("FSM.log"));
    QDir::setCurrent(started);
}

}  // namespace orvane::fuzz
