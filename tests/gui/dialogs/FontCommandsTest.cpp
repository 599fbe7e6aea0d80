#include "DialogTestSupport.h"

#include "FontCommands.h"
#include "ModalTestSupport.h"

#include <QTest>

using namespace orvane;
using namespace orvane::testing;
namespace States = orvane::States;

namespace {

using Choice = std::optional<FontCommands::FontChoice>;

class FontCommandsTest : public DialogTest {
protected:
    void SetUp() override
    {
        DialogTest::SetUp();
        a = addState(QStringLiteral("A"), QStringLiteral("1"), NodeStateInitial);
        remark = doc.diagram().addNode(100, 4000, 800, 400);
        remark->setUserData(NodeTextBox);
        remark->setText(QStringLiteral("note"));
    }
    // The diagram and its nodes at one size; `current` is the current node.
    void start(double size, Node* current = nullptr)
    {
        DiagramFont f = doc.diagram().font();
        f.size = size;
        doc.diagram().setFont(f);
        for (Node* n : {a, remark})
            n->setFont(f);
        doc.diagram().setCurrentNode(current);
        doc.diagram().setChanged(false);
    }
    Node* a = nullptr;
    Node* remark = nullptr;
};

TEST_F(FontCommandsTest, DiagramSizeStaysWithin3And36)
{
    start(36);
    EXPECT_FALSE(FontCommands::enlargeFont(doc, silent));
    EXPECT_FALSE(doc.diagram().changed());
    start(35);
    EXPECT_TRUE(FontCommands::enlargeFont(doc, silent));
    EXPECT_TRUE(doc.diagram().changed());
    EXPECT_DOUBLE_EQ(a->font().size, 36);
    EXPECT_DOUBLE_EQ(remark->font().size, 36);
    start(3);
    EXPECT_FALSE(FontCommands::reduceFont(doc, silent));
    start(40);  // outside the range: moves only back towards it
    EXPECT_FALSE(FontCommands::enlargeFont(doc, silent));
    EXPECT_TRUE(FontCommands::reduceFont(doc, silent));
    EXPECT_DOUBLE_EQ(doc.diagram().font().size, 39);
    start(35.5);  // a fractional size ends on the limit
    EXPECT_TRUE(FontCommands::enlargeFont(doc, silent));
    EXPECT_DOUBLE_EQ(doc.diagram().font().size, 36);
}

TEST_F(FontCommandsTest, SelectedRemarkAloneChangesAfterItsEditorIsCommitted)
{
    start(10, remark);
    int commits = 0;
    EXPECT_TRUE(FontCommands::enlargeFont(doc, silent, [&commits] { ++commits; }));
    EXPECT_EQ(commits, 1);
    EXPECT_DOUBLE_EQ(remark->font().size, 11);
    EXPECT_DOUBLE_EQ(a->font().size, 10);
    // Below 3 is refused, but the document counts as changed all the same.
    start(3, remark);
    EXPECT_FALSE(FontCommands::reduceFont(doc, silent));
    EXPECT_DOUBLE_EQ(remark->font().size, 3);
    EXPECT_TRUE(doc.diagram().changed());
}

TEST_F(FontCommandsTest, ChangeFontOnRemarkOrDiagram)
{
    bool effects = true, fixed = false;
    auto cancel = [&](const FontCommands::FontChoice&, bool e, bool f) -> Choice {
        effects = e;
        fixed = f;
        return std::nullopt;
    };
    start(10);
    EXPECT_FALSE(FontCommands::changeFont(doc, true, silent, cancel));
    EXPECT_TRUE(!effects && fixed);  // the diagram's dialog honours "Fixed Pitch"
    EXPECT_FALSE(doc.diagram().changed());

    auto choose = [&](const FontCommands::FontChoice& initial, bool e, bool f) -> Choice {
        effects = e;
        fixed = f;
        FontCommands::FontChoice c = initial;
        c.font.name = QStringLiteral("DejaVu Serif");
        c.font.underline = true;
        c.foreColor = initial.foreColor + 1;
        return c;
    };
    start(10, remark);
    remark->setForeColor(0x0000FF);
    EXPECT_TRUE(FontCommands::changeFont(doc, true, silent, choose));
    EXPECT_TRUE(effects && !fixed);  // a remark's dialog offers colour and any font
    EXPECT_EQ(remark->foreColor(), 0x000100u);
    EXPECT_TRUE(remark->font().underline);
    EXPECT_NE(a->font().name, QStringLiteral("DejaVu Serif"));

    start(10);
    EXPECT_TRUE(FontCommands::changeFont(doc, false, silent, choose));
    EXPECT_EQ(a->font(), doc.diagram().font());
    EXPECT_EQ(remark->font().name, QStringLiteral("DejaVu Serif"));
}

TEST_F(FontCommandsTest, ReadOnlyDiagramIgnoresAllThree)
{
    start(10);
    doc.diagram().setReadOnly(true);
    auto choose = [](const FontCommands::FontChoice& c, bool, bool) -> Choice { return c; };
    EXPECT_FALSE(FontCommands::enlargeFont(doc, silent));
    EXPECT_FALSE(FontCommands::reduceFont(doc, silent));
    EXPECT_FALSE(FontCommands::changeFont(doc, false, silent, choose));
    EXPECT_FALSE(doc.diagram().changed());
}

TEST_F(FontCommandsTest, EscapeInTheFontListCancelsTheWholeDialog)
{
    const FontCommands::FontChoice initial{doc.diagram().font(), 0};
    bool hostStillShown = false;
    onModal([&](QDialog* d) {
        auto* fonts = d->findChild<QDialog*>(QStringLiteral("fontDialog"));
        ASSERT_NE(fonts, nullptr);
        QTest::keyClick(fonts, Qt::Key_Escape);
        hostStillShown = d->isVisible();
        // Before, the list vanished inside a host left open, whose OK then
        // applied a font: close the host as the user then had to.
        if (d->isVisible())
            d->accept();
    });
    const Choice c = FontCommands::askFont(initial, false, false, nullptr);
    EXPECT_FALSE(hostStillShown);
    EXPECT_FALSE(c.has_value());
}

}  // namespace
