#include "BuildSupport.h"

#include "SafeFileWriter.h"

#include "OutputPaths.h"
#include "ProcessState.h"

#include <QFile>

#include <optional>

namespace orvane::BuildSupport {

QStringList outputFiles(const ProcessState& st, const QString& documentPath,
                        const QString& outputFolder)
{
    QStringList files;
    auto add = [&](const char* extension) {
        files.append(batchOutputPath(documentPath, outputFolder, QString::fromLatin1(extension)));
    };
    if (st.anyCodeSwitch()) {
        add(".c");
        add(".h");
    }
    if (st.swLS)
        add(".lst");
    if (st.swH || st.swHL) {
        add(".htm");
        add(".wmf");
    } else if (st.swW) {
        add(".wmf");
    }
    const bool pageSvg = st.pageSvg && (st.swH || st.swHL);
    if (pageSvg)
        files.replace(files.size() - 1,
                      batchOutputPath(documentPath, outputFolder, QStringLiteral(".svg")));
    if (st.swSvg && !pageSvg)
        add(".svg");
    if (st.swPng)
        add(".png");
    if (st.swMermaid)
        add(".mmd");
    if (st.swPlantUml)
        add(".puml");
    if (st.swScxml)
        add(".scxml");
    return files;
}

QString escapeForMake(const QString& path)
{
    QString out;
    out.reserve(path.size() + 8);
    for (const QChar c : path) {
        if (c == QLatin1Char(' ') || c == QLatin1Char('#') || c == QLatin1Char('\t'))
            out += QLatin1Char('\\');
        else if (c == QLatin1Char('$'))
            out += QLatin1Char('$');
        out += c;
    }
    return out;
}

QString dependencyText(const QStringList& targets, const QStringList& prerequisites)
{
    QStringList escapedTargets;
    for (const QString& t : targets)
        escapedTargets.append(escapeForMake(t));
    QString text = escapedTargets.join(QLatin1Char(' ')) + QLatin1Char(':');
    for (const QString& p : prerequisites)
        text += QStringLiteral(" \\\n  ") + escapeForMake(p);
    return text + QLatin1Char('\n');
}

bool writeDependencyFile(const QString& path, const QStringList& targets,
                         const QStringList& prerequisites, QString* error)
{
    // Through the one safe writer, like every output: an unchanged depfile
    // keeps its time stamp. Made again by every run, so not flushed.
    SafeFileWriter::WriteOptions options;
    options.durable = false;
    const SafeFileWriter::WriteResult r = SafeFileWriter::writeFileSafely(
        path, dependencyText(targets, prerequisites).toUtf8(), options);
    if (!r.ok() && error)
        *error = r.reason;
    return r.ok();
}

QStringList outdatedFiles(const QStringList& made, const QStringList& inPlace)
{
    QStringList outdated;
    for (qsizetype i = 0; i < made.size() && i < inPlace.size(); ++i) {
        const std::optional<QByteArray> fresh = SafeFileWriter::readWholeFile(made.at(i));
        const std::optional<QByteArray> current = SafeFileWriter::readWholeFile(inPlace.at(i));
        if (!fresh || !current || *fresh != *current)
            outdated.append(inPlace.at(i));
    }
    return outdated;
}

}  // namespace orvane::BuildSupport
