#include "FuzzEntries.h"

#include "DiagramPicture.h"
#include "FontTextMeasurer.h"
#include "FsmDocument.h"
#include "Messenger.h"
#include "ProcessState.h"
#include "Windows1252.h"
#include "modC_CodeGen.h"
#include "modC_CodeGenHSC.h"
#include "modHTML.h"
#include "modMain.h"
#include "modStrings.h"

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

QString WorkPath(const char* name)
{
    return g_work->filePath(QString::fromLatin1(name));
}

// A broken promise of the code under test: says which and stops, so the
// fuzzer keeps the input.
void Check(bool ok, const char* what)
{
    if (ok)
        return;
    std::fprintf(stderr, "fuzz check failed: %s\n", what);
    std::fflush(stderr);
    std::abort();
}

QByteArray WriteInput(const QString& path, const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    QFile f(path);
    Check(f.open(QIODevice::WriteOnly | QIODevice::Truncate), "the input file can be written");
    Check(f.write(bytes) == bytes.size(), "the input file is written whole");
    return bytes;
}

void Touch(const QString& path)
{
    QFile f(path);
    Check(f.open(QIODevice::WriteOnly), "the work folder can be filled");
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
    const FsmDocument* OpenChild(const QString& fullPath, QString* error) override
    {
        if (const auto it = m_open.find(fullPath); it != m_open.end())
            return it->second.get();
        auto doc = std::make_unique<FsmDocument>();
        SilentMessenger quiet;
        if (!doc->diagram().loadFile(fullPath, error))
            return nullptr;
        doc->sFullDocname = fullPath;
        if (!doc->AfterLoad(OptionOverrides{}, quiet)) {
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
void CheckJsonVerdict(const QByteArray& bytes, bool loaded, const QString& error)
{
    QJsonParseError perr;
    QJsonDocument::fromJson(bytes, &perr);
    if (perr.error != QJsonParseError::NoError)
        Check(!loaded, "a file that is not JSON is refused");
    else
        Check(!error.contains(QLatin1String("not valid JSON")), "valid JSON is read as JSON");
}

// Loads the file and runs the load sequence; false when either refuses.
bool Open(FsmDocument& doc, const QString& path, const QByteArray& bytes)
{
    SilentMessenger quiet;
    QString error;
    const bool loaded = doc.diagram().loadFile(path, &error);
    CheckJsonVerdict(bytes, loaded, error);
    if (!loaded) {
        Check(error.contains(path), "a refused file is named in the message");
        Check(doc.diagram().nodeCount() == 0, "a refused file leaves the diagram as it was");
        return false;
    }
    doc.sFullDocname = path;
    return doc.AfterLoad(OptionOverrides{}, quiet);
}

// What the generators make of a document, in a form that survives the file:
// the file stores UTF-8, so a lone surrogate comes back as U+FFFD.
struct Outputs {
    QString switchCase, pointers, pointerArray, hierarchical, list;
};

QString AsStored(const QString& text)
{
    return QString::fromUtf8(text.toUtf8());
}

Outputs Generate(const FsmDocument& doc)
{
    SilentMessenger quiet;
    Outputs out;
    out.switchCase = modC_CodeGen::GenerateCodeSwitchCase(doc, quiet);
    out.pointers = modC_CodeGen::GenerateCodePointers(doc, quiet);
    out.pointerArray = modC_CodeGen::GenerateCodePointerArray(doc, quiet);
    FileChildren children;
    out.hierarchical = modC_CodeGenHSC::GenerateCodeHierarchical(doc, children, quiet);
    out.list = modC_CodeGen::GenerateListFile(doc.diagram());
    // The hierarchical module with ANSI comments has a line end after it.
    for (const QString* code : {&out.switchCase, &out.pointers, &out.pointerArray, &out.hierarchical})
        Check(code->isEmpty() || code->endsWith(modStrings::kSep)
                  || code->endsWith(modStrings::kSep + QLatin1String("\r\n")),
              "generated code ends with the header's separator");
    Check(out.list.startsWith(QLatin1String("[FSM LIST FILE START]")) &&
              out.list.endsWith(QLatin1String("[FSM LIST FILE END]")),
          "the list file is complete");
    for (QString* text : {&out.switchCase, &out.pointers, &out.pointerArray, &out.hierarchical, &out.list})
        *text = AsStored(*text);
    return out;
}

void CheckPage(const FsmDocument& doc)
{
    for (const bool sameFolder : {false, true}) {
        const QString page = modHTML::HtmlPageText(doc, QStringLiteral("fuzz"),
                                                   QStringLiteral("fuzz.wmf"), sameFolder);
        Check(page.endsWith(QLatin1String("</HTML>\r\n")), "the page is complete");
        Check(!Windows1252::EncodeWithCharRefs(page).isEmpty(), "the page encodes");
    }
}

// True when the argument is one of the switches the command line knows.
bool IsKnownSwitch(const QString& arg)
{
    static const char* const switches[] = {
        "/?", "--help", "-h",  "/CS", "/CP",  "/CA",  "/CH",  "/C",   "/LS",  "/HL",
        "/H", "/W",     "/D-", "/D+", "/AC-", "/AC+", "/PT-", "/PT+", "/BF-", "/BF+",
    };
    for (const char* sw : switches)
        if (arg.compare(QLatin1String(sw), Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

bool IsValueSwitch(const QString& arg)
{
    return arg.startsWith(QLatin1String("/O"), Qt::CaseInsensitive) ||
           arg.startsWith(QLatin1String("/E"), Qt::CaseInsensitive);
}

// A command line accepted without error holds one diagram path and nothing
// but switches, none of them twice.
void CheckAccepted(const QStringList& args, const ProcessState& st)
{
    Check(modMain::IsFsmFile(st.pendingCommandLine), "an accepted command line names a diagram");
    int paths = 0;
    QStringList seen;
    for (const QString& a : args) {
        if (modMain::IsFsmFile(a)) {
            ++paths;
            continue;
        }
        Check(IsKnownSwitch(a) || IsValueSwitch(a), "an accepted command line has no stray text");
        const QString key = IsValueSwitch(a) ? a.left(2).toUpper() : a.toUpper();
        Check(!seen.contains(key), "an accepted command line repeats no switch");
        seen.append(key);
    }
    Check(paths == 1, "an accepted command line names one diagram");
}

}  // namespace

void Setup()
{
    if (g_work)
        return;
    g_work = new QTemporaryDir(QDir::tempPath() + QStringLiteral("/orvane-fuzz-XXXXXX"));
    Check(g_work->isValid(), "a work folder can be made");
    const QDir work(g_work->path());
    for (const char* folder : {"dir", "out", "dir.fsm"})
        work.mkpath(QString::fromLatin1(folder));
    for (const char* file : {"a.fsm", "B.FSM", "dir/c.fsm", "two words.fsm", "plain.txt"})
        Touch(WorkPath(file));
    work.mkpath(QStringLiteral("fuzz"));
    for (const char* child : {"CHILD.fsm", "fuzz/CHILD.fsm"})
        WriteInput(WorkPath(child), reinterpret_cast<const std::uint8_t*>(kChildDiagram),
                   sizeof kChildDiagram - 1);
    qputenv("ORVANE_LOG_DIR", QFile::encodeName(g_work->path()));
}

void DiagramFile(const std::uint8_t* data, std::size_t size)
{
    const QString input = WorkPath("fuzz.fsm");
    const QByteArray bytes = WriteInput(input, data, size);
    FsmDocument doc;
    if (!Open(doc, input, bytes))
        return;
    Generate(doc);
    CheckPage(doc);

    // Saving rewrites the record (name, signature, options); what the
    // document generates after the save is what the saved file must give.
    const QString saved = WorkPath("saved.fsm");
    SilentMessenger quiet;
    QString error;
    doc.BeforeSave();
    const bool written = doc.diagram().saveFile(saved, &error);
    doc.AfterSave(quiet);
    Check(written, "a loaded diagram can be saved");
    const Outputs before = Generate(doc);

    FsmDocument again;
    QString reloadError;
    Check(again.diagram().loadFile(saved, &reloadError), "a saved diagram loads again");
    again.sFullDocname = input;
    Check(again.AfterLoad(OptionOverrides{}, quiet), "a saved diagram opens again");
    const Outputs after = Generate(again);
    Check(after.list == before.list, "the saved diagram lists the same");
    Check(after.switchCase == before.switchCase,
          "the saved diagram generates the same switch-case");
    Check(after.pointers == before.pointers, "the saved diagram generates the same pointers");
    Check(after.pointerArray == before.pointerArray,
          "the saved diagram generates the same pointer array");
    Check(after.hierarchical == before.hierarchical,
          "the saved diagram generates the same hierarchical module");
}

void DiagramPicture(const std::uint8_t* data, std::size_t size)
{
    const QString input = WorkPath("picture.fsm");
    const QByteArray bytes = WriteInput(input, data, size);
    FsmDocument doc;
    doc.diagram().setTextMeasurer(std::make_shared<FontTextMeasurer>());
    if (!Open(doc, input, bytes))
        return;
    const QByteArray wmf = DiagramPicture::ToWmf(doc.diagram());
    Check(wmf.startsWith(QByteArray::fromHex("d7cdc69a")), "the metafile is placeable");
    Check(DiagramPicture::ToSvg(doc.diagram()).contains("</svg>"), "the SVG is complete");

    // The page export adds a margin node for the time it draws; afterwards
    // the diagram is as it was.
    const int nodes = doc.diagram().nodeCount();
    const size_t links = doc.diagram().links().size();
    SilentMessenger quiet;
    Check(modHTML::FileSaveAsHTML(doc, WorkPath("picture.htm"), false, quiet), "the page is written");
    Check(doc.diagram().nodeCount() == nodes && doc.diagram().links().size() == links,
          "the page export leaves the diagram as it was");
}

void CommandLine(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    QStringList args;
    if (!bytes.isEmpty())
        for (const QByteArray& a : bytes.split('\0'))
            args.append(QString::fromLocal8Bit(a));

    // Relative arguments name the work folder's files; the fuzzer itself
    // reads its inputs relative to the folder it was started in.
    const QString started = QDir::currentPath();
    Check(QDir::setCurrent(g_work->path()), "the work folder is the current folder");
    ProcessState st;
    bool error = false;
    const modMain::Road road = modMain::ParseCommandLine(args, st, error);
    if (road == modMain::Road::Batch)
        Check(!error && st.batchMode, "batch mode runs only from a sound command line");
    if (!error && road != modMain::Road::Help && !args.isEmpty())
        CheckAccepted(args, st);
    if (error)
        Check(st.pendingCommandLine.isEmpty(), "a bad command line names no diagram");
    // The logs would grow with every input.
    QFile::remove(WorkPath("FSM_ERR.log"));
    QFile::remove(WorkPath("FSM.log"));
    QDir::setCurrent(started);
}

}  // namespace orvane::fuzz
