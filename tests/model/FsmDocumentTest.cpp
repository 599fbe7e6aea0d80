#include "FsmTestKit.h"
#include "MachineInfo.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

using namespace orvane;
using namespace orvane::testkit;

namespace {
void setOptions(FsmDocument& doc, const QString& options)
{
    MachineInfo::setMachineConfig(
        doc.diagram(),
        MachineConfig{
            MachineInfo::kSignature, QStringLiteral("M"), {}, {}, options, {}, {}, {}, {}, {}, {}});
}

// A small machine with every kind of record, built as the editor builds it.
void buildMachine(FsmDocument& doc)
{
    doc.filePath = QStringLiteral("/tmp/Lamp.fsm");
    doc.historyMachine = true;
    doc.debugInfo = true;
    doc.defaultMethodology = Methodology::PointerArray;
    MachineInfo::setMachineConfig(
        doc.diagram(), MachineConfig{MachineInfo::kSignature, QStringLiteral("Lamp"),
                                     QStringLiteral("int n;"), QStringLiteral("n++;"), QString(),
                                     QStringLiteral("int ev"), QStringLiteral("after();"),
                                     QStringLiteral("end();"), QStringLiteral("/* module */"),
                                     QStringLiteral("/* func */"), QStringLiteral("reset();")});
    Node* off = addState(doc, {QStringLiteral("Off"), QStringLiteral("1"), NodeStateInitial,
                               QStringLiteral("led = 0;"), QStringLiteral("beep();\r\n// hi")});
    Node* on = addState(doc,
                        {QStringLiteral("On"),
                         QStringLiteral("2"),
                         NodeStateSuper,
                         QStringLiteral("CHILD();"),
                         {},
                         QStringLiteral("a; b; c;"),
                         QStringLiteral("\u20AC \"q\"")},
                        5000, 1000);
    addTransition(doc, off, on, QStringLiteral("ev == 1"), QStringLiteral("count++;"));
    addTransition(doc, on, off, QStringLiteral("ev == 0"));
    addTransition(doc, on, on, {}, QStringLiteral("tick();"), N, Y);
    Node* remark = doc.diagram().addNode(100, 4000, 2000, 500);
    remark->setUserData(NodeTextBox);
    remark->setIsFsmItem(false);
    remark->setText(QStringLiteral("a remark"));
}

void expectSameMachine(const Diagram& a, const Diagram& b)
{
    EXPECT_EQ(a.tag(), b.tag());
    EXPECT_EQ(a.font(), b.font());
    ASSERT_EQ(a.nodeCount(), b.nodeCount());
    for (int i = 1; i <= a.nodeCount(); ++i) {
        const Node* x = a.item(i);
        const Node* y = b.item(i);
        EXPECT_EQ(x->tag(), y->tag()) << i;
        EXPECT_EQ(x->text(), y->text()) << i;
        EXPECT_EQ(x->toolTip(), y->toolTip()) << i;
        EXPECT_EQ(x->userData(), y->userData()) << i;
        EXPECT_EQ(x->isFsmItem(), y->isFsmItem()) << i;
        EXPECT_EQ(x->drawColor(), y->drawColor()) << i;
        EXPECT_EQ(x->shape(), y->shape()) << i;
        EXPECT_EQ(x->width(), y->width()) << i;
        EXPECT_EQ(x->left(), y->left()) << i;
    }
    ASSERT_EQ(a.links().size(), b.links().size());
    for (size_t i = 0; i < a.links().size(); ++i) {
        EXPECT_EQ(a.indexOf(a.links()[i]->org()), b.indexOf(b.links()[i]->org()));
        EXPECT_EQ(a.indexOf(a.links()[i]->dst()), b.indexOf(b.links()[i]->dst()));
        EXPECT_EQ(a.links()[i]->drawStyle(), b.links()[i]->drawStyle());
        EXPECT_EQ(a.links()[i]->drawColor(), b.links()[i]->drawColor());
    }
}
}  // namespace

TEST(MachineOptions, MissingTokensGiveTheDocumentedDefaults)
{
    FsmDocument doc;
    doc.defaultMethodology = Methodology::Hierarchical;
    setOptions(doc, QString());
    doc.readConfig({});
    EXPECT_TRUE(doc.autosizeNodes);
    EXPECT_TRUE(doc.fixedPitchOnly);
    EXPECT_FALSE(doc.hideComments);
    EXPECT_FALSE(doc.generateInitFunction);
    EXPECT_FALSE(doc.generateEndFunction);
    EXPECT_FALSE(doc.debugInfo);
    EXPECT_FALSE(doc.ansiComments);
    EXPECT_FALSE(doc.remarksInCode);
    EXPECT_TRUE(doc.historyMachine);
    EXPECT_FALSE(doc.useBitFields);
    EXPECT_TRUE(doc.useMacros);
    EXPECT_EQ(doc.defaultMethodology, Methodology::Hierarchical);  // no caption: kept
}

TEST(MachineOptions, OnlyThePresenceOfTheDecisiveCodeCounts)
{
    FsmDocument doc;
    setOptions(doc, QStringLiteral("AS_Y;AS_N;HC_N;HC_Y;DI_N;DI_Y;HF_Y;HF_N;UM_N;FO_Y;FI_Y;FE_N;"
                                   "AC_Y;PT_Y;BF_Y"));
    doc.readConfig({});
    EXPECT_FALSE(doc.autosizeNodes);
    EXPECT_TRUE(doc.hideComments);
    EXPECT_TRUE(doc.debugInfo);
    EXPECT_FALSE(doc.historyMachine);
    EXPECT_FALSE(doc.useMacros);
    EXPECT_TRUE(doc.fixedPitchOnly);
    EXPECT_TRUE(doc.generateInitFunction);
    EXPECT_FALSE(doc.generateEndFunction);
    EXPECT_TRUE(doc.ansiComments);
    EXPECT_TRUE(doc.remarksInCode);
    EXPECT_TRUE(doc.useBitFields);
}

