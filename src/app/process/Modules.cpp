#include "Modules.h"

#include <QFileInfo>
#include <QLibrary>

#include <cstdio>

namespace orvane::Modules {

namespace {

// The folder of the running program, found without an application object
// (the road decides which one to create only after the library is open).
QString programFolder() { return QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath(); }

// Opens the first library of that file name in the library folders and
// looks up its entry point; null with `error` set when either fails.
QFunctionPointer resolveEntry(const QString& fileName, const char* entry, QString* error)
{
    QString problem = QStringLiteral("not found in ") + libraryFolders().join(QStringLiteral(", "));
    for (const QString& folder : libraryFolders()) {
        const QString path = folder + QLatin1Char('/') + fileName;
        if (!QFileInfo::exists(path))
            continue;
        QLibrary library(path);
        if (!library.load()) {
            problem = library.errorString();
            break;
        }
        if (QFunctionPointer f = library.resolve(entry))
            return f;
        problem = library.errorString();
        break;
    }
    if (error)
        *error = QStringLiteral("cannot open ") + fileName + QStringLiteral(": ") + problem;
    return nullptr;
}

}  // namespace

QStringList libraryFolders()
{
    const QString program = programFolder();
    return {QFileInfo(program + QStringLiteral("/" ORVANE_LIBRARY_DIR)).absoluteFilePath(),
            program};
}

const PictureModule* pictureModule(QString* error)
{
    using Entry = const PictureModule* (*)();
    const auto entry = reinterpret_cast<Entry>(
        resolveEntry(QStringLiteral(ORVANE_PICTURE_LIBRARY), ORVANE_PICTURE_ENTRY, error));
    return entry ? entry() : nullptr;
}

int runWindows(int argc, char** argv, ProcessState& state)
{
    using Entry = CommandLine::WindowRoad (*)();
    QString error;
    const auto entry = reinterpret_cast<Entry>(
        resolveEntry(QStringLiteral(ORVANE_WINDOW_LIBRARY), ORVANE_WINDOW_ENTRY, &error));
    if (!entry) {
        const QByteArray text =
            (QStringLiteral("orvane: ") + error + QLatin1Char('\n')).toLocal8Bit();
        std::fwrite(text.constData(), 1, size_t(text.size()), stderr);
        return 2;
    }
    return entry()(argc, argv, state);
}

}  // namespace orvane::Modules
