#pragma once
// The two append-only logs: the debug log FSM.log (per-user data folder, or
// $ORVANE_LOG_DIR) and the error log FSM_ERR.log (the /E folder, else the
// current folder). Each record opens, appends and closes the file; failures
// are ignored.

#include "SafeFileWriter.h"

#include <QString>

namespace orvane::Logs {

QString debugLogPath();
QString errorLogPath();
void writeLog(const QString& message);
// Appends to the error log, then to the debug log.
void writeErrorLog(const QString& message);
// The error log's record of a file that could not be written: for a
// read-only file "Fsm can't save, access denied to file:[path]", otherwise
// "Fsm can't save file:[path]: " and the reason.
QString cantSaveRecord(const QString& path, const SafeFileWriter::WriteResult& result);
void clearLog();

}  // namespace orvane::Logs
