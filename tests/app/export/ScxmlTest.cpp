// The SCXML export and import: the export keeps to the SCXML schema's
// structure and loads in Qt's own SCXML reader; exporting and importing
// again gives diagrams that generate the same C; plain SCXML from other
// tools is read with warnings for what is left out.
#include "BatchRun.h"
#include "ExportTestSupport.h"
#include "FontTextMeasurer.h"
#include "ProcessState.h"
#include "Ranking.h"
#include "Records.h"
#include "ScxmlImport.h"
#include "ScxmlWriter.h"
#include "States.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#ifdef ORVANE_HAVE_QT_SCXML
#include <QScxmlStateMachine>
#endif

using namespace orvane;
using namespace orvane::exporttest;

namespace {

const QString kScxmlNs = QStringLiteral("http://www.w3.org/2005/07/scxml");

bool writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// The diagrams the round trip covers: every example and every fuzz seed.
QStringList sampleDiagrams()
{
    QStringList files = {QStringLiteral(ORVANE_SOURCE_DIR "/examples/traffic_light.fsm"),
                         QStringLiteral(ORVANE_SOURCE_DIR "/examples/lamp.fsm"),
                         QStringLiteral(ORVANE_SOURCE_DIR "/examples/washer/Washer.fsm")};
    QDirIterator seeds(QStringLiteral(ORVANE_SOURCE_DIR "/fuzz/seeds/diagram"),
                       {QStringLiteral("*.fsm")}, QDir::Files);
    while (seeds.hasNext())
        files.append(seeds.next());
    return files;
}

// What the SCXML schema requires of the structure, for the elements the
// export writes: the root, the content each element may hold (elements of
// other namespaces are allowed everywhere), the attributes each may carry
// (other namespaces allowed), unique ids that are XML names, and
// references (initial, target) to existing ids; a compound state's initial
// state lies inside it. Returns the problems found.
QStringList schemaProblems(const QByteArray& bytes)
{
    struct Rule {
        QSet<QString> children, attributes;
    };
    const QSet<QString> executable = {"script", "raise",  "assign",  "log",    "if",
                                      "send",   "cancel", "foreach", "elseif", "else"};
    const QHash<QString, Rule> rules = {
        {"scxml",
         {{"state", "parallel", "final", "datamodel", "script"},
          {"initial", "name", "version", "datamodel", "binding"}}},
        {"state",
         {{"onentry", "onexit", "transition", "initial", "state", "parallel", "final", "history",
           "datamodel", "invoke"},
          {"id", "initial"}}},
        {"final", {{"onentry", "onexit", "donedata"}, {"id"}}},
        {"history", {{"transition"}, {"id", "type"}}},
        {"transition", {executable, {"event", "cond", "target", "type"}}},
        {"onentry", {executable, {}}},
        {"onexit", {executable, {}}},
        {"script", {{}, {"src"}}},
    };
    const QRegularExpression ncName(QStringLiteral("^[A-Za-z_][A-Za-z0-9_.-]*$"));
    QStringList problems;
    QXmlStreamReader xml(bytes);
    QSet<QString> ids;
    struct Reference {
        QString id, owner;  // owner: the id of the compound state, or empty
    };
    std::vector<Reference> references;
    QHash<QString, QString> parentOf;  // id -> id of the enclosing state
    QStringList openIds;               // ids of the enclosing states
    QStringList openNames;
    bool rootSeen = false;
    while (!xml.atEnd()) {
        const auto token = xml.readNext();
        if (token == QXmlStreamReader::EndElement) {
            if (xml.namespaceUri() == kScxmlNs)
                openIds.removeLast();
            openNames.removeLast();
            continue;
        }
        if (token != QXmlStreamReader::StartElement)
            continue;
        const QString name = xml.name().toString();
        const bool scxml = xml.namespaceUri() == kScxmlNs;
        const QString parent = openNames.isEmpty() ? QString() : openNames.last();
        openNames.append(scxml ? name : QStringLiteral("#other"));
        if (!rootSeen) {
            rootSeen = true;
            if (!scxml || name != QLatin1String("scxml"))
                problems << QStringLiteral("the root is not <scxml>");
            if (xml.attributes().value(QLatin1String("version")) != QLatin1String("1.0"))
                problems << QStringLiteral("version is not 1.0");
        }
        if (!scxml) {
            if (parent != QLatin1String("#other") && xml.namespaceUri().isEmpty())
                problems << QStringLiteral("<") + name + QStringLiteral("> has no namespace");
            openIds.append(QString());
            openIds.removeLast();
            continue;
        }
        const QString id = xml.attributes().value(QLatin1String("id")).toString();
        if (!parent.isEmpty() && parent != QLatin1String("#other")
            && !rules.value(parent).children.contains(name))
            problems << QStringLiteral("<") + name + QStringLiteral("> inside <") + parent
                            + QLatin1Char('>');
        if (!rules.contains(name))
            problems << QStringLiteral("unexpected <") + name + QLatin1Char('>');
        for (const QXmlStreamAttribute& a : xml.attributes()) {
            if (a.namespaceUri().isEmpty()
                && !rules.value(name).attributes.contains(a.name().toString()))
                problems << QStringLiteral("attribute ") + a.name().toString()
                                + QStringLiteral(" on <") + name + QLatin1Char('>');
        }
        if (!id.isEmpty()) {
            if (!ncName.match(id).hasMatch())
                problems << QStringLiteral("id is no XML name: ") + id;
            if (ids.contains(id))
                problems << QStringLiteral("id twice: ") + id;
            ids.insert(id);
            const QString enclosing = openIds.isEmpty() ? QString() : openIds.last();
            parentOf.insert(id, enclosing);
        }
        if (name == QLatin1String("scxml")) {
            static const QRegularExpression nmToken(QStringLiteral("^[A-Za-z0-9_.:-]+$"));
            const QString machine = xml.attributes().value(QLatin1String("name")).toString();
            if (!machine.isEmpty() && !nmToken.match(machine).hasMatch())
                problems << QStringLiteral("name is no XML name token: ") + machine;
        }
        if (name == QLatin1String("history")) {
            const auto type = xml.attributes().value(QLatin1String("type"));
            if (type != QLatin1String("deep") && type != QLatin1String("shallow"))
                problems << QStringLiteral("history type ") + type.toString();
        }
        if (name == QLatin1String("transition")) {
            const auto type = xml.attributes().value(QLatin1String("type"));
            if (!type.isEmpty() && type != QLatin1String("internal")
                && type != QLatin1String("external"))
                problems << QStringLiteral("transition type ") + type.toString();
        }
        for (const QString& ref :
             xml.attributes()
                 .value(name == QLatin1String("transition") ? QLatin1String("target")
                                                            : QLatin1String("initial"))
                 .toString()
                 .split(' ', Qt::SkipEmptyParts))
            references.push_back(
                {ref, name == QLatin1String("state") ? id : QStringLiteral("#any")});
        openIds.append(id);
    }
    if (xml.hasError())
        problems << xml.errorString();
    for (const Reference& r : references) {
        if (!ids.contains(r.id)) {
            problems << QStringLiteral("no state ") + r.id;
            continue;
        }
        if (r.owner == QLatin1String("#any"))
            continue;
        // The initial state of a compound state is one of its descendants.
        QString up = parentOf.value(r.id);
        while (!up.isEmpty() && up != r.owner)
            up = parentOf.value(up);
        if (up != r.owner)
            problems << QStringLiteral("initial ") + r.id + QStringLiteral(" outside ") + r.owner;
    }
    return problems;
}

class Scxml : public ExportFixture {
protected:
    orvane::testing::BatchOutcome run(const QStringList& args)
    {
        return orvane::testing::runBatchProgram(dir.path(), path(QStringLiteral("log")), args);
    }
};

}  // namespace

