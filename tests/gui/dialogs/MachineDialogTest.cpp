#include "DialogTestSupport.h"

#include "CodeEditor.h"
#include "MachineDialog.h"
#include "MachineInfo.h"

#include <QCheckBox>
#include <QLabel>
#include <QTabBar>
#include <QTabWidget>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTest>

using namespace orvane;
using namespace orvane::testing;
namespace MachineInfo = orvane::MachineInfo;

namespace {

class MachineDialogTest : public DialogTest {
protected:
    void SetUp() override
    {
        DialogTest::SetUp();
        initial = addState(QStringLiteral("Idle"), QStringLiteral("1"), NodeStateInitial);
        MachineInfo::setMachineConfig(
            doc.diagram(),
            MachineConfig{MachineInfo::kSignature, QStringLiteral("Lamp"), QStringLiteral("int x;"),
                          QStringLiteral("x++;"), QStringLiteral("&Switch Case...;AS_Y;"),
                          QStringLiteral("int ev"), QStringLiteral("x--;"),
                          QStringLiteral("void f(void){}"), QStringLiteral("/* module */"),
                          QStringLiteral("/* function */"), QString()});
        doc.diagram().setChanged(false);
    }
    std::unique_ptr<MachineDialog> open()
    {
        return std::make_unique<MachineDialog>(doc, nullptr, &asker);
    }
    template <class T> static T* find(QWidget& dlg, const char* name)
    {
        return dlg.findChild<T*>(QLatin1String(name));
    }
    MachineConfig config() const { return machineConfig(doc.diagram()); }

