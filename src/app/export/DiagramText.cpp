#include "DiagramText.h"

#include "FsmDocument.h"
#include "FsmView.h"
#include "HtmlPage.h"
#include "Records.h"

#include <QStringList>

namespace orvane::DiagramText {

namespace {

using codegen::FsmView;
using codegen::StateView;
using codegen::TransitionView;

// Lines of a text, CR LF, CR or LF ending each; blank lines dropped.
QStringList textLines(const QString& text)
{
    QString unified = text;
    unified.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    unified.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QStringList lines;
    for (const QString& line : unified.split(QLatin1Char('\n')))
        if (!line.trimmed().isEmpty())
            lines.append(line.trimmed());
    return lines;
}

// "condition / action", either part left out when empty.
QStringList labelLines(const TransitionView& t)
{
    QStringList lines = textLines(t.condition);
    const QStringList action = textLines(t.action);
    if (!action.isEmpty()) {
        QStringList withSlash = action;
        withSlash.first().prepend(QStringLiteral("/ "));
        lines += withSlash;
    }
    return lines;
}

// The state's actions, each kind introduced by its name.
QStringList noteLines(const StateView& s)
{
    QStringList lines;
    const auto add = [&lines](const char* kind, const QString& text) {
        const QStringList body = textLines(text);
        if (body.isEmpty())
            return;
        lines.append(QString::fromLatin1(kind) + QStringLiteral(" / ") + body.first());
        lines += body.mid(1);
    };
    add("entry", s.entry);
    add("during", s.during);
    add("exit", s.exit);
    add("else", s.elseAction);
    return lines;
}

QString stateId(int rank) { return QStringLiteral("s") + QString::number(rank); }

QString machineName(const FsmDocument& doc) { return machineConfig(doc.diagram()).name; }

QString hexCode(QChar c)
{
    return QStringLiteral("<U+%1>").arg(c.unicode(), 4, 16, QLatin1Char('0')).toUpper();
}

}  // namespace

QString mermaidEscape(const QString& text)
{
    QString out;
    for (const QString& line : textLines(text)) {
        if (!out.isEmpty())
            out += QStringLiteral("<br>");
        for (const QChar c : line) {
            switch (c.unicode()) {
            case '#':
            case ';':
            case ':':
            case '"':
            case '<':
            case '>':
            case '{':
            case '}':
            case '[':
            case ']':
            case '|':
            case '%':
            case '\\':
            case '`':
            case '&':
            case '\'':
                out += QLatin1Char('#') + QString::number(c.unicode()) + QLatin1Char(';');
                break;
            case '\t':
                out += QLatin1Char(' ');
                break;
            default:
                out += c;
            }
        }
    }
    return out;
}

QString plantUmlEscape(const QString& text)
{
    QString out;
    for (const QString& line : textLines(text)) {
        if (!out.isEmpty())
            out += QStringLiteral("\\n");
        QChar previous;
        for (const QChar c : line) {
            switch (c.unicode()) {
            case '"':
            case '\\':
            case '<':
            case '>':
            case '$':
            case '%':
            case '!':
            case '#':
            case '[':
            case ']':
            case '{':
            case '}':
            case '|':
            case '\'':
                out += hexCode(c);
                break;
            case '/':
            case '-':
            case '*':
            case '_':
            case '~':
            case '=':
            case '.':
            case '^':
                out += c == previous ? hexCode(c) : QString(c);
                break;
            case '\t':
                out += QLatin1Char(' ');
                break;
            default:
                out += c;
            }
            previous = c;
        }
    }
    return out;
}

QString toMermaid(const FsmDocument& doc)
{
    const FsmView view = codegen::scanFsm(doc.diagram());
    QStringList out;
    const QString name = machineName(doc);
    if (!name.isEmpty())
        out << QStringLiteral("---") << QStringLiteral("title: ") + mermaidEscape(name)
            << QStringLiteral("---");
    out << QStringLiteral("stateDiagram-v2");
    for (const StateView& s : view.states)
        out << QStringLiteral("    state \"") + mermaidEscape(s.name) + QStringLiteral("\" as ")
                   + stateId(s.rank);
    if (view.firstInitialRank)
        out << QStringLiteral("    [*] --> ") + stateId(view.firstInitialRank);
    for (const StateView& s : view.states) {
        for (const TransitionView& t : s.transitions) {
            QString line = QStringLiteral("    ") + stateId(s.rank) + QStringLiteral(" --> ")
                           + stateId(t.targetRank);
            const QString label = mermaidEscape(labelLines(t).join(QLatin1Char('\n')));
            if (!label.isEmpty())
                line += QStringLiteral(" : ") + label;
            out << line;
        }
        if (s.isFinal)
            out << QStringLiteral("    ") + stateId(s.rank) + QStringLiteral(" --> [*]");
    }
    for (const StateView& s : view.states) {
        const QStringList note = noteLines(s);
        if (note.isEmpty())
            continue;
        out << QStringLiteral("    note right of ") + stateId(s.rank);
        for (const QString& line : note)
            out << QStringLiteral("        ") + mermaidEscape(line);
        out << QStringLiteral("    end note");
    }
    return out.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

QString toPlantUml(const FsmDocument& doc)
{
    const FsmView view = codegen::scanFsm(doc.diagram());
    QStringList out{QStringLiteral("@startuml")};
    const QString name = machineName(doc);
    if (!name.isEmpty())
        out << QStringLiteral("title ") + plantUmlEscape(name);
    for (const StateView& s : view.states) {
        out << QStringLiteral("state \"") + plantUmlEscape(s.name) + QStringLiteral("\" as ")
                   + stateId(s.rank);
        for (const QString& line : noteLines(s))
            out << stateId(s.rank) + QStringLiteral(" : ") + plantUmlEscape(line);
    }
    if (view.firstInitialRank)
        out << QStringLiteral("[*] --> ") + stateId(view.firstInitialRank);
    for (const StateView& s : view.states) {
        for (const TransitionView& t : s.transitions) {
            QString line = stateId(s.rank) + QStringLiteral(" --> ") + stateId(t.targetRank);
            const QString label = plantUmlEscape(labelLines(t).join(QLatin1Char('\n')));
            if (!label.isEmpty())
                line += QStringLiteral(" : ") + label;
            out << line;
        }
        if (s.isFinal)
            out << stateId(s.rank) + QStringLiteral(" --> [*]");
    }
    out << QStringLiteral("@enduml");
    return out.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

bool fileSaveAsMermaid(FsmDocument& doc, const QString& path, Messenger& messenger)
{
    return HtmlPage::writeExportFile(QStringLiteral("FileSaveAsMermaid"), path,
                                     toMermaid(doc).toUtf8(), messenger);
}

bool fileSaveAsPlantUml(FsmDocument& doc, const QString& path, Messenger& messenger)
{
    return HtmlPage::writeExportFile(QStringLiteral("FileSaveAsPlantUML"), path,
                                     toPlantUml(doc).toUtf8(), messenger);
}

}  // namespace orvane::DiagramText