TEST_F(Scxml, ExportKeepsToTheSchemaStructure)
{
    for (const QString& file : sampleDiagrams()) {
        SCOPED_TRACE(file.toStdString());
        auto doc = openDocument(file);
        ASSERT_TRUE(doc);
        RecordingMessenger messenger;
        const QByteArray bytes = ScxmlWriter::toScxml(*doc, messenger);
        EXPECT_TRUE(messenger.texts.isEmpty()) << messenger.texts.join('\n').toStdString();
        const QStringList problems = schemaProblems(bytes);
        EXPECT_TRUE(problems.isEmpty()) << problems.join('\n').toStdString();
        // Every state is there, under its name.
        for (const auto& n : doc->diagram().nodes()) {
            if (States::isStateNode(n.get())) {
                EXPECT_TRUE(bytes.contains("id=\"" + stateRecord(n.get()).name.toUtf8() + '"'));
            }
        }
    }
    // The checker itself finds what breaks the schema.
    EXPECT_FALSE(schemaProblems("<scxml xmlns='http://www.w3.org/2005/07/scxml' version='1.0'>"
                                "<state id='a'><transition target='b'/></state></scxml>")
                     .isEmpty());
    EXPECT_FALSE(schemaProblems("<scxml xmlns='http://www.w3.org/2005/07/scxml' version='1.0'>"
                                "<state id='a'/><state id='a'/></scxml>")
                     .isEmpty());
    EXPECT_FALSE(schemaProblems("<scxml xmlns='http://www.w3.org/2005/07/scxml' version='1.0'>"
                                "<final id='a'><transition target='a'/></final></scxml>")
                     .isEmpty());
}

