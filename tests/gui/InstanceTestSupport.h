#pragma once
// Two-process tests of the single instance: the program itself is started as
// the second instance, on a channel of the test's own, with its logs and
// settings in the test's folder.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

namespace orvane::testing {

class InstanceTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        channel = dir.filePath(QStringLiteral("link"));
    }

    // A copy of a test diagram in the test's folder.
    QString Diagram(const QString& name)
    {
        const QString path = dir.filePath(name);
        QFile::copy(QStringLiteral(ORVANE_TEST_DATA "/lamp.fsm"), path);
        return path;
    }

    // Runs the program with `args` in the test's folder, serving this
    // process's events meanwhile (the receiver answers from them). The exit
    // status, or -1 when it did not end normally within the time.
    int runProgram(const QStringList& args)
    {
        QProcess program;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("ORVANE_INSTANCE_CHANNEL"), channel);
        env.insert(QStringLiteral("ORVANE_LOG_DIR"), dir.path());
        env.insert(QStringLiteral("ORVANE_SETTINGS_DIR"), dir.path());
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        program.setProcessEnvironment(env);
        program.setWorkingDirectory(dir.path());
        program.start(QStringLiteral(ORVANE_BINARY), args);
        if (!program.waitForStarted())
            return -1;
        const QDeadlineTimer deadline(20000);
        while (program.state() != QProcess::NotRunning && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        if (program.state() != QProcess::NotRunning) {
            program.kill();
            program.waitForFinished();
            return -1;
        }
        return program.exitStatus() == QProcess::NormalExit ? program.exitCode() : -1;
    }

    QTemporaryDir dir;
    QString channel;
};

}  // namespace orvane::testing
