#include "Diagnostics.h"

#include <cstdio>

namespace orvane::Diagnostics {

QString format(const QString& file, Severity severity, const QString& text, int line,
               const QString& stateName, bool concernsNode)
{
    QString body = text;
    body.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    body.replace(QLatin1Char('\r'), QLatin1Char(' '));
    body.replace(QLatin1Char('\n'), QLatin1Char(' '));
    const QString kind =
        severity == Severity::Error ? QStringLiteral("error") : QStringLiteral("warning");
    if (!concernsNode && line <= 0)
        return file + QStringLiteral(": ") + kind + QStringLiteral(": ") + body;
    QString out = file + QLatin1Char(':') + QString::number(line > 0 ? line : 1)
                  + QStringLiteral(": ") + kind + QStringLiteral(": ");
    if (!stateName.isNull())
        out += QStringLiteral("state \"") + stateName + QStringLiteral("\": ");
    return out + body;
}

void print(const QString& diagnostic)
{
    const QByteArray bytes = (diagnostic + QLatin1Char('\n')).toLocal8Bit();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
}

}  // namespace orvane::Diagnostics
