#pragma once
// Shared by the export tests: diagrams loaded from small .fsm texts, and a
// reader of the metafile records that checks what players rely on.

#include "FsmDocument.h"
#include "Messenger.h"
#include "RecordingMessenger.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>
#include <vector>

namespace orvane::exporttest {

using orvane::testing::RecordingMessenger;

// A state node: kind 8192/16384/..., name, index, during action.
QString stateJson(int id, double left, double top, qint32 kind, const QString& name,
                  const QString& index, const QString& during = QString());
// A transition node (kind 2048) with its record.
QString transitionJson(int id, double left, double top, const QString& priority,
                       const QString& condition, const QString& action = QString());
// The info node with a machine configuration record (signature and options filled in).
QString infoJson(int id, QStringList graphFields);
QString linkJson(int org, int dst, int arrowDst = 3);

// The whole file; empty when it cannot be read.
QByteArray readBytes(const QString& path);

// Opens a .fsm file as a document the way batch mode does. Fails the
// current test (and returns null) when the load fails.
std::unique_ptr<FsmDocument> openDocument(const QString& path);

// Writes the file and opens it as a document the way batch mode does.
// Fails the current test (and returns null) when the load fails.
std::unique_ptr<FsmDocument> loadDocument(const QString& path, const QStringList& nodes,
                                          const QStringList& links);

// A test with its own folder for outputs and logs, the process state reset
// after it, and the font measurer installed (as the batch road does).
class ExportFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    QString path(const QString& name) const { return dir.filePath(name); }

    QTemporaryDir dir;
};

struct WmfRecord {
    quint16 function = 0;
    QByteArray params;
    int word(int i) const;  // parameter word i, signed
};

struct WmfFile {
    QString error;                                // empty when the file is well formed
    int right = 0, bottom = 0, unitsPerInch = 0;  // the frame starts at 0, 0
    std::vector<WmfRecord> records;
    std::vector<const WmfRecord*> withFunction(quint16 function) const;
};

// Parses a placeable metafile and checks the header checksum, the sizes,
// the end record and the object table (objects take the lowest free slot,
// only live objects are selected or deleted, none is left at the end).
WmfFile readWmf(const QByteArray& bytes);

}  // namespace orvane::exporttest