TEST_F(Scxml, QtsScxmlReaderLoadsTheExport)
{
#ifndef ORVANE_HAVE_QT_SCXML
    GTEST_SKIP() << "Qt SCXML (Debian qt6-scxml-dev) is not installed";
#else
    for (const QString& file : sampleDiagrams()) {
        SCOPED_TRACE(file.toStdString());
        auto doc = openDocument(file);
        ASSERT_TRUE(doc);
        RecordingMessenger messenger;
        const QString target = path(QFileInfo(file).baseName() + QStringLiteral(".scxml"));
        ASSERT_TRUE(ScxmlWriter::fileSaveAsScxml(*doc, target, messenger));
        std::unique_ptr<QScxmlStateMachine> machine(QScxmlStateMachine::fromFile(target));
        ASSERT_TRUE(machine);
        QStringList errors;
        for (const QScxmlError& e : machine->parseErrors())
            errors << e.toString();
        EXPECT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
    }
#endif
}

TEST_F(Scxml, RoundTripGeneratesTheSameCode)
{
    const QStringList styles = {QStringLiteral("/CS"), QStringLiteral("/CP"), QStringLiteral("/CA"),
                                QStringLiteral("/CH")};
    int compared = 0;
    for (const QString& file : sampleDiagrams()) {
        SCOPED_TRACE(file.toStdString());
        const QString name = QFileInfo(file).completeBaseName();
        const QString work = path(name);
        ASSERT_TRUE(QDir().mkpath(work + QStringLiteral("/scxml")));
        ASSERT_TRUE(QDir().mkpath(work + QStringLiteral("/imported")));
        auto r = run({file, QStringLiteral("--scxml"), QStringLiteral("/O") + work + "/scxml"});
        ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
        const ScxmlImport::Result imported = ScxmlImport::importFile(
            work + "/scxml/" + name + ".scxml", work + QStringLiteral("/imported"));
        ASSERT_TRUE(imported.ok) << imported.error.toStdString();
        // Nothing was left out.
        EXPECT_TRUE(imported.warnings.isEmpty()) << imported.warnings.join('\n').toStdString();
        const QString again = imported.written.first();
        for (const QString& style : styles) {
            SCOPED_TRACE(style.toStdString());
            const QString a = work + "/a" + style.mid(1), b = work + "/b" + style.mid(1);
            ASSERT_TRUE(QDir().mkpath(a) && QDir().mkpath(b));
            const auto first = run({file, style, QStringLiteral("/LS"), QStringLiteral("/O") + a});
            const auto second =
                run({again, style, QStringLiteral("/LS"), QStringLiteral("/O") + b});
            EXPECT_EQ(first.exitCode, second.exitCode);
            for (const char* extension : {"c", "h", "lst"}) {
                const QStringList x = QDir(a).entryList({QStringLiteral("*.") + extension});
                const QStringList y = QDir(b).entryList({QStringLiteral("*.") + extension});
                ASSERT_EQ(x.size(), y.size()) << extension;
                if (x.isEmpty())
                    continue;
                EXPECT_EQ(readBytes(a + '/' + x.first()), readBytes(b + '/' + y.first()))
                    << extension;
                ++compared;
            }
        }
    }
    EXPECT_GT(compared, 30);
}

