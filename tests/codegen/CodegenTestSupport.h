#pragma once
// Shared helpers of the code generation tests: diagrams built in code,
// diagram files loaded as the editor opens them, a recording messenger and
// the split of a generator's result.

#include "Diagram.h"
#include "FsmDocument.h"
#include "Messenger.h"
#include "RecordingMessenger.h"
#include "FlatGenerators.h"
#include "HierarchicalGenerator.h"
#include "Paths.h"
#include "ChildDiagrams.h"
#include "Records.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QHash>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>
#include <ostream>

// Readable QString values in test failures.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace orvane::testing {

struct StateTexts {
    QString during, entry, exit, elseAction;
    QString isIn = QStringLiteral("N");
    QString goTo = QStringLiteral("N");
};

struct GraphTexts {
    QString name, params, init, before, after, ending, moduleHeader, functionHeader, defaultCode;
    QString options;
};

// Builds diagrams record by record, the way files hold them.
class DiagramBuilder {
public:
    explicit DiagramBuilder(Diagram& d) : m_d(d) {}

    Node* state(const QString& name, qint32 kind, const QString& index, const StateTexts& t = {})
    {
        Node* n = m_d.addNode(0, 0, 1500, 900);
        n->setUserData(kind);
        n->setTag(StateRecord{name, t.during, index, t.entry, t.exit, t.isIn, t.goTo, t.elseAction}
                      .toText());
        return n;
    }

    Node* transition(Node* from, Node* to, const QString& priority, const QString& condition = {},
                     const QString& action = {}, const QString& selfFlag = QStringLiteral("Y"))
    {
        Node* t = m_d.addNode(0, 0, 150, 100);
        t->setUserData(0x800);
        t->setTag(
            TransitionRecord{priority, condition, action, selfFlag, QStringLiteral("N")}.toText());
        m_d.addLink(from, t);
        m_d.addLink(t, to);
        return t;
    }

    Node* remark(const QString& text)
    {
        Node* n = m_d.addNode(0, 0, 2000, 600);
        n->setUserData(0x400);
        n->setIsFsmItem(false);
        n->setText(text);
        return n;
    }

    void config(const GraphTexts& g)
    {
        m_d.setTag(MachineConfig{QStringLiteral("FSM V0.4c"), g.name, g.init, g.before, g.options,
                                 g.params, g.after, g.ending, g.moduleHeader, g.functionHeader,
                                 g.defaultCode}
                       .toText());
    }

private:
    Diagram& m_d;
};

// Opens a diagram file as the editor does (configuration record taken out
// of the info node, options applied).
inline bool openDocument(FsmDocument& doc, const QString& path)
{
    QString error;
    if (!doc.diagram().loadFile(path, &error))
        return false;
    doc.filePath = path;
    SilentMessenger silent;
    return doc.afterLoad({}, silent);
}

enum class Style { SwitchCase, Pointers, PointerArray };

struct Opts {
    bool FI = false, FE = false, HF = false, DI = false, AC = false, PT = false;
};

using Generated = std::optional<GeneratedCode>;

// Children found on disk, as the application finds them; a flat generator
// never opens one.
class DiskChildren : public ChildDocumentSource {
public:
    bool exists(const QString& fullPath) const override
    {
        return ChildDiagrams::isDiagramFile(fullPath);
    }
    const FsmDocument* openChild(const QString&, QString* error) override
    {
        *error = QStringLiteral("not opened by a flat generator");
        return nullptr;
    }
};

inline Generated generate(Style s, const Diagram& d, const QString& path, const Opts& o,
                          Messenger& m)
{
    codegen::GenOptions options;
    options.initFunction = o.FI;
    options.finalTest = o.FE;
    options.history = o.HF;
    options.debugInfo = o.DI;
    options.ansiComments = o.AC;
    options.printRemarks = o.PT;
    const Methodology style = s == Style::SwitchCase ? Methodology::SwitchCase
                              : s == Style::Pointers ? Methodology::DirectPointers
                                                     : Methodology::PointerArray;
    return FlatGenerators::generate(style, d, path, options, DiskChildren(), m);
}

