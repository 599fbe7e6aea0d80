#include "Logs.h"

#include "ProcessState.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QLocale>
#include <QStandardPaths>

#include <sys/syscall.h>
#include <unistd.h>

namespace orvane::Logs {

namespace {
QString now()
{
    const QDateTime now = QDateTime::currentDateTime();
    const QLocale loc = QLocale::system();
    return loc.toString(now.date(), QLocale::ShortFormat) + QLatin1Char(' ')
           + loc.toString(now.time(), QLocale::LongFormat);
}

void append(const QString& path, const QString& record)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Append))
        return;
    f.write((record + QStringLiteral("\r\n")).toUtf8());
}
}  // namespace

QString debugLogPath()
{
    QString dir = qEnvironmentVariable("ORVANE_LOG_DIR");
    if (dir.isEmpty()) {
        // The user's data folder named for the program, whether or not an
        // application object exists yet (a second start hands its file over
        // before it makes one).
        dir = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
        dir = dir.isEmpty() ? QDir::tempPath() : dir + QStringLiteral("/orvane");
        QDir().mkpath(dir);
    }
    if (!dir.endsWith(QLatin1Char('/')))
        dir += QLatin1Char('/');
    return dir + QStringLiteral("FSM.log");
}

QString errorLogPath()
{
    const QString& folder = process().errorFolder;
    if (folder.isEmpty())
        return QStringLiteral("FSM_ERR.log");
    if (folder.endsWith(QLatin1Char('/')))
        return folder + QStringLiteral("FSM_ERR.log");
    return folder + QStringLiteral("/FSM_ERR.log");
}

void writeLog(const QString& message)
{
    const QString handle = QString::number(qulonglong(getpid()), 16).toUpper();
    const QString thread = QString::number(qulonglong(syscall(SYS_gettid)), 16).toUpper();
    append(debugLogPath(), QLatin1Char('[') + handle + QLatin1Char(':') + thread + QLatin1Char('|')
                               + now() + QStringLiteral("]:") + message);
}

void writeErrorLog(const QString& message)
{
    append(errorLogPath(), QLatin1Char('[') + now() + QStringLiteral("]:") + message);
    writeLog(message);
}

QString cantSaveRecord(const QString& path, const SafeFileWriter::WriteResult& result)
{
    if (result.readOnly)
        return QStringLiteral("Fsm can't save, access denied to file:[") + path + QLatin1Char(']');
    return QStringLiteral("Fsm can't save file:[") + path + QStringLiteral("]: ") + result.reason;
}

void clearLog() { QFile::remove(debugLogPath()); }

}  // namespace orvane::Logs
