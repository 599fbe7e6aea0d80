#pragma once
// What a build system needs around a batch run: the list of files the
// switches write, a Make-style dependency file naming them and the diagram
// files read, and the comparison of outputs made elsewhere with the files
// in place (--check).

#include <QString>
#include <QStringList>

namespace orvane {

struct ProcessState;

namespace BuildSupport {

// The files the switches of `state` write for the diagram at `documentPath`
// into `outputFolder` (empty: beside the diagram), in the order code, header,
// list, page, picture (.svg with --picture=svg), then .svg, .png, .mmd,
// .puml, .scxml. The page's SVG picture is also the one --svg asks for.
QStringList outputFiles(const ProcessState& state, const QString& documentPath,
                        const QString& outputFolder);

// A path as Make reads it in a rule: blanks and '#' behind a backslash, '$'
// doubled.
QString escapeForMake(const QString& path);

// "TARGETS: PREREQUISITES" and a line break, every path escaped; long lines
// are continued with a backslash, one path a line.
QString dependencyText(const QStringList& targets, const QStringList& prerequisites);

// Writes the dependency file whole (a failed write leaves the previous one);
// false with `error` set on failure.
bool writeDependencyFile(const QString& path, const QStringList& targets,
                         const QStringList& prerequisites, QString* error);

// The files of `made` (written elsewhere) whose counterpart in `inPlace`
// (position by position) is missing or holds other bytes. A missing file of
// `made` counts as different too.
QStringList outdatedFiles(const QStringList& made, const QStringList& inPlace);

}  // namespace BuildSupport
}  // namespace orvane