struct CodeAndHeader {
    QString code, header;
    bool ok = false;
};

// The module's two texts; ok is false when the generation was refused.
inline CodeAndHeader split(const Generated& result)
{
    if (!result)
        return {};
    return {result->code, result->header, true};
}

inline QString readUtf8(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(f.readAll());
}

inline QStringList Lines(const QString& text) { return text.split(QStringLiteral("\r\n")); }

// Reports the first line that differs, so a failure reads like a diff.
inline ::testing::AssertionResult sameText(const QString& actual, const QString& expected)
{
    if (actual == expected)
        return ::testing::AssertionSuccess();
    const QStringList a = Lines(actual);
    const QStringList e = Lines(expected);
    for (qsizetype i = 0; i < std::max(a.size(), e.size()); ++i) {
        const QString al = i < a.size() ? a[i] : QStringLiteral("<end>");
        const QString el = i < e.size() ? e[i] : QStringLiteral("<end>");
        if (al != el)
            return ::testing::AssertionFailure()
                   << "line " << (i + 1) << "\n  actual:   [" << al.toStdString()
                   << "]\n  expected: [" << el.toStdString() << "]";
    }
    return ::testing::AssertionFailure() << "texts differ in line ends";
}

// Code and header equal to the files golden/NAME.c and golden/NAME.h.
inline void expectGolden(const CodeAndHeader& parts, const QString& name)
{
    const QString base = QStringLiteral(ORVANE_TEST_DATA "/golden/") + name;
    EXPECT_TRUE(sameText(parts.code, readUtf8(base + QStringLiteral(".c"))))
        << name.toStdString() << ".c";
    EXPECT_TRUE(sameText(parts.header, readUtf8(base + QStringLiteral(".h"))))
        << name.toStdString() << ".h";
}

// Child documents read from disk, each file once, as the editor's
// registry keeps one document per file. `adjust` sees every document
// opened, so a test can change its options.
class FileChildSource : public ChildDocumentSource {
public:
    bool exists(const QString& fullPath) const override
    {
        return ChildDiagrams::isDiagramFile(fullPath);
    }
    const FsmDocument* openChild(const QString& fullPath, QString* error) override
    {
        return load(fullPath, error);
    }

    // The top document, opened the same way and known to the source.
    FsmDocument* top(const QString& path)
    {
        QString error;
        return load(path, &error);
    }

    std::function<void(FsmDocument&)> adjust;

private:
    FsmDocument* load(const QString& fullPath, QString* error)
    {
        const QString key = QDir::cleanPath(fullPath);
        if (FsmDocument* known = m_docs.value(key).get())
            return known;
        auto doc = std::make_shared<FsmDocument>();
        if (!openDocument(*doc, key)) {
            *error = QStringLiteral("cannot load ") + key;
            return nullptr;
        }
        doc->caption = Paths::baseName(key);
        if (adjust)
            adjust(*doc);
        m_docs.insert(key, doc);
        return doc.get();
    }

    QHash<QString, std::shared_ptr<FsmDocument>> m_docs;
};

// The options a hierarchical generation takes from the top document.
struct TopOptions {
    bool DI = false, AC = false, PT = false, BF = false;
};

// The tree under the diagram file topPath as one hierarchical module;
// nothing when refused (or when the top file does not load).
inline Generated generateTree(FileChildSource& source, const QString& topPath, const TopOptions& o,
                              Messenger& messenger)
{
    FsmDocument* top = source.top(topPath);
    if (!top)
        return std::nullopt;
    top->debugInfo = o.DI;
    top->ansiComments = o.AC;
    top->remarksInCode = o.PT;
    top->useBitFields = o.BF;
    return HierarchicalGenerator::generate(*top, source, messenger);
}

}  // namespace orvane::testing
