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

QString Source(const char* relative)
{
    return QStringLiteral(ORVANE_SOURCE_DIR "/") + QLatin1String(relative);
}

// Runs every file of the folders (matching `filter`) through the entry;
// returns how many there were.
int Replay(Entry entry, const QStringList& folders, const QString& filter = QString())
{
    fuzz::Setup();
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

const QStringList kSeedDiagrams = {Source("tests/data"), Source("examples"),
                                   Source("fuzz/seeds/diagram")};

TEST(FuzzReplay, DiagramFilesLoadGenerateAndSurviveASave)
{
    EXPECT_GT(Replay(fuzz::DiagramFile, {Source("fuzz/regressions/diagram")}), 0);
    EXPECT_GT(Replay(fuzz::DiagramFile, kSeedDiagrams, QStringLiteral("*.fsm")), 0);
}

TEST(FuzzReplay, DiagramFilesDrawAsPictures)
{
    Replay(fuzz::DiagramPicture,
           {Source("fuzz/regressions/picture"), Source("fuzz/regressions/diagram")});
    EXPECT_GT(Replay(fuzz::DiagramPicture, kSeedDiagrams, QStringLiteral("*.fsm")), 0);
}

TEST(FuzzReplay, CommandLines)
{
    EXPECT_GT(Replay(fuzz::CommandLine,
                     {Source("fuzz/regressions/command_line"), Source("fuzz/seeds/command_line")}),
              0);
}

}  // namespace
