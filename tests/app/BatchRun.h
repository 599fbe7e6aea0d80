#pragma once
// Runs the real program in batch mode the way a build script does: no
// display, logs and settings in the test's own folders, and gives back the
// exit status and what it wrote on standard output and standard error.

#include <QProcess>
#include <QString>
#include <QStringList>

namespace orvane::testing {

struct BatchOutcome {
    int exitCode = -1;  // -1 when the program crashed or did not end
    QString out, err;
    QStringList errLines() const { return err.split(QLatin1Char('\n'), Qt::SkipEmptyParts); }
};

// `folder` is the working folder; the debug log goes to `logFolder`, the
// settings to folder/settings and, when `tmpFolder` is given, TMPDIR there.
inline BatchOutcome runBatchProgram(const QString& folder, const QString& logFolder,
                                    const QStringList& args, const QString& tmpFolder = {})
{
    QProcess p;
    p.setWorkingDirectory(folder);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("ORVANE_LOG_DIR"), logFolder);
    env.insert(QStringLiteral("ORVANE_SETTINGS_DIR"), folder + QStringLiteral("/settings"));
    if (!tmpFolder.isEmpty())
        env.insert(QStringLiteral("TMPDIR"), tmpFolder);
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(ORVANE_BINARY), args);
    p.closeWriteChannel();
    p.waitForFinished(60000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromLocal8Bit(p.readAllStandardOutput()),
            QString::fromLocal8Bit(p.readAllStandardError())};
}

}  // namespace orvane::testing
