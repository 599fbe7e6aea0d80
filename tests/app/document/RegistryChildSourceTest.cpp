#include "AppTestSupport.h"

#include "MachineFiles.h"
#include "RegistryChildSource.h"
#include "modC_CodeGenHSC.h"
#include "modMain_Files.h"
#include "modNodoEstado.h"

using namespace orvane;
using orvane::testfiles::TwoStates;

namespace {

class RegistryChildSourceTest : public test::AppTest {
protected:
    QString Machine(const QString& name, const testfiles::TwoStateMachine& m)
    {
        const QString path = Work(name);
        EXPECT_TRUE(testfiles::WriteMachine(path, m));
        return path;
    }
};

TEST_F(RegistryChildSourceTest, OpensEachFileOnceAndClosesWhatItOpened)
{
    Document* mine = modMain::FileOpen(*docs, Machine(QStringLiteral("Top.fsm"),
                                                      TwoStates(QStringLiteral("Top"), {})))
                         .document;
    ASSERT_NE(mine, nullptr);
    const QString kid =
        Machine(QStringLiteral("Top/Kid.fsm"), TwoStates(QStringLiteral("Kid"), {}));
    {
        RegistryChildSource source(*docs);
        QString error;
        const FsmDocument* first = source.OpenChild(kid, &error);
        ASSERT_NE(first, nullptr);
        EXPECT_EQ(first->caption, QStringLiteral("Kid"));
        EXPECT_EQ(source.OpenChild(Work(QStringLiteral("Top/../Top/Kid.fsm")), &error), first);
        EXPECT_EQ(docs->count(), 2);
        // An open document is not opened again, and stays open afterwards.
        EXPECT_EQ(source.OpenChild(mine->fsm.sFullDocname, &error), &mine->fsm);
    }
    EXPECT_EQ(docs->count(), 1);
    EXPECT_EQ(docs->active(), mine);

    {
        RegistryChildSource source(*docs);
        source.keepOpened(true);
        QString error;
        ASSERT_NE(source.OpenChild(kid, &error), nullptr);
    }
    EXPECT_EQ(docs->count(), 2);
    EXPECT_EQ(docs->active(), mine);
}

TEST_F(RegistryChildSourceTest, FilesThatDoNotOpenGiveTheReasonAndLeaveNothingOpen)
{
    const QString broken = Work(QStringLiteral("Broken.fsm"));
    test::WriteFile(broken, "not a diagram");
    const QString newer = WriteDiagram(QStringLiteral("Newer.fsm"), QStringLiteral("FSM V9.9"));
    {
        RegistryChildSource source(*docs);
        QString error;
        EXPECT_EQ(source.OpenChild(Work(QStringLiteral("Gone.fsm")), &error), nullptr);
        EXPECT_EQ(error, QStringLiteral("the file does not exist"));
        error.clear();
        EXPECT_EQ(source.OpenChild(broken, &error), nullptr);
        EXPECT_FALSE(error.isEmpty());
        // The newer-signature question takes its default answer, No.
        EXPECT_EQ(source.OpenChild(newer, &error), nullptr);
        EXPECT_EQ(error, QStringLiteral("the file has a newer signature"));
    }
    EXPECT_EQ(docs->count(), 0);
}

TEST_F(RegistryChildSourceTest, GenerationUsesAnOpenChildWithItsUnsavedEdits)
{
    const QString top = Machine(QStringLiteral("Top.fsm"),
                                TwoStates(QStringLiteral("Top"), QStringLiteral("Kid();")));
    const QString kidPath = Machine(QStringLiteral("Top/Kid.fsm"),
                                    TwoStates(QStringLiteral("Kid"), QStringLiteral("Leaf();")));
    Machine(QStringLiteral("Top/Leaf.fsm"), TwoStates(QStringLiteral("Leaf"), {}));
    Document* kid = modMain::FileOpen(*docs, kidPath).document;
    ASSERT_NE(kid, nullptr);
    for (const auto& n : kid->fsm.diagram().nodes()) {
        if (modNodoEstado::GetStateField(modNodoEstado::kStateName, n.get()) == QLatin1String("S2"))
            n->setTag(modStrings::JoinFields({QStringLiteral("S2"),
                                              QStringLiteral("edited();"),
                                              QStringLiteral("2"),
                                              {},
                                              {},
                                              QStringLiteral("N"),
                                              QStringLiteral("N"),
                                              {}}));
    }
    Document* topDoc = modMain::FileOpen(*docs, top).document;
    ASSERT_NE(topDoc, nullptr);

    QString result;
    {
        RegistryChildSource source(*docs);
        result = modC_CodeGenHSC::GenerateCodeHierarchical(topDoc->fsm, source, ui);
    }
    EXPECT_TRUE(result.contains(QStringLiteral("edited();")));
    EXPECT_TRUE(result.contains(QStringLiteral("static void Leaf(void)")));
    // Leaf was opened for the generation only.
    EXPECT_EQ(docs->count(), 2);
    EXPECT_EQ(docs->active(), topDoc);
    EXPECT_TRUE(ui.shown.empty());
}

}  // namespace
