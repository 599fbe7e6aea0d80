// Replays every input the fuzzers found a fault with (fuzz/regressions/)
// and the seed inputs through the fuzz entry points, so a fault once fixed
// stays fixed in the ordinary test runs.

#include "FuzzEntries.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include <cstdint>

using namespace orvane;

namespace {

using Entry = void (*)(const std::uint8_t*, std::size_t);

QString source(const char* relative)
{
    return QStringLiteral(ORVANE_SOURCE_DIR "/") + QLatin1String(relative);
}

// Runs every file of the folders (matching `filter`) through the entry;
// returns how many there were.
int replay(Entry entry, const QStringList& folders, const QString& filter = QString())
{
    fuzz::setup();
    int count = 0;
    for (const QString& folder : folders) {
        const QDir dir(folder);
        const QStringList names = filter.isEmpty()
                                      ? dir.entryList(QDir::Files, QDir::Name)
                                      : dir.entryList({filter}, QDir::Files, QDir::Name);
        for (const QString& name : names) {
            QFile f(dir.filePath(name));
            if (!f.open(QIODevice::ReadOnly)) {
                ADD_FAILURE() << "cannot read " << f.fileName().toStdString();
                continue;
            }
            const QByteArray bytes = f.readAll();
            SCOPED_TRACE(f.fileName().toStdString());
            entry(reinterpret_cast<const std::uint8_t*>(bytes.constData()), size_t(bytes.size()));
            ++count;
        }
    }
    return count;
}

const QStringList kSeedDiagrams = {source("tests/data"), source("examples"),
                                   source("fuzz/seeds/diagram")};

TEST(FuzzReplay, DiagramFilesLoadGenerateAndSurviveASave)
{
    EXPECT_GT(replay(fuzz::diagramFile, {source("fuzz/regressions/diagram")}), 0);
    EXPECT_GT(replay(fuzz::diagramFile, kSeedDiagrams, QStringLiteral("*.fsm")), 0);
}

TEST(FuzzReplay, DiagramFilesDrawAsPictures)
{
    replay(fuzz::diagramPicture,
           {source("fuzz/regressions/picture"), source("fuzz/regressions/diagram")});
    EXPECT_GT(replay(fuzz::diagramPicture, kSeedDiagrams, QStringLiteral("*.fsm")), 0);
}

TEST(FuzzReplay, CommandLines)
{
    EXPECT_GT(replay(fuzz::commandLine,
                     {source("fuzz/regressions/command_line"), source("fuzz/seeds/command_line")}),
              0);
}

}  // namespace