TEST_F(Scxml, EveryTextComesBackExactly)
{
    // Line ends of every kind, blanks at the ends, markup characters, and a
    // control character XML cannot hold.
    const QString during = QStringLiteral("  a();\r\nb();\n\tc(\"<&>\");\r  ");
    const QString condition = QStringLiteral("x > 1 &&\r\n y < 2 \t");
    const QString action = QStringLiteral("p = '\\x01'; q = \"\x01\";");
    auto doc = loadDocument(
        path(QStringLiteral("odd.fsm")),
        {stateJson(1, 1000, 1000, 16384, QStringLiteral("Start"), QStringLiteral("1"), during),
         stateJson(2, 4000, 1000, 8192, QStringLiteral("9 lives"), QStringLiteral("2")),
         transitionJson(3, 2500, 1000, QStringLiteral("1"), condition, action),
         infoJson(4, {QString(), QStringLiteral("Odd"), QStringLiteral("int x;\r\n")})},
        {linkJson(1, 3, 0), linkJson(3, 2)});
    ASSERT_TRUE(doc);
    // Bent lines to and from the label.
    const std::vector<QPointF> bendsIn{{1200.5, 300}, {-40, 2e6}};
    const std::vector<QPointF> bendsOut{{3000, 3000}};
    for (const auto& l : doc->diagram().links())
        l->setExtraPoints(l->dst()->userData() == NodeTransition ? bendsIn : bendsOut);
    RecordingMessenger messenger;
    const QString scxml = path(QStringLiteral("odd.scxml"));
    ASSERT_TRUE(ScxmlWriter::fileSaveAsScxml(*doc, scxml, messenger));
    EXPECT_TRUE(schemaProblems(readBytes(scxml)).isEmpty());
    QDir().mkpath(path(QStringLiteral("in")));
    const ScxmlImport::Result result = ScxmlImport::importFile(scxml, path(QStringLiteral("in")));
    ASSERT_TRUE(result.ok) << result.error.toStdString();
    EXPECT_TRUE(result.warnings.isEmpty()) << result.warnings.join('\n').toStdString();
    ASSERT_EQ(result.written, QStringList{path(QStringLiteral("in/Odd.fsm"))});
    auto back = openDocument(result.written.first());
    ASSERT_TRUE(back);
    std::vector<StateRecord> before, after;
    std::vector<TransitionRecord> transitionsBefore, transitionsAfter;
    for (const auto& n : doc->diagram().nodes()) {
        if (States::isStateNode(n.get()))
            before.push_back(stateRecord(n.get()));
        if (n->userData() == NodeTransition)
            transitionsBefore.push_back(transitionRecord(n.get()));
    }
    for (const auto& n : back->diagram().nodes()) {
        if (States::isStateNode(n.get()))
            after.push_back(stateRecord(n.get()));
        if (n->userData() == NodeTransition)
            transitionsAfter.push_back(transitionRecord(n.get()));
    }
    EXPECT_EQ(before, after);
    EXPECT_EQ(transitionsBefore, transitionsAfter);
    EXPECT_EQ(machineConfig(doc->diagram()), machineConfig(back->diagram()));
    // Positions and bends come back too.
    EXPECT_EQ(back->diagram().item(2)->left(), doc->diagram().item(2)->left());
    int bentLinks = 0;
    for (const auto& l : back->diagram().links()) {
        const bool toLabel = l->dst()->userData() == NodeTransition;
        EXPECT_EQ(l->extraPoints(), toLabel ? bendsIn : bendsOut);
        ++bentLinks;
    }
    EXPECT_EQ(bentLinks, 2);
}

