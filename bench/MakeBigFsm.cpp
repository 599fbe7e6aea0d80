// Writes the diagram files of the batch measurements, as the editor saves
// them:
//   make_big_fsm STATES FILE            the benchmark machine of STATES states
//   make_big_fsm --chain N FOLDER       C0.fsm calling C1.fsm ... calling CN.fsm,
//                                       all in FOLDER (a tree N children deep)
//   make_big_fsm --long-action MB FILE  a small machine whose one transition
//                                       action is MB megabytes of C lines

#include "BigMachine.h"
#include "FsmDocument.h"
#include "Messenger.h"

#include <QDir>
#include <QFileInfo>
#include <QString>

#include <cstdio>
#include <cstdlib>

namespace {

bool save(orvane::FsmDocument& doc, const QString& path)
{
    orvane::SilentMessenger quiet;
    QString error;
    doc.beforeSave();
    const bool written = doc.diagram().saveFile(path, &error);
    doc.afterSave(quiet);
    if (!written)
        std::fprintf(stderr, "%s\n", qPrintable(error));
    return written;
}

int usage()
{
    std::fprintf(stderr, "usage: make_big_fsm STATES FILE\n"
                         "       make_big_fsm --chain N FOLDER\n"
                         "       make_big_fsm --long-action MB FILE\n");
    return 2;
}

int writeChain(int children, const QString& folder)
{
    QDir().mkpath(folder);
    for (int i = 0; i <= children; ++i) {
        const QString name = QStringLiteral("C%1").arg(i);
        const QString during =
            i < children ? QStringLiteral("C%1();").arg(i + 1) : QStringLiteral("leaf();");
        orvane::FsmDocument doc;
        const QString path = folder + QLatin1Char('/') + name + QStringLiteral(".fsm");
        orvane::bench::openSmallMachine(doc, name, during, QStringLiteral("go();"), path);
        if (!save(doc, path))
            return 1;
    }
    return 0;
}

int writeLongAction(int megabytes, const QString& path)
{
    const qsizetype size = qsizetype(megabytes) * 1024 * 1024;
    QString action;
    action.reserve(size + 64);
    for (int i = 0; action.size() < size; ++i)
        action += QStringLiteral("value = value * 3 + %1; // step %1\r\n").arg(i);
    orvane::FsmDocument doc;
    orvane::bench::openSmallMachine(doc, QStringLiteral("Long"), QStringLiteral("idle();"), action,
                                    path);
    return save(doc, path) ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3 && argc != 4)
        return usage();
    const QString last = QFileInfo(QString::fromLocal8Bit(argv[argc - 1])).absoluteFilePath();
    if (argc == 4) {
        const QString mode = QString::fromLocal8Bit(argv[1]);
        const int n = std::atoi(argv[2]);
        if (mode == QLatin1String("--chain") && n >= 0)
            return writeChain(n, last);
        if (mode == QLatin1String("--long-action") && n >= 1)
            return writeLongAction(n, last);
        return usage();
    }
    if (std::atoi(argv[1]) < 1)
        return usage();
    orvane::FsmDocument doc;
    orvane::bench::openMachine(doc, std::atoi(argv[1]), last);
    return save(doc, last) ? 0 : 1;
}
