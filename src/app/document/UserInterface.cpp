#include "UserInterface.h"

#include "Diagnostics.h"

#include <QStringList>

#include <cstdio>

namespace orvane {

namespace {

QString answerWord(Answer a)
{
    switch (a) {
    case Answer::Yes:
        return QStringLiteral("Yes");
    case Answer::No:
        return QStringLiteral("No");
    case Answer::Cancel:
        return QStringLiteral("Cancel");
    }
    return {};
}

// A question in batch mode: its text with the answer taken.
QString questionText(const QString& text, Answer answer)
{
    return text + QStringLiteral(" [") + answerWord(answer) + QLatin1Char(']');
}

}  // namespace

void BatchUserInterface::say(const QString& text, bool warning, const QString& title)
{
    QString line = title.isEmpty() ? text : title + QStringLiteral(": ") + text;
    if (!m_file.isEmpty()) {
        const auto severity =
            warning ? Diagnostics::Severity::Warning : Diagnostics::Severity::Error;
        int lineNumber = 0;
        QString stateName;
        if (m_locator && m_locator(line, lineNumber, stateName))
            Diagnostics::print(
                Diagnostics::format(m_file, severity, line, lineNumber, stateName, true));
        else
            Diagnostics::print(Diagnostics::format(m_file, severity, line));
        return;
    }
    line.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    const QByteArray bytes = (line + QLatin1Char('\n')).toLocal8Bit();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
}

void BatchUserInterface::message(const QString& text, MessageIcon icon, const QString& title)
{
    say(text, icon == MessageIcon::Information, title);
}

Answer BatchUserInterface::askYesNo(const QString& text, const QString& title, MessageIcon,
                                    Answer defaultButton)
{
    const Answer answer = defaultButton == Answer::No ? Answer::No : Answer::Yes;
    say(questionText(text, answer), true, title);
    return answer;
}

Answer BatchUserInterface::askYesNoCancel(const QString& text, const QString& title, MessageIcon,
                                          Answer defaultButton)
{
    say(questionText(text, defaultButton), true, title);
    return defaultButton;
}

QString BatchUserInterface::openFileName(const FileDialog&, bool& readOnly)
{
    readOnly = true;
    return {};
}

QString BatchUserInterface::saveFileName(const FileDialog&) { return {}; }

QString toQtFilter(const QString& pipeFilter)
{
    const QStringList parts = pipeFilter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        if (parts.at(i).isEmpty())
            continue;
        QString patterns = parts.at(i + 1);
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        filters.append(parts.at(i) + QStringLiteral(" (") + patterns + QLatin1Char(')'));
    }
    return filters.join(QStringLiteral(";;"));
}

FileDialog fsmOpenDialog()
{
    return {QString(), QStringLiteral("FSM"), QStringLiteral("Fsm Files(*.FSM)|*.fsm|"), QString()};
}

FileDialog fsmSaveDialog(const QString& proposedName)
{
    return {QString(), QStringLiteral("FSM"), QStringLiteral("Fsm Files(*.FSM)|*.fsm|"),
            proposedName};
}

FileDialog codeSaveDialog(const QString& proposedName)
{
    return {QStringLiteral("Save Finite_State file as Ansi-C File..."), QStringLiteral("C"),
            QStringLiteral("C Files(*.C)|*.c|All Files(*.*)|*.*|"), proposedName};
}

FileDialog listSaveDialog(const QString& proposedName)
{
    return {QStringLiteral("Save As List file..."), QStringLiteral("LST"),
            QStringLiteral("Lst Files(*.LST)|*.lst|All Files(*.*)|*.*|"), proposedName};
}

}  // namespace orvane
