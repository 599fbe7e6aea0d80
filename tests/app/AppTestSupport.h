#pragma once
// A fixture for the app layer's tests: every file the code under test may
// touch (temporary folder, settings, logs, current folder) lies in one
// temporary folder of the test.

#include "AppSettings.h"
#include "DocumentCommands.h"
#include "Document.h"
#include "DocumentRegistry.h"
#include "ProcessState.h"
#include "RawRecord.h"
#include "ScriptedUserInterface.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>

#include <memory>

namespace orvane::test {

inline QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    f.write(bytes);
}

// A small diagram (two states, one transition) with the given signature.
inline QByteArray diagramBytes(const QString& signature = QStringLiteral("FSM V0.4c"))
{
    const QString& sep = orvane::testing::kRecordSeparator;
    const QString info =
        signature + sep + QStringLiteral("Lamp") + sep + sep + sep
        + QStringLiteral("&Switch Case...;AS_Y;FO_Y;HC_N;FI_N;FE_N;DI_N;AC_N;PT_N;HF_Y;BF_N;UM_Y;")
        + sep + sep + sep + sep + sep + sep + sep;
    // "@" stands for the separator in the records below.
    QString json = QStringLiteral(R"({"format": "fsm-diagram", "version": 1, "nodes": [
 {"id": 1, "left": 1000, "top": 1000, "width": 1500, "height": 900, "tag": "Off@@1@@@N@N@@", "userData": 16384},
 {"id": 2, "left": 4000, "top": 1000, "width": 1500, "height": 900, "tag": "On@led = 1;@2@@@N@N@@", "userData": 8192},
 {"id": 3, "left": 2500, "top": 1200, "width": 150, "height": 100, "tag": "1@button@@Y@N@", "userData": 2048},
 {"id": 4, "left": 0, "top": 0, "width": 100, "height": 100, "isFsmItem": false, "userData": 512, "tag": "INFO"}
], "links": [{"org": 1, "dst": 3, "arrowDst": 0}, {"org": 3, "dst": 2}]})");
    json.replace(QStringLiteral("INFO"), info);
    json.replace(QLatin1Char('@'), sep);
    return json.toUtf8();
}

class AppTest : public ::testing::Test {
protected:
    QTemporaryDir root;
    QString tmpDir, workDir, logDir, settingsDir;
    ScriptedUserInterface ui;
    std::unique_ptr<DocumentRegistry> docs;

    void SetUp() override
    {
        ASSERT_TRUE(root.isValid());
        tmpDir = makeDir(QStringLiteral("tmp"));
        workDir = makeDir(QStringLiteral("work"));
        logDir = makeDir(QStringLiteral("logs"));
        settingsDir = makeDir(QStringLiteral("settings"));
        qputenv("TMPDIR", QFile::encodeName(tmpDir));
        qputenv("ORVANE_LOG_DIR", QFile::encodeName(logDir));
        AppSettings::setSettingsFolder(settingsDir);
        m_savedCwd = QDir::currentPath();
        QDir::setCurrent(workDir);
        process() = ProcessState{};
        process().errorFolder = logDir;
        docs = std::make_unique<DocumentRegistry>(ui);
    }

    // Opens a file unlocked, as from the dialog with the read-only box cleared.
    Document* openUnlocked(const QString& path)
    {
        ui.readOnlyChoice = false;
        ui.fileNames.push_back(path);
        const DocumentCommands::OpenResult r = DocumentCommands::fileOpen(*docs, QString());
        EXPECT_EQ(r.status, DocumentCommands::OpenStatus::Opened);
        return r.document;
    }

    void TearDown() override
    {
        docs.reset();
        QDir::setCurrent(m_savedCwd);
        process() = ProcessState{};
        AppSettings::setSettingsFolder(QString());
        qunsetenv("ORVANE_LOG_DIR");
        qunsetenv("TMPDIR");
    }

    QString makeDir(const QString& name)
    {
        const QString p = root.filePath(name);
        QDir().mkpath(p);
        return p;
    }
    QString work(const QString& name) const { return workDir + QLatin1Char('/') + name; }

    // A diagram file in the work folder (or at an absolute path).
    QString writeDiagram(const QString& name,
                         const QString& signature = QStringLiteral("FSM V0.4c"))
    {
        const QString path = name.startsWith(QLatin1Char('/')) ? name : work(name);
        writeFile(path, diagramBytes(signature));
        return path;
    }

    QString errorLog() const
    {
        return QString::fromUtf8(readFile(logDir + QStringLiteral("/FSM_ERR.log")));
    }
    QString debugLog() const
    {
        waitForSnapshots();
        return QString::fromUtf8(readFile(logDir + QStringLiteral("/FSM.log")));
    }

    // Snapshots are written by a thread of each document: wait for them.
    void waitForSnapshots() const
    {
        if (docs)
            for (Document* d : docs->documents())
                d->undo.waitForWrites();
    }

    // Every snapshot file below the temporary folder.
    QStringList snapshots() const
    {
        waitForSnapshots();
        QStringList files;
        QDirIterator it(tmpDir, {QStringLiteral("*.UND")}, QDir::Files | QDir::Hidden,
                        QDirIterator::Subdirectories);
        while (it.hasNext())
            files.append(it.next());
        files.sort();
        return files;
    }

    // A user edit: a remark added, then the end-of-command bookkeeping.
    static void edit(Document& doc)
    {
        Node* n = doc.fsm.diagram().addNode(100, 100, 800, 300);
        n->setUserData(0x400);
        n->setIsFsmItem(false);
        n->setText(QStringLiteral("remark"));
        doc.undo.storeGraphChanges();
    }

private:
    QString m_savedCwd;
};

}  // namespace orvane::test