    Node* initial = nullptr;
};

// Replaces every findWhat by replaceWith and stops at the caption given.
class ScriptedMatcher : public FindMatcher {
public:
    bool showMatch(const QString& caption, QString& text, const QString& findWhat,
                   const QString& replaceWith, bool, bool) override
    {
        captions << caption;
        text.replace(findWhat, replaceWith);
        return !caption.contains(stopAt);
    }
    QString stopAt = QStringLiteral("never");
    QStringList captions;
};

TEST_F(MachineDialogTest, OkWithoutChangeLeavesTheDocumentUnchanged)
{
    const QString record = doc.diagram().tag();
    const bool history = doc.historyMachine;
    auto dlg = open();
    find<QPushButton>(*dlg, "okButton")->click();
    EXPECT_EQ(dlg->result(), QDialog::Accepted);
    EXPECT_EQ(doc.diagram().tag(), record);
    EXPECT_EQ(doc.historyMachine, history);
    EXPECT_FALSE(doc.diagram().changed());
}

TEST_F(MachineDialogTest, EditingOnlyTheNameChangesNothing)
{
    const QString record = doc.diagram().tag();
    auto dlg = open();
    find<QLineEdit>(*dlg, "nameEdit")->setText(QStringLiteral("Other"));
    find<QPushButton>(*dlg, "okButton")->click();
    EXPECT_EQ(doc.diagram().tag(), record);
    EXPECT_FALSE(doc.diagram().changed());
}

TEST_F(MachineDialogTest, ChangesReachTheRecordTheFlagsAndTheHistoryMark)
{
    doc.historyMachine = false;
    auto dlg = open();
    find<QLineEdit>(*dlg, "nameEdit")->setText(QStringLiteral("  Lamp2 "));
    find<CodeEditor>(*dlg, "afterEdit")->setCode(QStringLiteral("done();"));
    find<QCheckBox>(*dlg, "historyBox")->setChecked(true);
    find<QCheckBox>(*dlg, "ansiCommentsBox")->setChecked(true);
    find<QPushButton>(*dlg, "okButton")->click();
    EXPECT_EQ(config().name, QStringLiteral("Lamp2"));
    EXPECT_EQ(config().after, QStringLiteral("done();"));
    EXPECT_EQ(config().options, QStringLiteral("&Switch Case...;AS_Y;"));
    EXPECT_EQ(config().init, QStringLiteral("int x;"));
    EXPECT_TRUE(doc.historyMachine);
    EXPECT_TRUE(doc.ansiComments);
    EXPECT_TRUE(doc.diagram().changed());
    EXPECT_TRUE(initial->text().startsWith(QStringLiteral("<History>\r\n")));
}

TEST_F(MachineDialogTest, HeaderSwitchingKeepsBothTexts)
{
    auto dlg = open();
    auto* button = find<QPushButton>(*dlg, "headerSwitchButton");
    auto* header = find<CodeEditor>(*dlg, "headerEdit");
    EXPECT_EQ(button->text(), QStringLiteral("This is the module header"));
    EXPECT_EQ(header->code(), QStringLiteral("/* module */"));
    header->setCode(QStringLiteral("/* module 2 */"));
    leaveControl(header);
    button->click();
    EXPECT_EQ(button->text(), QStringLiteral("This is the function header"));
    EXPECT_EQ(header->code(), QStringLiteral("/* function */"));
    header->setCode(QStringLiteral("/* function 2 */"));
    button->click();
    EXPECT_EQ(header->code(), QStringLiteral("/* module 2 */"));
    button->click();
    EXPECT_EQ(header->code(), QStringLiteral("/* function 2 */"));
    find<QPushButton>(*dlg, "okButton")->click();
    EXPECT_EQ(config().moduleHeader, QStringLiteral("/* module 2 */"));
    EXPECT_EQ(config().functionHeader, QStringLiteral("/* function 2 */"));
}

TEST_F(MachineDialogTest, TabsBecomeBlanksWhenLeavingAnEditor)
{
    auto dlg = open();
    auto* init = find<CodeEditor>(*dlg, "initEdit");
    init->setCode(QStringLiteral("ab\tc\r\nx\ty\r\n\tz "));
    leaveControl(init);
    EXPECT_EQ(init->code(), QStringLiteral("ab  c\r\nx   y\r\n    z "));
}

TEST_F(MachineDialogTest, EscInAnEditorCancelsTheDialog)
{
    auto dlg = open();
    dlg->show();
    auto* init = find<CodeEditor>(*dlg, "initEdit");
    init->setCode(QStringLiteral("changed"));
    QTest::keyClick(init, Qt::Key_Escape);
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_EQ(dlg->result(), QDialog::Rejected);
    EXPECT_EQ(config().init, QStringLiteral("int x;"));
}

TEST_F(MachineDialogTest, F2OpensTheRepositoryAndTheEditorKeepsItsTextMeanwhile)
{
    QStringList opened;
    setRepositoryHandler([&opened](CodeEditor& editor, FsmDocument&) {
        opened << editor.objectName();
        leaveControl(&editor);  // the word picker takes the focus
        editor.replaceSelection(QStringLiteral("word"));
    });
    auto dlg = open();
    auto* init = find<CodeEditor>(*dlg, "initEdit");
    init->setCode(QStringLiteral("a\t"));
    init->setCursorPosition(0, 2);
    QTest::keyClick(init, Qt::Key_F2);
    QTest::keyClick(find<CodeEditor>(*dlg, "headerEdit"), Qt::Key_F2);
    setRepositoryHandler(nullptr);
    EXPECT_EQ(opened, QStringList{QStringLiteral("initEdit")});
    EXPECT_EQ(init->code(), QStringLiteral("a\tword"));
    leaveControl(init);
    EXPECT_EQ(init->code(), QStringLiteral("a   word"));
}

TEST_F(MachineDialogTest, LockedDiagramIsReadOnlyAndSearchWritesNothing)
{
    doc.diagram().setReadOnly(true);
    const QString record = doc.diagram().tag();
    {
        auto dlg = open();
        for (const char* name :
             {"headerEdit", "initEdit", "beforeEdit", "defaultEdit", "afterEdit", "finalEdit"}) {
            auto* e = find<CodeEditor>(*dlg, name);
            EXPECT_TRUE(e->isLocked()) << name;
            EXPECT_EQ(e->colourItem(CodeEditor::ClrWindow), 0xF0FFFF) << name;
        }
        EXPECT_FALSE(find<QPushButton>(*dlg, "okButton")->isEnabled());
        EXPECT_FALSE(find<QCheckBox>(*dlg, "macrosBox")->isEnabled());
    }
    ScriptedMatcher m;
    EXPECT_TRUE(
        MachineDialog::search(doc, m, QStringLiteral("x"), QStringLiteral("y"), false, &asker));
    EXPECT_EQ(m.captions.size(), 6);
    EXPECT_EQ(doc.diagram().tag(), record);
}

TEST_F(MachineDialogTest, SearchKeepsFieldsBeforeTheCancelledOne)
{
    ScriptedMatcher m;
    m.stopAt = QStringLiteral("before dispatcher");
    EXPECT_FALSE(
        MachineDialog::search(doc, m, QStringLiteral("x"), QStringLiteral("y"), false, &asker));
    EXPECT_EQ(m.captions,
              (QStringList{"FSM properties: Parameters", "FSM properties: Initialization",
                           "FSM properties: Actions before dispatcher"}));
    EXPECT_EQ(config().init, QStringLiteral("int y;"));
    EXPECT_EQ(config().before, QStringLiteral("x++;"));
    EXPECT_EQ(config().after, QStringLiteral("x--;"));
}

TEST_F(MachineDialogTest, ResetColoursStaysAfterCancel)
{
    initial->setFillColor(0x00FF00);
    initial->setForeColor(0x0000FF);
    doc.diagram().setDefaultFillColor(0x123456);
    auto dlg = open();
    find<QPushButton>(*dlg, "resetColoursButton")->click();
    find<QPushButton>(*dlg, "cancelButton")->click();
    EXPECT_EQ(initial->fillColor(), 0xFFFFF0u);
    EXPECT_EQ(initial->foreColor(), 0u);
    EXPECT_EQ(doc.diagram().defaultFillColor(), 0xFFFFF0u);
}

TEST_F(MachineDialogTest, WindowSizeComesFromAndGoesToTheSettings)
{
    {
        auto dlg = open();
        EXPECT_EQ(dlg->minimumSize(), QSize(8505 / 15, 7575 / 15));
        dlg->resize(10, 10);
        EXPECT_EQ(dlg->size(), dlg->minimumSize());
        dlg->resize(700, 600);
        dlg->reject();
    }
    const auto settings = AppSettings::open();
    EXPECT_EQ(settings->value(QStringLiteral("PropFSM/WndWidth")).toString(),
              QStringLiteral("10500"));
    EXPECT_EQ(settings->value(QStringLiteral("PropFSM/WndHeight")).toString(),
              QStringLiteral("9000"));
    settings->setValue(QStringLiteral("PropFSM/WndWidth"), QStringLiteral("0"));
    settings->setValue(QStringLiteral("PropFSM/WndHeight"), QStringLiteral("0"));
    settings->sync();
    auto maximized = open();
    EXPECT_TRUE(maximized->windowState() & Qt::WindowMaximized);
    maximized->reject();
    EXPECT_EQ(AppSettings::open()->value(QStringLiteral("PropFSM/WndWidth")).toString(),
              QStringLiteral("0"));
}

TEST_F(MachineDialogTest, OpenChildFsmNeedsAnExistingFile)
{
    doc.filePath = dir.filePath(QStringLiteral("Top.fsm"));
    QString name = QStringLiteral("Idle");
    States::configureState(doc,
                           StateRecord{name,
                                       QStringLiteral("SUB();"),
                                       QStringLiteral("1"),
                                       {},
                                       {},
                                       QStringLiteral("N"),
                                       QStringLiteral("N"),
                                       {}},
                           NodeStateInitial, initial, silent);
    auto none = open();
    EXPECT_TRUE(find<QPushButton>(*none, "openChildButton")->isHidden());

    QFile child(dir.filePath(QStringLiteral("SUB.fsm")));
    ASSERT_TRUE(child.open(QIODevice::WriteOnly));
    child.close();
    auto dlg = open();
    dlg->show();
    ASSERT_FALSE(find<QPushButton>(*dlg, "openChildButton")->isHidden());
    ASSERT_TRUE(child.remove());
    find<QPushButton>(*dlg, "openChildButton")->click();
    EXPECT_TRUE(dlg->isVisible());
    EXPECT_TRUE(dlg->pendingDocument().isEmpty());
    ASSERT_TRUE(child.open(QIODevice::WriteOnly));
    child.close();
    find<QPushButton>(*dlg, "openChildButton")->click();
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_EQ(dlg->pendingDocument(), dir.filePath(QStringLiteral("SUB.fsm")));
}

}  // namespace

