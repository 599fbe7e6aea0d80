#include "DialogTestSupport.h"

#include "modFont.h"

using namespace orvane;
using namespace orvane::testing;
namespace Estado = orvane::modNodoEstado;

namespace {

class modFontTest : public DialogTest {
protected:
    void SetUp() override
    {
        DialogTest::SetUp();
        a = AddState(QStringLiteral("A"), QStringLiteral("1"), Estado::NODE_STATE_INITIAL);
        b = AddState(QStringLiteral("B"), QStringLiteral("2"));
        remark = doc.diagram().addNode(100, 4000, 800, 400);
        remark->setUserData(Estado::NODE_TEXTBOX);
        remark->setIsFsmItem(false);
        remark->setText(QStringLiteral("note"));
    }
    void SetDiagramSize(double size)
    {
        DiagramFont f = doc.diagram().font();
        f.size = size;
        doc.diagram().setFont(f);
        for (Node* n : {a, b, remark}) {
            DiagramFont nf = n->font();
            nf.size = size;
            n->setFont(nf);
        }
        doc.diagram().setChanged(false);
    }
    void SelectRemark(double size)
    {
        DiagramFont f = remark->font();
        f.size = size;
        remark->setFont(f);
        doc.diagram().setCurrentNode(remark);
        doc.diagram().setChanged(false);
    }

    Node* a = nullptr;
    Node* b = nullptr;
    Node* remark = nullptr;
};

TEST_F(modFontTest, DiagramSizeStopsAt36AndAt3)
{
    SetDiagramSize(36);
    EXPECT_FALSE(modFont::EnlargeFont(doc, silent));
    EXPECT_FALSE(doc.diagram().changed());
    EXPECT_DOUBLE_EQ(doc.diagram().font().size, 36);

    SetDiagramSize(35);
    EXPECT_TRUE(modFont::EnlargeFont(doc, silent));
    EXPECT_TRUE(doc.diagram().changed());
    for (const Node* n : {a, b, remark})
        EXPECT_DOUBLE_EQ(n->font().size, 36);
    EXPECT_TRUE(doc.diagram().autoRefresh());

    SetDiagramSize(3);
    EXPECT_FALSE(modFont::ReduceFont(doc, silent));
    EXPECT_FALSE(doc.diagram().changed());
    SetDiagramSize(40);  // outside the range: never moved further out
    EXPECT_FALSE(modFont::EnlargeFont(doc, silent));
    EXPECT_TRUE(modFont::ReduceFont(doc, silent));
    EXPECT_DOUBLE_EQ(doc.diagram().font().size, 39);
    SetDiagramSize(35.5);  // a fractional size ends on the limit
    EXPECT_TRUE(modFont::EnlargeFont(doc, silent));
    EXPECT_DOUBLE_EQ(doc.diagram().font().size, 36);
}

TEST_F(modFontTest, SelectedRemarkAloneChangesAndCommitsItsEditorFirst)
{
    SetDiagramSize(10);
    SelectRemark(10);
    int commits = 0;
    EXPECT_TRUE(modFont::EnlargeFont(doc, silent, [&commits] { ++commits; }));
    EXPECT_EQ(commits, 1);
    EXPECT_DOUBLE_EQ(remark->font().size, 11);
    EXPECT_DOUBLE_EQ(a->font().size, 10);
    EXPECT_DOUBLE_EQ(doc.diagram().font().size, 10);

    // Below 3 is refused, but the document counts as changed all the same.
    SelectRemark(3);
    EXPECT_FALSE(modFont::ReduceFont(doc, silent));
    EXPECT_DOUBLE_EQ(remark->font().size, 3);
    EXPECT_TRUE(doc.diagram().changed());
}

TEST_F(modFontTest, ChangeFontAsksTheRightDialogAndCancelChangesNothing)
{
    SetDiagramSize(10);
    bool effects = true, fixed = false;
    auto cancel = [&](const modFont::FontChoice&, bool e,
                      bool f) -> std::optional<modFont::FontChoice> {
        effects = e;
        fixed = f;
        return std::nullopt;
    };
    EXPECT_FALSE(modFont::ChangeFont(doc, true, silent, cancel));
    EXPECT_FALSE(effects);
    EXPECT_TRUE(fixed);  // the diagram's dialog honours "Fixed Pitch"
    EXPECT_FALSE(doc.diagram().changed());

    SelectRemark(10);
    remark->setForeColor(0x0000FF);
    modFont::FontChoice seen;
    auto choose = [&](const modFont::FontChoice& initial, bool e,
                      bool f) -> std::optional<modFont::FontChoice> {
        seen = initial;
        effects = e;
        fixed = f;
        modFont::FontChoice c = initial;
        c.font.name = QStringLiteral("DejaVu Sans Mono");
        c.font.underline = true;
        c.foreColor = 0x00FF00;
        return c;
    };
    EXPECT_TRUE(modFont::ChangeFont(doc, true, silent, choose));
    EXPECT_TRUE(effects);
    EXPECT_FALSE(fixed);  // a remark's dialog is never restricted
    EXPECT_EQ(seen.foreColor, 0x0000FFu);
    EXPECT_EQ(remark->font().name, QStringLiteral("DejaVu Sans Mono"));
    EXPECT_TRUE(remark->font().underline);
    EXPECT_EQ(remark->foreColor(), 0x00FF00u);
    EXPECT_NE(a->font().name, QStringLiteral("DejaVu Sans Mono"));
}

TEST_F(modFontTest, WholeDiagramTakesTheChosenFontAndReadOnlyIgnoresAll)
{
    SetDiagramSize(10);
    auto choose = [](const modFont::FontChoice& initial, bool,
                     bool) -> std::optional<modFont::FontChoice> {
        modFont::FontChoice c = initial;
        c.font.name = QStringLiteral("DejaVu Serif");
        c.font.bold = true;
        c.font.size = 14;
        return c;
    };
    ASSERT_TRUE(modFont::ChangeFont(doc, false, silent, choose));
    for (const Node* n : {a, b, remark})
        EXPECT_EQ(n->font(), doc.diagram().font());
    EXPECT_TRUE(doc.diagram().font().bold);

    doc.diagram().setReadOnly(true);
    doc.diagram().setChanged(false);
    EXPECT_FALSE(modFont::EnlargeFont(doc, silent));
    EXPECT_FALSE(modFont::ReduceFont(doc, silent));
    EXPECT_FALSE(modFont::ChangeFont(doc, false, silent, choose));
    EXPECT_DOUBLE_EQ(doc.diagram().font().size, 14);
    EXPECT_FALSE(doc.diagram().changed());
}

}  // namespace
