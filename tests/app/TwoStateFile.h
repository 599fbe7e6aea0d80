#pragma once
// A two-state diagram file written one node a line, for tests that check
// the line numbers of diagnostics: state A (initial, line 5) goes to state
// `second` (line 6, with that exit action) on `condition`; the transition
// node is on line 7 and the machine's record (named `machine`) on line 8.

#include "RawRecord.h"

#include <QByteArray>
#include <QString>

namespace orvane::testing {

inline QByteArray jsonString(const QString& s) { return '"' + s.toUtf8() + '"'; }

inline QByteArray twoStateFile(const QString& second, const QString& machine,
                               const QString& secondExit = QString(),
                               const QString& condition = QStringLiteral("go"))
{
    const QByteArray a = jsonString(rawRecord({"A", "", "1", "", "", "N", "N", ""}));
    const QByteArray b = jsonString(rawRecord({second, "", "2", "", secondExit, "N", "N", ""}));
    const QByteArray t = jsonString(rawRecord({"1", condition, "", "Y", "N"}));
    const QByteArray info =
        jsonString(rawRecord({"FSM V0.4c", machine, "", "", "", "", "", "", "", "", ""}));
    return "{\n  \"format\": \"fsm-diagram\",\n  \"version\": 1,\n  \"nodes\": [\n"
           "    {\"id\": 1, \"left\": 1000, \"top\": 1000, \"width\": 1500, \"height\": 900, "
           "\"tag\": "
           + a
           + ", \"userData\": 16384},\n"
             "    {\"id\": 2, \"left\": 4000, \"top\": 1000, \"width\": 1500, \"height\": 900, "
             "\"tag\": "
           + b
           + ", \"userData\": 8192},\n"
             "    {\"id\": 3, \"left\": 3000, \"top\": 1400, \"width\": 150, \"height\": 100, "
             "\"tag\": "
           + t
           + ", \"userData\": 2048},\n"
             "    {\"id\": 4, \"left\": 0, \"top\": 0, \"width\": 100, \"height\": 100, "
             "\"isFsmItem\": false, \"tag\": "
           + info
           + ", \"userData\": 512}\n  ],\n"
             "  \"links\": [{\"org\": 1, \"dst\": 3}, {\"org\": 3, \"dst\": 2}]\n}\n";
}

}  // namespace orvane::testing