TEST(MachineOptions, CommandLineOverridesWin)
{
    FsmDocument doc;
    setOptions(doc, QStringLiteral("DI_Y;AC_Y;PT_N;"));
    OptionOverrides o;
    o.debugInfo = false;
    o.textBoxes = true;
    o.bitFields = true;
    doc.readConfig(o);
    EXPECT_FALSE(doc.debugInfo);
    EXPECT_TRUE(doc.ansiComments);
    EXPECT_TRUE(doc.remarksInCode);
    EXPECT_TRUE(doc.useBitFields);
}

TEST(MachineOptions, FirstCaptionInFixedOrderBecomesTheDefault)
{
    FsmDocument doc;
    setOptions(doc, kCaptionSwitchCase + kCaptionDirectPointers + QStringLiteral(";AS_Y;"));
    doc.diagram().setChanged(false);
    doc.readConfig({});
    EXPECT_EQ(doc.defaultMethodology, Methodology::DirectPointers);
    EXPECT_TRUE(doc.diagram().changed());

    doc.diagram().setChanged(false);
    EXPECT_FALSE(doc.setDefaultMethodology(Methodology::DirectPointers));
    EXPECT_FALSE(doc.diagram().changed());
    EXPECT_EQ(doc.defaultMethodology, Methodology::DirectPointers);
    EXPECT_TRUE(doc.setDefaultMethodology(Methodology::PointerArray));
    EXPECT_TRUE(doc.diagram().changed());
}

TEST(DocumentFiles, RoundTripKeepsEveryRecordAndText)
{
    QTemporaryDir dir;
    FsmDocument doc;
    buildMachine(doc);
    doc.filePath = dir.filePath(QStringLiteral("my lamp.fsm"));
    RecordingMessenger m;
    doc.diagram().setChanged(false);
    doc.beforeSave();
    QString err;
    ASSERT_TRUE(doc.diagram().saveFile(doc.filePath, &err)) << err.toStdString();
    doc.afterSave(m);
    EXPECT_FALSE(doc.diagram().changed());
    QFile file(doc.filePath);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString json = QString::fromUtf8(file.readAll());
    EXPECT_FALSE(json.contains(QStringLiteral("#entry:")));  // texts are rebuilt, not stored
    EXPECT_TRUE(json.contains(QStringLiteral("a remark")));

    FsmDocument loaded;
    loaded.filePath = doc.filePath;
    ASSERT_TRUE(loaded.diagram().loadFile(loaded.filePath, &err)) << err.toStdString();
    ASSERT_TRUE(loaded.afterLoad({}, m));
    EXPECT_TRUE(m.messages.empty());
    expectSameMachine(doc.diagram(), loaded.diagram());
    EXPECT_EQ(loaded.defaultMethodology, Methodology::PointerArray);
    EXPECT_TRUE(loaded.debugInfo);
    EXPECT_TRUE(loaded.historyMachine);
    EXPECT_FALSE(loaded.fixedPitchOnly);
    EXPECT_EQ(machineConfig(loaded.diagram()).defaultAction, QStringLiteral("reset();"));
    EXPECT_TRUE(loaded.diagram().item(1)->text().startsWith(QStringLiteral("<History>\r\n")));
    EXPECT_EQ(machineConfig(loaded.diagram()).name, QStringLiteral("my_lamp"));
}

TEST(DocumentFiles, MalformedStateKindFailsTheLoadBeforeAnyChange)
{
    FsmDocument doc;
    Diagram& d = doc.diagram();
    Node* good = rawNode(d, NodeStateInitial, {"A", "", "1"});
    rawNode(d, NodeStateInitial | NodeStateFinal, {"B", "", "2"});
    rawNode(d, NodeInfo, {"FSM V0.4c", "X"});
    d.setChanged(false);
    RecordingMessenger m;
    EXPECT_FALSE(doc.afterLoad({}, m));
    ASSERT_EQ(m.messages.size(), 1u);
    EXPECT_EQ(m.messages[0].text, QStringLiteral("Error in Configura_Nodo_Estado"));
    EXPECT_EQ(d.nodeCount(), 3);
    EXPECT_TRUE(d.tag().isEmpty());
    EXPECT_TRUE(good->text().isEmpty());
    EXPECT_FALSE(d.changed());
}

TEST(DocumentFiles, HandWrittenDiagramWithoutInfoNodeLoads)
{
    FsmDocument doc;
    Diagram& d = doc.diagram();
    Node* s = rawNode(d, NodeStateNormal, {"A", "x();", "1", "", "", "", ""});
    Node* t = rawNode(d, NodeTransition, {"", "go"});  // short record
    Node* orphan = rawNode(d, NodeTransition, {"1", "", "", "Y", "N", "extra"});
    d.addLink(s, t);
    d.addLink(s, t);
    d.addLink(orphan, s);
    RecordingMessenger m;
    ASSERT_TRUE(doc.afterLoad({}, m));
    EXPECT_EQ(s->text(), QStringLiteral("\u00B7A\u00B7\r\n x();\r\n"));
    EXPECT_EQ(t->text(), QStringLiteral("[]go\r\n"));
    EXPECT_EQ(t->tag(), (TransitionRecord{"", "go", "", "", ""}.toText()));
    EXPECT_EQ(orphan->tag(), (TransitionRecord{"1", "", "", "Y", "N"}.toText()));
    EXPECT_TRUE(doc.historyMachine);  // no record: the option defaults
}
