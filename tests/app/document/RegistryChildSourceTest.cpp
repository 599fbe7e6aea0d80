#include "AppTestSupport.h"

#include "MachineFiles.h"
#include "RegistryChildSource.h"
#include "HierarchicalGenerator.h"
#include "DocumentCommands.h"
#include "States.h"

using namespace orvane;
using orvane::testfiles::twoStates;

namespace {

class RegistryChildSourceTest : public test::AppTest {
protected:
    QString machine(const QString& name, const testfiles::TwoStateMachine& m)
    {
        const QString path = work(name);
        EXPECT_TRUE(testfiles::writeMachine(path, m));
        return path;
    }
};

TEST_F(RegistryChildSourceTest, OpensEachFileOnceAndClosesWhatItOpened)
{
    Document* mine =
        DocumentCommands::fileOpen(
            *docs, machine(QStringLiteral("Top.fsm"), twoStates(QStringLiteral("Top"), {})))
            .document;
    ASSERT_NE(mine, nullptr);
    const QString kid =
        machine(QStringLiteral("Top/Kid.fsm"), twoStates(QStringLiteral("Kid"), {}));
    {
        RegistryChildSource source(*docs);
        QString error;
        const FsmDocument* first = source.openChild(kid, &error);
        ASSERT_NE(first, nullptr);
        EXPECT_EQ(first->caption, QStringLiteral("Kid"));
        EXPECT_EQ(source.openChild(work(QStringLiteral("Top/../Top/Kid.fsm")), &error), first);
        EXPECT_EQ(docs->count(), 2);
        // An open document is not opened again, and stays open afterwards.
        EXPECT_EQ(source.openChild(mine->fsm.filePath, &error), &mine->fsm);
    }
    EXPECT_EQ(docs->count(), 1);
    EXPECT_EQ(docs->active(), mine);

    {
        RegistryChildSource source(*docs);
        source.keepOpened(true);
        QString error;
        ASSERT_NE(source.openChild(kid, &error), nullptr);
    }
    EXPECT_EQ(docs->count(), 2);
    EXPECT_EQ(docs->active(), mine);
}

TEST_F(RegistryChildSourceTest, FilesThatDoNotOpenGiveTheReasonAndLeaveNothingOpen)
{
    const QString broken = work(QStringLiteral("Broken.fsm"));
    test::writeFile(broken, "not a diagram");
    const QString newer = writeDiagram(QStringLiteral("Newer.fsm"), QStringLiteral("FSM V9.9"));
    {
        RegistryChildSource source(*docs);
        QString error;
        EXPECT_EQ(source.openChild(work(QStringLiteral("Gone.fsm")), &error), nullptr);
        EXPECT_EQ(error, QStringLiteral("the file does not exist"));
        error.clear();
        EXPECT_EQ(source.openChild(broken, &error), nullptr);
        EXPECT_FALSE(error.isEmpty());
        // The newer-signature question takes its default answer, No.
        EXPECT_EQ(source.openChild(newer, &error), nullptr);
        EXPECT_EQ(error, QStringLiteral("the file has a newer signature"));
    }
    EXPECT_EQ(docs->count(), 0);
}

TEST_F(RegistryChildSourceTest, GenerationUsesAnOpenChildWithItsUnsavedEdits)
{
    const QString top = machine(QStringLiteral("Top.fsm"),
                                twoStates(QStringLiteral("Top"), QStringLiteral("Kid();")));
    const QString kidPath = machine(QStringLiteral("Top/Kid.fsm"),
                                    twoStates(QStringLiteral("Kid"), QStringLiteral("Leaf();")));
    machine(QStringLiteral("Top/Leaf.fsm"), twoStates(QStringLiteral("Leaf"), {}));
    Document* kid = DocumentCommands::fileOpen(*docs, kidPath).document;
    ASSERT_NE(kid, nullptr);
    for (const auto& n : kid->fsm.diagram().nodes()) {
        if (stateRecord(n.get()).name == QLatin1String("S2"))
            n->setTag(StateRecord{
                QStringLiteral("S2"),
                QStringLiteral("edited();"),
                QStringLiteral("2"),
                {},
                {},
                QStringLiteral("N"),
                QStringLiteral("N"),
                {}}.toText());
    }
    Document* topDoc = DocumentCommands::fileOpen(*docs, top).document;
    ASSERT_NE(topDoc, nullptr);

    QString result;
    {
        RegistryChildSource source(*docs);
        const std::optional<GeneratedCode> module =
            HierarchicalGenerator::generate(topDoc->fsm, source, ui);
        ASSERT_TRUE(module);
        result = module->code;
    }
    EXPECT_TRUE(result.contains(QStringLiteral("edited();")));
    EXPECT_TRUE(result.contains(QStringLiteral("static void Leaf(void)")));
    // Leaf was opened for the generation only.
    EXPECT_EQ(docs->count(), 2);
    EXPECT_EQ(docs->active(), topDoc);
    EXPECT_TRUE(ui.shown.empty());
}

}  // namespace

TEST_F(RegistryChildSourceTest, ExistsAnswersFromTheFolderAsItIsAndRecordsWhatWasRead)
{
    const QString kid =
        machine(QStringLiteral("Top/Kid.fsm"), twoStates(QStringLiteral("Kid"), {}));
    QDir().mkpath(work(QStringLiteral("Top/Folder.fsm")));
    RegistryChildSource source(*docs);
    EXPECT_TRUE(source.exists(kid));
    EXPECT_FALSE(source.exists(work(QStringLiteral("Top/Other.fsm"))));
    EXPECT_FALSE(source.exists(work(QStringLiteral("Top/kid.fsm"))));     // names are exact
    EXPECT_FALSE(source.exists(work(QStringLiteral("Top/Folder.fsm"))));  // a folder is no diagram
    EXPECT_FALSE(source.exists(work(QStringLiteral("Missing/Kid.fsm"))));
    EXPECT_TRUE(source.readPaths().isEmpty());
    QString error;
    ASSERT_NE(source.openChild(kid, &error), nullptr);
    ASSERT_NE(source.openChild(kid, &error), nullptr);
    EXPECT_EQ(source.readPaths(), QStringList{kid});
}
