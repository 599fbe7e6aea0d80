#include "AppTestSupport.h"

#include "modMain_Files.h"

#include <QSettings>
#include <QSignalSpy>

using namespace orvane;
using namespace orvane::modMain;

namespace {

class RecentTest : public test::AppTest {
protected:
    // Saves the file (opened unlocked, one edit) and so lists it.
    void Save(const QString& name)
    {
        const QString path = Work(name);
        if (!QFileInfo::exists(path))
            WriteDiagram(path);
        Document* doc = FileOpen(*docs, path).document;
        ASSERT_NE(doc, nullptr);
        doc->fsm.diagram().setReadOnly(false);
        Edit(*doc);
        ASSERT_TRUE(FileSave(*docs, *doc));
    }
    QStringList Names() const
    {
        QStringList names;
        for (const QString& p : GetRecentFiles(*docs))
            names.append(QFileInfo(p).fileName());
        return names;
    }
};

TEST_F(RecentTest, TheListHoldsTheSixMostRecentlySavedFiles)
{
    for (int i = 1; i <= 8; ++i)
        Save(QStringLiteral("f%1.fsm").arg(i));
    EXPECT_EQ(Names(), (QStringList{"f8.fsm", "f7.fsm", "f6.fsm", "f5.fsm", "f4.fsm", "f3.fsm"}));

    // Stored as the settings' text keys, in the INI file of the application.
    QSettings ini(settingsDir + QStringLiteral("/Orvane Diagram Editor.ini"), QSettings::IniFormat);
    EXPECT_EQ(ini.value(QStringLiteral("Recent Files/RecentFile1")).toString(), Work(QStringLiteral("f8.fsm")));
    EXPECT_EQ(ini.value(QStringLiteral("Recent Files/RecentFile6")).toString(), Work(QStringLiteral("f3.fsm")));
    EXPECT_FALSE(ini.contains(QStringLiteral("Recent Files/RecentFile7")));
}

TEST_F(RecentTest, AListedFileKeepsItsPlace)
{
    Save(QStringLiteral("a.fsm"));
    Save(QStringLiteral("b.fsm"));
    Save(QStringLiteral("c.fsm"));
    Save(QStringLiteral("a.fsm"));
    EXPECT_EQ(Names(), (QStringList{"c.fsm", "b.fsm", "a.fsm"}));
}

TEST_F(RecentTest, TheSameFileUnderAnotherSpellingIsListedOnce)
{
    Save(QStringLiteral("a.fsm"));
    QFile::link(Work(QStringLiteral("a.fsm")), Work(QStringLiteral("alias.fsm")));
    AppSettings::SaveSetting(AppSettings::kSectionRecentFiles, QStringLiteral("RecentFile2"),
                             Work(QStringLiteral("./a.fsm")));
    AppSettings::SaveSetting(AppSettings::kSectionRecentFiles, QStringLiteral("RecentFile3"),
                             Work(QStringLiteral("alias.fsm")));
    EXPECT_EQ(Names(), QStringList{"a.fsm"});

    UpdateRecentFiles(*docs, Work(QStringLiteral("alias.fsm")));
    EXPECT_EQ(Names(), QStringList{"a.fsm"});
    EXPECT_TRUE(AppSettings::GetSetting(AppSettings::kSectionRecentFiles, QStringLiteral("RecentFile2")).isEmpty());
}

TEST_F(RecentTest, VanishedFilesAreDropped)
{
    Save(QStringLiteral("a.fsm"));
    Save(QStringLiteral("b.fsm"));
    QFile::remove(Work(QStringLiteral("a.fsm")));
    EXPECT_EQ(Names(), QStringList{"b.fsm"});
    Save(QStringLiteral("c.fsm"));
    EXPECT_EQ(Names(), (QStringList{"c.fsm", "b.fsm"}));
    EXPECT_TRUE(AppSettings::GetSetting(AppSettings::kSectionRecentFiles, QStringLiteral("RecentFile3")).isEmpty());
}

TEST_F(RecentTest, OpeningDoesNotListAndWindowsAreToldOfChanges)
{
    QSignalSpy spy(docs.get(), &DocumentRegistry::recentFilesChanged);
    FileOpen(*docs, WriteDiagram(QStringLiteral("a.fsm")));
    EXPECT_TRUE(GetRecentFiles(*docs).isEmpty());
    spy.clear();
    Save(QStringLiteral("b.fsm"));
    ASSERT_FALSE(spy.isEmpty());
    EXPECT_EQ(spy.last().at(0).toStringList(), QStringList{Work(QStringLiteral("b.fsm"))});
}

TEST_F(RecentTest, ARecentFileOpensByItsPosition)
{
    Save(QStringLiteral("a.fsm"));
    Save(QStringLiteral("b.fsm"));
    ASSERT_TRUE(CloseAllDocuments(*docs));
    const OpenResult r = OpenRecentFile(*docs, 1);
    ASSERT_EQ(r.status, OpenStatus::Opened);
    EXPECT_EQ(r.document->caption(), QStringLiteral("a"));
    EXPECT_EQ(OpenRecentFile(*docs, 5).status, OpenStatus::Missing);
}

}  // namespace