TEST_F(MachineDialogTest, EveryTabShowsOkAndCancelKeepTheirWidthAndTheNameSaysItFollowsTheFile)
{
    auto dlg = open();
    dlg->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dlg.get()));
    auto* tabs = find<QTabWidget>(*dlg, "tabs");
    QTabBar* bar = tabs->tabBar();
    for (int i = 0; i < tabs->count(); ++i)
        EXPECT_TRUE(bar->rect().contains(bar->tabRect(i))) << tabs->tabText(i).toStdString();
    EXPECT_EQ(tabs->tabText(tabs->count() - 1), QStringLiteral("Options"));
    EXPECT_LE(bar->mapTo(dlg.get(), QPoint(bar->width(), 0)).x(), dlg->width());
    for (const char* name : {"okButton", "cancelButton"}) {
        auto* b = find<QPushButton>(*dlg, name);
        EXPECT_LE(b->width(), b->sizeHint().width() + 2) << name;
        EXPECT_GT(b->mapTo(dlg.get(), QPoint(0, 0)).x(), dlg->width() / 2) << name;
    }
    auto* note = find<QLabel>(*dlg, "nameNote");
    ASSERT_TRUE(note);
    EXPECT_EQ(note->text(), QStringLiteral("Saved diagrams take their file's name"));
    EXPECT_TRUE(note->isVisible());
}
