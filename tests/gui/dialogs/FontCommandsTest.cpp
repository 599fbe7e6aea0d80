#include "DialogTestSupport.h"

#include "modFont.h"

using namespace orvane;
using namespace orvane::testing;
namespace Estado = orvane::modNodoEstado;

namespace {

using Choice = std::optional<modFont::FontChoice>;

class modFontTest : public DialogTest {
protected:
    void SetUp() override
    {
        DialogTest::SetUp();
        a = AddState(QStringLiteral("A"), QStringLiteral("1"), Estado::NODE_STATE_INITIAL);
        remark = doc.diagram().addNode(100, 4000, 800, 400);
        remark->setUserData(Estado::NODE_TEXTBOX);
        remark->setText(QStringLiteral("note"));
    }
    // The diagram and its nodes at one size; `current` is the current node.
    void Start(double size, Node* current = nullptr)
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

TEST_F(modFontTest, DiagramSizeStaysWithin3And36)
{
    Start(36);
    EXPECT_FALSE(modFont::EnlargeFont(doc, silent));
    EXPECT_FALSE(doc.diagram().changed());
    Start(35);
    EXPECT_TRUE(modFont::EnlargeFont(doc, silent));
    EXPECT_TRUE(doc.diagram().changed());
    EXPECT_DOUBLE_EQ(a->font().size, 36);
    EXPECT_DOUBLE_EQ(remark->font().size, 36);
    Start(3);
    EXPECT_FALSE(modFont::ReduceFont(doc, silent));
    Start(40);  // outside the range: moves only back towards it
    EXPECT_FALSE(modFont::EnlargeFont(doc, silent));
    EXPECT_TRUE(modFont::ReduceFont(doc, silent));
    EXPECT_DOUBLE_EQ(doc.diagram().font().size, 39);
    Start(35.5);  // a fractional size ends on the limit
    EXPECT_TRUE(modFont::EnlargeFont(doc, silent));
    EXPECT_DOUBLE_EQ(doc.diagram().font().size, 36);
}

TEST_F(modFontTest, SelectedRemarkAloneChangesAfterItsEditorIsCommitted)
{
    Start(10, remark);
    int commits = 0;
    EXPECT_TRUE(modFont::EnlargeFont(doc, silent, [&commits] { ++commits; }));
    EXPECT_EQ(commits, 1);
    EXPECT_DOUBLE_EQ(remark->font().size, 11);
    EXPECT_DOUBLE_EQ(a->font().size, 10);
    // Below 3 is refused, but the document counts as changed all the same.
    Start(3, remark);
    EXPECT_FALSE(modFont::ReduceFont(doc, silent));
    EXPECT_DOUBLE_EQ(remark->font().size, 3);
    EXPECT_TRUE(doc.diagram().changed());
}

TEST_F(modFontTest, ChangeFontOnRemarkOrDiagram)
{
    bool effects = true, fixed = false;
    auto cancel = [&](const modFont::FontChoice&, bool e, bool f) -> Choice {
        effects = e;
        fixed = f;
        return std::nullopt;
    };
    Start(10);
    EXPECT_FALSE(modFont::ChangeFont(doc, true, silent, cancel));
    EXPECT_TRUE(!effects && fixed);  // the diagram's dialog honours "Fixed Pitch"
    EXPECT_FALSE(doc.diagram().changed());

    auto choose = [&](const modFont::FontChoice& initial, bool e, bool f) -> Choice {
        effects = e;
        fixed = f;
        modFont::FontChoice c = initial;
        c.font.name = QStringLiteral("DejaVu Serif");
        c.font.underline = true;
        c.foreColor = initial.foreColor + 1;
        return c;
    };
    Start(10, remark);
    remark->setForeColor(0x0000FF);
    EXPECT_TRUE(modFont::ChangeFont(doc, true, silent, choose));
    EXPECT_TRUE(effects && !fixed);  // a remark's dialog offers colour and any font
    EXPECT_EQ(remark->foreColor(), 0x000100u);
    EXPECT_TRUE(remark->font().underline);
    EXPECT_NE(a->font().name, QStringLiteral("DejaVu Serif"));

    Start(10);
    EXPECT_TRUE(modFont::ChangeFont(doc, false, silent, choose));
    EXPECT_EQ(a->font(), doc.diagram().font());
    EXPECT_EQ(remark->font().name, QStringLiteral("DejaVu Serif"));
}

TEST_F(modFontTest, ReadOnlyDiagramIgnoresAllThree)
{
    Start(10);
    doc.diagram().setReadOnly(true);
    auto choose = [](const modFont::FontChoice& c, bool, bool) -> Choice { return c; };
    EXPECT_FALSE(modFont::EnlargeFont(doc, silent));
    EXPECT_FALSE(modFont::ReduceFont(doc, silent));
    EXPECT_FALSE(modFont::ChangeFont(doc, false, silent, choose));
    EXPECT_FALSE(doc.diagram().changed());
}

}  // namespace
