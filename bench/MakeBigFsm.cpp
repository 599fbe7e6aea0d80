// make_big_fsm STATES FILE: writes the benchmark machine of STATES states as
// a diagram file, as the editor saves it.

#include "BigMachine.h"
#include "FsmDocument.h"
#include "Messenger.h"

#include <QFileInfo>
#include <QString>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    if (argc != 3 || std::atoi(argv[1]) < 1) {
        std::fprintf(stderr, "usage: make_big_fsm STATES FILE\n");
        return 2;
    }
    const QString path = QFileInfo(QString::fromLocal8Bit(argv[2])).absoluteFilePath();
    orvane::FsmDocument doc;
    orvane::bench::openMachine(doc, std::atoi(argv[1]), path);
    orvane::SilentMessenger quiet;
    QString error;
    doc.beforeSave();
    const bool written = doc.diagram().saveFile(path, &error);
    doc.afterSave(quiet);
    if (!written) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    return 0;
}
