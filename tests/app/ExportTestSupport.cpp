#include "ExportTestSupport.h"

#include "FontTextMeasurer.h"
#include "ProcessState.h"
#include "RawRecord.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QJsonDocument>
#include <QJsonValue>

#include <map>

namespace orvane::exporttest {

namespace {
QString quoted(const QString& s)
{
    return QString::fromUtf8(
               QJsonDocument::fromVariant(QVariantList{s}).toJson(QJsonDocument::Compact))
        .mid(1)
        .chopped(1);
}

using orvane::testing::rawRecord;

quint16 u16(const QByteArray& b, qsizetype at)
{
    return quint16(quint8(b[at]) | quint8(b[at + 1]) << 8);
}

quint32 u32(const QByteArray& b, qsizetype at)
{
    return u16(b, at) | quint32(u16(b, at + 2)) << 16;
}
}  // namespace

QString stateJson(int id, double left, double top, qint32 kind, const QString& name,
                  const QString& index, const QString& during)
{
    return QStringLiteral(R"({"id": %1, "left": %2, "top": %3, "width": 1500, "height": 900, )"
                          R"("userData": %4, "tag": %5})")
        .arg(id)
        .arg(left)
        .arg(top)
        .arg(kind)
        .arg(quoted(rawRecord({name, during, index, {}, {}, "N", "N", {}})));
}

QString transitionJson(int id, double left, double top, const QString& priority,
                       const QString& condition, const QString& action)
{
    return QStringLiteral(R"({"id": %1, "left": %2, "top": %3, "width": 150, "height": 100, )"
                          R"("userData": 2048, "tag": %4})")
        .arg(id)
        .arg(left)
        .arg(top)
        .arg(quoted(rawRecord({priority, condition, action, "Y", "N"})));
}

QString infoJson(int id, QStringList f)
{
    f.resize(11);
    f[0] = QStringLiteral("FSM V0.4c");
    f[4] = QStringLiteral("&Switch Case...;AS_Y;");
    return QStringLiteral(R"({"id": %1, "left": 0, "top": 0, "width": 100, "height": 100, )"
                          R"("isFsmItem": false, "userData": 512, "tag": %2})")
        .arg(id)
        .arg(quoted(rawRecord(f)));
}

QString linkJson(int org, int dst, int arrowDst)
{
    return QStringLiteral(R"({"org": %1, "dst": %2, "arrowDst": %3})")
        .arg(org)
        .arg(dst)
        .arg(arrowDst);
}

std::unique_ptr<FsmDocument> loadDocument(const QString& path, const QStringList& nodes,
                                          const QStringList& links)
{
    const QString json =
        QStringLiteral(R"({"format": "fsm-diagram", "version": 1, "nodes": [%1], )"
                       R"("links": [%2]})")
            .arg(nodes.join(QStringLiteral(",\n")), links.join(QStringLiteral(",\n")));
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(json.toUtf8()) < 0) {
        ADD_FAILURE() << "cannot write " << path.toStdString();
        return nullptr;
    }
    f.close();
    return openDocument(path);
}

QByteArray readBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

std::unique_ptr<FsmDocument> openDocument(const QString& path)
{
    auto doc = std::make_unique<FsmDocument>();
    QString error;
    RecordingMessenger messenger;
    if (!doc->diagram().loadFile(path, &error) || !doc->afterLoad({}, messenger)) {
        ADD_FAILURE() << "cannot load " << path.toStdString() << ": " << error.toStdString();
        return nullptr;
    }
    doc->filePath = path;
    doc->diagram().setChanged(false);
    return doc;
}

void ExportFixture::SetUp()
{
    ASSERT_TRUE(dir.isValid());
    qputenv("ORVANE_LOG_DIR", dir.path().toLocal8Bit());
    process().errorFolder = dir.path();
    installFontTextMeasurer();
}

void ExportFixture::TearDown()
{
    process() = ProcessState{};
    qunsetenv("ORVANE_LOG_DIR");
}

int WmfRecord::word(int i) const { return qint16(u16(params, 2 * i)); }

std::vector<const WmfRecord*> WmfFile::withFunction(quint16 function) const
{
    std::vector<const WmfRecord*> out;
    for (const WmfRecord& r : records)
        if (r.function == function)
            out.push_back(&r);
    return out;
}

WmfFile readWmf(const QByteArray& b)
{
    WmfFile w;
    auto fail = [&w](const QString& why) {
        w.error = why;
        return w;
    };
    if (b.size() < 40 || b.size() % 2)
        return fail(QStringLiteral("too short or odd size"));
    if (u32(b, 0) != 0x9AC6CDD7)
        return fail(QStringLiteral("no placeable key"));
    quint16 checksum = 0;
    for (int i = 0; i < 20; i += 2)
        checksum ^= u16(b, i);
    if (checksum != u16(b, 20))
        return fail(QStringLiteral("bad checksum"));
    w.right = qint16(u16(b, 10));
    w.bottom = qint16(u16(b, 12));
    w.unitsPerInch = u16(b, 14);
    const qsizetype h = 22;
    if (u16(b, h) != 1 || u16(b, h + 2) != 9 || u16(b, h + 4) != 0x0300)
        return fail(QStringLiteral("bad metafile header"));
    if (qsizetype(u32(b, h + 6)) * 2 != b.size() - h)
        return fail(QStringLiteral("size in header does not match the file"));
    const int objects = u16(b, h + 10);
    const quint32 maxRecord = u32(b, h + 12);

    std::vector<bool> live(size_t(objects), false);
    qsizetype at = h + 18;
    bool ended = false;
    while (at < b.size()) {
        if (at + 6 > b.size())
            return fail(QStringLiteral("truncated record"));
        const quint32 words = u32(b, at);
        if (words < 3 || at + qsizetype(words) * 2 > b.size())
            return fail(QStringLiteral("bad record size"));
        if (words > maxRecord)
            return fail(QStringLiteral("record larger than the header's maximum"));
        WmfRecord r;
        r.function = u16(b, at + 4);
        r.params = b.mid(at + 6, qsizetype(words) * 2 - 6);
        at += qsizetype(words) * 2;
        if (r.function == 0) {
            ended = true;
            if (at != b.size())
                return fail(QStringLiteral("data after the end record"));
        }
        const quint16 f = r.function;
        if (f == 0x02FA || f == 0x02FB || f == 0x02FC) {
            const auto slot = std::find(live.begin(), live.end(), false);
            if (slot == live.end())
                return fail(QStringLiteral("more objects than the header declares"));
            *slot = true;
        } else if (f == 0x012D || f == 0x01F0) {
            const int slot = r.word(0);
            if (slot < 0 || slot >= objects || !live[size_t(slot)])
                return fail(QStringLiteral("select or delete of a missing object"));
            if (f == 0x01F0)
                live[size_t(slot)] = false;
        }
        w.records.push_back(r);
    }
    if (!ended)
        return fail(QStringLiteral("no end record"));
    if (std::find(live.begin(), live.end(), true) != live.end())
        return fail(QStringLiteral("objects left undeleted"));
    return w;
}

}  // namespace orvane::exporttest