TEST_F(Scxml, PlainScxmlOfOtherToolsIsImportedWithWarnings)
{
    const QByteArray plain = R"xml(<?xml version="1.0"?>
<scxml xmlns="http://www.w3.org/2005/07/scxml" xmlns:ed="http://example.com/editor"
       version="1.0" name="Door" initial="Closed" datamodel="ecmascript">
  <ed:layout zoom="2"/>
  <datamodel><data id="n" expr="0"/></datamodel>
  <state id="Closed" ed:x="10">
    <onentry><script>lock();</script><log expr="'closed'"/></onentry>
    <transition target="Open" cond="button"/>
    <transition event="tick" target="Closed"/>
  </state>
  <state id="Open">
    <initial><transition target="Swinging"/></initial>
    <onexit><script>beep();</script></onexit>
    <state id="Resting"/>
    <state id="Swinging"><transition target="Resting" cond="still()"/>
      <transition target="Gone" cond="broken()"/></state>
    <transition target="Gone" cond="timeout"><script>alarm();</script></transition>
  </state>
  <final id="Gone"/>
  <invoke src="x"/>
</scxml>
)xml";
    const QString source = path(QStringLiteral("door.scxml"));
    ASSERT_TRUE(writeBytes(source, plain));
    const auto r = run({QStringLiteral("--import-scxml"), source});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    // Each thing left out is named once, as a warning about the SCXML file.
    for (const char* named :
         {"<layout> of http://example.com/editor", "<datamodel>", "<log>",
          "attribute x of http://example.com/editor", "<invoke>", "the event of a transition"})
        EXPECT_EQ(r.err.count(QString::fromUtf8(named)), 1) << named << "\n" << r.err.toStdString();
    for (const QString& line : r.errLines())
        EXPECT_TRUE(line.startsWith(source + QStringLiteral(": warning: "))) << line.toStdString();

    auto top = openDocument(path(QStringLiteral("Door.fsm")));
    ASSERT_TRUE(top);
    QHash<QString, const Node*> states;
    for (const auto& n : top->diagram().nodes())
        if (States::isStateNode(n.get()))
            states.insert(stateRecord(n.get()).name, n.get());
    ASSERT_EQ(states.size(), 3);
    EXPECT_TRUE(States::isInitialNode(states["Closed"]));
    EXPECT_TRUE(States::isFinalNode(states["Gone"]));
    EXPECT_EQ(stateRecord(states["Closed"]).entry, QStringLiteral("lock();"));
    EXPECT_EQ(stateRecord(states["Open"]).exit, QStringLiteral("beep();"));
    // The compound state calls its child diagram, which sits in the child folder.
    EXPECT_EQ(stateRecord(states["Open"]).during, QStringLiteral("Open();"));
    // Left to right by distance from the initial state, and no overlaps.
    EXPECT_LT(states["Closed"]->left() + states["Closed"]->width(), states["Open"]->left());
    EXPECT_LT(states["Open"]->left() + states["Open"]->width(), states["Gone"]->left());
    const std::vector<Node*> outs = Ranking::transitionsByRank(states["Closed"]);
    ASSERT_EQ(outs.size(), 2u);
    EXPECT_EQ(transitionRecord(outs[0]).condition, QStringLiteral("button"));
    EXPECT_EQ(transitionRecord(outs[0]).priority, QStringLiteral("1"));

    auto child = openDocument(path(QStringLiteral("Door/Open.fsm")));
    ASSERT_TRUE(child);
    QHash<QString, const Node*> inner;
    for (const auto& n : child->diagram().nodes())
        if (States::isStateNode(n.get()))
            inner.insert(stateRecord(n.get()).name, n.get());
    ASSERT_EQ(inner.size(), 2);
    EXPECT_TRUE(States::isInitialNode(inner["Swinging"]));
    EXPECT_FALSE(States::isInitialNode(inner["Resting"]));
    EXPECT_EQ(machineConfig(child->diagram()).name, QStringLiteral("Open"));
}

TEST_F(Scxml, ImportNeverReplacesADiagramAndRefusesBadInput)
{
    const QString source = path(QStringLiteral("m.scxml"));
    ASSERT_TRUE(writeBytes(source, "<scxml xmlns='http://www.w3.org/2005/07/scxml' "
                                   "version='1.0' name='M'><state id='A'/></scxml>"));
    ASSERT_TRUE(writeBytes(path(QStringLiteral("M.fsm")), "user's work"));
    auto r = run({QStringLiteral("--import-scxml"), source});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("exists already"))) << r.err.toStdString();
    EXPECT_EQ(readBytes(path(QStringLiteral("M.fsm"))), QByteArray("user's work"));

    QByteArray deep = "<scxml xmlns='http://www.w3.org/2005/07/scxml' version='1.0'>";
    // Well formed, but nested deeper than any stack would take it.
    for (int i = 0; i < 100000; ++i)
        deep += "<state id='s" + QByteArray::number(i) + "'>";
    for (int i = 0; i < 100000; ++i)
        deep += "</state>";
    deep += "</scxml>";
    for (const QByteArray& bad :
         {QByteArray("<scxml xmlns='http://www.w3.org/2005/07/scxml'><state id='A'>"),
          QByteArray("<html/>"), QByteArray(), deep}) {
        SCOPED_TRACE(bad.left(80).toStdString());
        const QString file = path(QStringLiteral("bad.scxml"));
        ASSERT_TRUE(writeBytes(file, bad));
        const ScxmlImport::Result result = ScxmlImport::importFile(file, QString());
        EXPECT_FALSE(result.ok);
        EXPECT_TRUE(result.written.isEmpty());
        EXPECT_FALSE(result.error.isEmpty());
        EXPECT_FALSE(QFileInfo::exists(path(QStringLiteral("bad.fsm"))));
    }
    // The option needs a file.
    r = run({QStringLiteral("--import-scxml")});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.err.contains(QStringLiteral("unknown option"))) << r.err.toStdString();
}
