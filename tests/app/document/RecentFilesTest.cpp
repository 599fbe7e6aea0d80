#include "AppTestSupport.h"

#include "DocumentCommands.h"

#include <QSettings>
#include <QSignalSpy>

using namespace orvane;
using namespace orvane::DocumentCommands;

namespace {

class RecentTest : public test::AppTest {
protected:
    // Saves the file (opened unlocked, one edit) and so lists it.
    void save(const QString& name)
    {
        const QString path = work(name);
        if (!QFileInfo::exists(path))
            writeDiagram(path);
        Document* doc = fileOpen(*docs, path).document;
        ASSERT_NE(doc, nullptr);
        doc->fsm.diagram().setReadOnly(false);
        edit(*doc);
        ASSERT_TRUE(fileSave(*docs, *doc));
    }
    QStringList names() const
    {
        QStringList names;
        for (const QString& p : getRecentFiles(*docs))
            names.append(QFileInfo(p).fileName());
        return names;
    }
};

TEST_F(RecentTest, TheListHoldsTheSixMostRecentlySavedFiles)
{
    for (int i = 1; i <= 8; ++i)
        save(QStringLiteral("f%1.fsm").arg(i));
    EXPECT_EQ(names(), (QStringList{"f8.fsm", "f7.fsm", "f6.fsm", "f5.fsm", "f4.fsm", "f3.fsm"}));

    // Stored as the settings' text keys, in the INI file of the application.
    QSettings ini(settingsDir + QStringLiteral("/Orvane Diagram Editor.ini"), QSettings::IniFormat);
    EXPECT_EQ(ini.value(QStringLiteral("Recent Files/RecentFile1")).toString(),
              work(QStringLiteral("f8.fsm")));
    EXPECT_EQ(ini.value(QStringLiteral("Recent Files/RecentFile6")).toString(),
              work(QStringLiteral("f3.fsm")));
    EXPECT_FALSE(ini.contains(QStringLiteral("Recent Files/RecentFile7")));
}

TEST_F(RecentTest, AListedFileKeepsItsPlace)
{
    save(QStringLiteral("a.fsm"));
    save(QStringLiteral("b.fsm"));
    save(QStringLiteral("c.fsm"));
    save(QStringLiteral("a.fsm"));
    EXPECT_EQ(names(), (QStringList{"c.fsm", "b.fsm", "a.fsm"}));
}

TEST_F(RecentTest, TheSameFileUnderAnotherSpellingIsListedOnce)
{
    save(QStringLiteral("a.fsm"));
    QFile::link(work(QStringLiteral("a.fsm")), work(QStringLiteral("alias.fsm")));
    AppSettings::saveSetting(AppSettings::kSectionRecentFiles, QStringLiteral("RecentFile2"),
                             work(QStringLiteral("./a.fsm")));
    AppSettings::saveSetting(AppSettings::kSectionRecentFiles, QStringLiteral("RecentFile3"),
                             work(QStringLiteral("alias.fsm")));
    EXPECT_EQ(names(), QStringList{"a.fsm"});

    updateRecentFiles(*docs, work(QStringLiteral("alias.fsm")));
    EXPECT_EQ(names(), QStringList{"a.fsm"});
    EXPECT_TRUE(
        AppSettings::getSetting(AppSettings::kSectionRecentFiles, QStringLiteral("RecentFile2"))
            .isEmpty());
}

TEST_F(RecentTest, VanishedFilesAreDropped)
{
    save(QStringLiteral("a.fsm"));
    save(QStringLiteral("b.fsm"));
    QFile::remove(work(QStringLiteral("a.fsm")));
    EXPECT_EQ(names(), QStringList{"b.fsm"});
    save(QStringLiteral("c.fsm"));
    EXPECT_EQ(names(), (QStringList{"c.fsm", "b.fsm"}));
    EXPECT_TRUE(
        AppSettings::getSetting(AppSettings::kSectionRecentFiles, QStringLiteral("RecentFile3"))
            .isEmpty());
}

TEST_F(RecentTest, OpeningDoesNotListAndWindowsAreToldOfChanges)
{
    QSignalSpy spy(docs.get(), &DocumentRegistry::recentFilesChanged);
    fileOpen(*docs, writeDiagram(QStringLiteral("a.fsm")));
    EXPECT_TRUE(getRecentFiles(*docs).isEmpty());
    spy.clear();
    save(QStringLiteral("b.fsm"));
    ASSERT_FALSE(spy.isEmpty());
    EXPECT_EQ(spy.last().at(0).toStringList(), QStringList{work(QStringLiteral("b.fsm"))});
}

TEST_F(RecentTest, ARecentFileOpensByItsPosition)
{
    save(QStringLiteral("a.fsm"));
    save(QStringLiteral("b.fsm"));
    ASSERT_TRUE(closeAllDocuments(*docs));
    const OpenResult r = openRecentFile(*docs, 1);
    ASSERT_EQ(r.status, OpenStatus::Opened);
    EXPECT_EQ(r.document->caption(), QStringLiteral("a"));
    EXPECT_EQ(openRecentFile(*docs, 5).status, OpenStatus::Missing);
}

}  // namespace
