#include "DialogTestSupport.h"
#include "ModalTestSupport.h"

#include "FindAndReplace.h"
#include "frmFind.h"
#include "modGrafoInfo.h"

#include <QClipboard>
#include <QLineEdit>
#include <QPushButton>

using namespace orvane;
using namespace orvane::testing;
namespace Estado = orvane::modNodoEstado;
namespace Transicion = orvane::modNodoTransicion;

namespace {

// Records the caption of every text that holds the search string, and
// replaces every occurrence (as "Change" until the end would).
class ReplacingMatcher : public FindMatcher {
public:
    bool busqueda(const QString& caption, QString& text, const QString& findWhat,
                  const QString& replaceWith, bool, bool readOnly) override
    {
        if (!text.contains(findWhat))
            return true;
        shown << caption;
        if (!readOnly)
            text.replace(findWhat, replaceWith);
        return true;
    }
    QStringList shown;
};

// The real match dialog, recording the texts it was given that match.
class RecordingFind : public frmFind {
public:
    bool busqueda(const QString& caption, QString& text, const QString& findWhat,
                  const QString& replaceWith, bool caseSensitive, bool readOnly) override
    {
        if (text.contains(findWhat))
            shown << caption;
        return frmFind::busqueda(caption, text, findWhat, replaceWith, caseSensitive, readOnly);
    }
    QStringList shown;
};

class FindAndReplaceTest : public DialogTest {
protected:
    void SetUp() override
    {
        DialogTest::SetUp();
        s1 = AddState(QStringLiteral("S1"), QStringLiteral("1"), Estado::NODE_STATE_INITIAL,
                      QStringLiteral("x1();"));
        s2 = AddState(QStringLiteral("S2"), QStringLiteral("2"), Estado::NODE_STATE_NORMAL,
                      QStringLiteral("x2(x);"));
        t = AddTransition(s1, s2);
        Transicion::Configura_Nodo_Transicion(doc, QStringLiteral("1"), QStringLiteral("x3"), {},
                                              QStringLiteral("N"), QStringLiteral("N"), t);
        remark = doc.diagram().addNode(100, 4000, 800, 400);
        remark->setUserData(Estado::NODE_TEXTBOX);
        remark->setText(QStringLiteral("see x4"));
        modGrafoInfo::SetGraphInfo(doc.diagram(), QStringLiteral("M"), {},
                                   QStringLiteral("int x5;"), {}, {}, {}, {},
                                   modGrafoInfo::kSignature, {}, {}, {});
        doc.diagram().setChanged(false);
    }

    Node* s1 = nullptr;
    Node* s2 = nullptr;
    Node* t = nullptr;
    Node* remark = nullptr;
};

TEST_F(FindAndReplaceTest, StagesRunInOrderAndStoreTheirReplacements)
{
    ReplacingMatcher matcher;
    EXPECT_TRUE(FindAndReplace::SearchDocument(doc, matcher, QStringLiteral("x"),
                                               QStringLiteral("y"), true, &asker));
    EXPECT_EQ(matcher.shown, (QStringList{QStringLiteral("FSM properties: Initialization"),
                                          QStringLiteral("State[S1]: Moore actions "),
                                          QStringLiteral("State[S2]: Moore actions "),
                                          QStringLiteral("Transition(1) from [S1]: Condition"),
                                          QStringLiteral("Label")}));
    EXPECT_EQ(modGrafoInfo::GetGraphField(modGrafoInfo::kGraphInit, doc.diagram()),
              QStringLiteral("int y5;"));
    EXPECT_EQ(Estado::GetStateField(Estado::kStateDuring, s1), QStringLiteral("y1();"));
    EXPECT_EQ(Estado::GetStateField(Estado::kStateDuring, s2), QStringLiteral("y2(y);"));
    EXPECT_EQ(Transicion::GetTransitionField(Transicion::kTransCondition, t), QStringLiteral("y3"));
    EXPECT_EQ(remark->text(), QStringLiteral("see y4"));
    EXPECT_TRUE(doc.diagram().changed());
    EXPECT_TRUE(doc.diagram().redraw());
}

TEST_F(FindAndReplaceTest, ReadOnlyDiagramIsShownButNeverWritten)
{
    doc.diagram().setReadOnly(true);
    ReplacingMatcher matcher;
    EXPECT_TRUE(FindAndReplace::SearchDocument(doc, matcher, QStringLiteral("x"),
                                               QStringLiteral("y"), true, &asker));
    EXPECT_EQ(matcher.shown.size(), 5);
    EXPECT_EQ(Estado::GetStateField(Estado::kStateDuring, s1), QStringLiteral("x1();"));
    EXPECT_EQ(remark->text(), QStringLiteral("see x4"));
    EXPECT_FALSE(doc.diagram().changed());
}

TEST_F(FindAndReplaceTest, CancelInTheSecondStateStopsEverything)
{
    // The FSM text and the first state are finished with a change each; the
    // second state is cancelled after a change, which it drops.
    RecordingFind find;
    auto change = [](QDialog* d) { Child<QPushButton>(d, "cmdSustituir")->click(); };
    OnModal([change](QDialog* fsm) {
        change(fsm);
        OnModal([change](QDialog* first) {
            change(first);
            OnModal([change](QDialog* second) {
                change(second);
                Child<QPushButton>(second, "cmdCancelar")->click();
            });
        });
    });
    EXPECT_FALSE(FindAndReplace::SearchDocument(doc, find, QStringLiteral("x"), QStringLiteral("z"),
                                                true, &asker));
    EXPECT_EQ(find.shown, (QStringList{QStringLiteral("FSM properties: Initialization"),
                                       QStringLiteral("State[S1]: Moore actions "),
                                       QStringLiteral("State[S2]: Moore actions ")}));
    EXPECT_EQ(modGrafoInfo::GetGraphField(modGrafoInfo::kGraphInit, doc.diagram()),
              QStringLiteral("int z5;"));
    EXPECT_EQ(Estado::GetStateField(Estado::kStateDuring, s1), QStringLiteral("z1();"));
    EXPECT_EQ(Estado::GetStateField(Estado::kStateDuring, s2), QStringLiteral("x2(x);"));
    EXPECT_EQ(Transicion::GetTransitionField(Transicion::kTransCondition, t), QStringLiteral("x3"));
    EXPECT_EQ(remark->text(), QStringLiteral("see x4"));
}

TEST_F(FindAndReplaceTest, FirstSearchProposesTheClipboardsFirstLine)
{
    QGuiApplication::clipboard()->setText(QStringLiteral("x1\r\nrest"));
    QString proposed;
    OnModal([&proposed](QDialog* d) {
        proposed = Child<QLineEdit>(d, "txtToFind")->text();
        d->reject();
    });
    FindTexts texts;
    bool caseSensitive = false;
    FindAndReplace::RunFind(doc, texts, caseSensitive);
    EXPECT_EQ(proposed, QStringLiteral("x1"));
    EXPECT_TRUE(texts.findWhat.isEmpty());  // cancelled: nothing searched
    EXPECT_FALSE(doc.diagram().changed());
}

}  // namespace
