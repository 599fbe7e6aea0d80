#include "FsmTestKit.h"
#include "modGrafoInfo.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

using namespace orvane;
using namespace orvane::testkit;
using modNodoEstado::NODE_STATE_INITIAL;

namespace {
void SetOptions(FsmDocument& doc, const QString& options)
{
    modGrafoInfo::SetGraphInfo(doc.diagram(), QStringLiteral("M"), {}, {}, {}, {}, {}, {},
                               modGrafoInfo::kSignature, options, {}, {});
}

// A small machine with every kind of record, built as the editor builds it.
void BuildMachine(FsmDocument& doc)
{
    doc.sFullDocname = QStringLiteral("/tmp/Lamp.fsm");
    doc.bHistoryFsm = true;
    doc.bDebugInfo = true;
    doc.formatCompilacion = kCaptionPointerArray;
    modGrafoInfo::SetGraphInfo(doc.diagram(), QStringLiteral("Lamp"), QStringLiteral("int ev"),
                               QStringLiteral("int n;"), QStringLiteral("n++;"),
                               QStringLiteral("reset();"), QStringLiteral("after();"),
                               QStringLiteral("end();"), modGrafoInfo::kSignature, QString(),
                               QStringLiteral("/* module */"), QStringLiteral("/* func */"));
    Node* off = AddState(doc, {QStringLiteral("Off"), QStringLiteral("1"), NODE_STATE_INITIAL,
                               QStringLiteral("led = 0;"), QStringLiteral("beep();\r\n// hi")});
    Node* on = AddState(doc, {QStringLiteral("On"), QStringLiteral("2"),
                              modNodoEstado::NODE_STATE_SUPER, QStringLiteral("CHILD();"), {},
                              QStringLiteral("a; b; c;"), QStringLiteral("\u20AC \"q\"")},
                        5000, 1000);
    AddTransition(doc, off, on, QStringLiteral("ev == 1"), QStringLiteral("count++;"));
    AddTransition(doc, on, off, QStringLiteral("ev == 0"));
    AddTransition(doc, on, on, {}, QStringLiteral("tick();"), N, Y);
    Node* remark = doc.diagram().addNode(100, 4000, 2000, 500);
    remark->setUserData(modNodoEstado::NODE_TEXTBOX);
    remark->setIsFsmItem(false);
    remark->setText(QStringLiteral("a remark"));
}

void ExpectSameMachine(const Diagram& a, const Diagram& b)
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

TEST(GrafoConfig, MissingTokensGiveTheDocumentedDefaults)
{
    FsmDocument doc;
    doc.formatCompilacion = kCaptionHierarchical;
    SetOptions(doc, QString());
    doc.GetGrafoConfig({});
    EXPECT_TRUE(doc.autosizeNodes);
    EXPECT_TRUE(doc.fixedPitchOnly);
    EXPECT_FALSE(doc.hideComments);
    EXPECT_FALSE(doc.bGeneraFuncInit);
    EXPECT_FALSE(doc.bGeneraFuncEnd);
    EXPECT_FALSE(doc.bDebugInfo);
    EXPECT_FALSE(doc.bAnsiComment);
    EXPECT_FALSE(doc.bTextBoxesInCode);
    EXPECT_TRUE(doc.bHistoryFsm);
    EXPECT_FALSE(doc.bUseBitFields);
    EXPECT_TRUE(doc.bUseMacros);
    EXPECT_EQ(doc.formatCompilacion, kCaptionHierarchical);  // no caption: kept
}

TEST(GrafoConfig, OnlyThePresenceOfTheDecisiveCodeCounts)
{
    FsmDocument doc;
    SetOptions(doc, QStringLiteral("AS_Y;AS_N;HC_N;HC_Y;DI_N;DI_Y;HF_Y;HF_N;UM_N;FO_Y;FI_Y;FE_N;"
                                   "AC_Y;PT_Y;BF_Y"));
    doc.GetGrafoConfig({});
    EXPECT_FALSE(doc.autosizeNodes);
    EXPECT_TRUE(doc.hideComments);
    EXPECT_TRUE(doc.bDebugInfo);
    EXPECT_FALSE(doc.bHistoryFsm);
    EXPECT_FALSE(doc.bUseMacros);
    EXPECT_TRUE(doc.fixedPitchOnly);
    EXPECT_TRUE(doc.bGeneraFuncInit);
    EXPECT_FALSE(doc.bGeneraFuncEnd);
    EXPECT_TRUE(doc.bAnsiComment);
    EXPECT_TRUE(doc.bTextBoxesInCode);
    EXPECT_TRUE(doc.bUseBitFields);
}

TEST(GrafoConfig, CommandLineOverridesWin)
{
    FsmDocument doc;
    SetOptions(doc, QStringLiteral("DI_Y;AC_Y;PT_N;"));
    OptionOverrides o;
    o.debugInfo = false;
    o.textBoxes = true;
    o.bitFields = true;
    doc.GetGrafoConfig(o);
    EXPECT_FALSE(doc.bDebugInfo);
    EXPECT_TRUE(doc.bAnsiComment);
    EXPECT_TRUE(doc.bTextBoxesInCode);
    EXPECT_TRUE(doc.bUseBitFields);
}

TEST(GrafoConfig, FirstCaptionInFixedOrderBecomesTheDefault)
{
    FsmDocument doc;
    SetOptions(doc, kCaptionSwitchCase + kCaptionDirectPointers + QStringLiteral(";AS_Y;"));
    doc.diagram().setChanged(false);
    doc.GetGrafoConfig({});
    EXPECT_EQ(doc.formatCompilacion, kCaptionDirectPointers);
    EXPECT_TRUE(doc.diagram().changed());

    doc.diagram().setChanged(false);
    EXPECT_FALSE(doc.SetDefaultMethodology(kCaptionDirectPointers));
    EXPECT_FALSE(doc.diagram().changed());
    EXPECT_FALSE(doc.SetDefaultMethodology(QString()));
    EXPECT_EQ(doc.formatCompilacion, kCaptionDirectPointers);
    EXPECT_TRUE(doc.SetDefaultMethodology(kCaptionPointerArray));
    EXPECT_TRUE(doc.diagram().changed());
}

TEST(DocumentFiles, RoundTripKeepsEveryRecordAndText)
{
    QTemporaryDir dir;
    FsmDocument doc;
    BuildMachine(doc);
    doc.sFullDocname = dir.filePath(QStringLiteral("my lamp.fsm"));
    RecordingMessenger m;
    doc.diagram().setChanged(false);
    doc.BeforeSave();
    QString err;
    ASSERT_TRUE(doc.diagram().saveFile(doc.sFullDocname, &err)) << err.toStdString();
    doc.AfterSave(m);
    EXPECT_FALSE(doc.diagram().changed());
    QFile file(doc.sFullDocname);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString json = QString::fromUtf8(file.readAll());
    EXPECT_FALSE(json.contains(QStringLiteral("#entry:")));  // texts are rebuilt, not stored
    EXPECT_TRUE(json.contains(QStringLiteral("a remark")));

    FsmDocument loaded;
    loaded.sFullDocname = doc.sFullDocname;
    ASSERT_TRUE(loaded.diagram().loadFile(loaded.sFullDocname, &err)) << err.toStdString();
    ASSERT_TRUE(loaded.AfterLoad({}, m));
    EXPECT_TRUE(m.messages.empty());
    ExpectSameMachine(doc.diagram(), loaded.diagram());
    EXPECT_EQ(loaded.formatCompilacion, kCaptionPointerArray);
    EXPECT_TRUE(loaded.bDebugInfo);
    EXPECT_TRUE(loaded.bHistoryFsm);
    EXPECT_FALSE(loaded.fixedPitchOnly);
    EXPECT_EQ(modGrafoInfo::GetGraphField(modGrafoInfo::kGraphDefault, loaded.diagram()),
              QStringLiteral("reset();"));
    EXPECT_TRUE(loaded.diagram().item(1)->text().startsWith(QStringLiteral("<History>\r\n")));
    EXPECT_EQ(modGrafoInfo::GetGraphField(modGrafoInfo::kGraphName, loaded.diagram()),
              QStringLiteral("my_lamp"));
}

TEST(DocumentFiles, MalformedStateKindFailsTheLoadBeforeAnyChange)
{
    FsmDocument doc;
    Diagram& d = doc.diagram();
    Node* good = RawNode(d, NODE_STATE_INITIAL, {"A", "", "1"});
    RawNode(d, NODE_STATE_INITIAL | modNodoEstado::NODE_STATE_FINAL, {"B", "", "2"});
    RawNode(d, modNodoEstado::NODE_INFO, {"FSM V0.4c", "X"});
    d.setChanged(false);
    RecordingMessenger m;
    EXPECT_FALSE(doc.AfterLoad({}, m));
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
    Node* s = RawNode(d, modNodoEstado::NODE_STATE_NORMAL, {"A", "x();", "1", "", "", "", ""});
    Node* t = RawNode(d, modNodoEstado::NODE_TRANSITION, {"", "go"});  // short record
    Node* orphan = RawNode(d, modNodoEstado::NODE_TRANSITION, {"1", "", "", "Y", "N", "extra"});
    d.addLink(s, t);
    d.addLink(s, t);
    d.addLink(orphan, s);
    RecordingMessenger m;
    ASSERT_TRUE(doc.AfterLoad({}, m));
    EXPECT_EQ(s->text(), QStringLiteral("\u00B7A\u00B7\r\n x();\r\n"));
    EXPECT_EQ(t->text(), QStringLiteral("[]go\r\n"));
    EXPECT_EQ(t->tag(), modStrings::JoinFields({"", "go", "", "", ""}));
    EXPECT_EQ(orphan->tag(), modStrings::JoinFields({"1", "", "", "Y", "N"}));
    EXPECT_TRUE(doc.bHistoryFsm);  // no record: the option defaults
}
