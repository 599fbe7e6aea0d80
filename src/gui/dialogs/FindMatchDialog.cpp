#include "frmFind.h"

#include "frmLib_LinkInstance.h"
#include "frmRepositorio.h"
#include "modStrings.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTextBlock>
#include <QTimer>
#include <QVBoxLayout>

#include <optional>

namespace orvane {

namespace {
namespace Support = PropertyDialogSupport;

constexpr int kTabColumns = 4;

// Where the dialog was last closed, for the rest of the run.
std::optional<QPoint>& LastPosition()
{
    static std::optional<QPoint> position;
    return position;
}

// The box's text with "\n" between lines, position for position what the
// box's cursor counts (no-break spaces and other characters kept as typed).
QString RawBoxText(const QPlainTextEdit* box)
{
    QString text = box->document()->toRawText();
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    return text;
}

// The line ends a text box makes of a text: every CR LF, CR and LF is one "\n".
QString BoxLineEnds(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}
}  // namespace

bool FindInTextBox(QPlainTextEdit* box, const QString& findWhat, bool caseSensitive,
                   qsizetype start)
{
    const QString text = RawBoxText(box);
    const qsizetype position = modStrings::FindInText(text, findWhat, caseSensitive, start);
    if (position < 0)
        return false;
    QTextCursor cursor(box->document());
    cursor.setPosition(int(position));
    cursor.setPosition(int(std::min(position + findWhat.size(), text.size())),
                       QTextCursor::KeepAnchor);
    box->setTextCursor(cursor);
    return true;
}

frmFind::frmFind(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmFind"));
    setWindowTitle(QStringLiteral("Find string"));
    auto* layout = new QVBoxLayout(this);

    lblInfo = new QLabel(this);
    lblInfo->setObjectName(QStringLiteral("lblInfo"));
    layout->addWidget(lblInfo);

    txtFind = new QPlainTextEdit(this);
    txtFind->setObjectName(QStringLiteral("txtFind"));
    QFont courier(QStringLiteral("Courier New"));
    courier.setStyleHint(QFont::TypeWriter);
    txtFind->setFont(courier);
    txtFind->setLineWrapMode(QPlainTextEdit::NoWrap);
    txtFind->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtFind->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtFind->setMinimumSize(480, 240);
    layout->addWidget(txtFind, 1);

    cmdSustituir =
        Support::NewButton(this, QStringLiteral("cmdSustituir"), QStringLiteral("Change"));
    cmdContinuar =
        Support::NewButton(this, QStringLiteral("cmdContinuar"), QStringLiteral("Next (F3)"));
    cmdContinuar->setDefault(true);
    cmdCancelar = Support::NewButton(this, QStringLiteral("cmdCancelar"), QStringLiteral("Cancel"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdSustituir);
    buttons->addWidget(cmdContinuar);
    buttons->addWidget(cmdCancelar);
    layout->addLayout(buttons);

    tmrReinicia = new QTimer(this);
    tmrReinicia->setObjectName(QStringLiteral("tmrReinicia"));
    tmrReinicia->setSingleShot(true);
    tmrReinicia->setInterval(kReiniciaMs);

    connect(cmdSustituir, &QPushButton::clicked, this, &frmFind::Change);
    connect(cmdContinuar, &QPushButton::clicked, this, &frmFind::Next);
    connect(cmdCancelar, &QPushButton::clicked, this, &frmFind::reject);
    connect(tmrReinicia, &QTimer::timeout, this, &frmFind::tmrReinicia_Timer);

    // The dialog sees every key first, whichever control has the focus.
    for (QWidget* w :
         std::initializer_list<QWidget*>{txtFind, cmdSustituir, cmdContinuar, cmdCancelar})
        w->installEventFilter(this);
}

frmFind::~frmFind() = default;

bool frmFind::busqueda(const QString& caption, QString& text, const QString& findWhat,
                       const QString& replaceWith, bool caseSensitive, bool readOnly)
{
    lblInfo->setText(caption);
    txtFind->setPlainText(text);
    txtFind->setReadOnly(readOnly);
    Support::SetBackground(txtFind, readOnly ? Support::kReadOnlyBack : Support::kWritableBack);

    m_continue = true;
    m_findWhat = findWhat;
    m_replaceWith = replaceWith;
    m_caseSensitive = caseSensitive;
    m_original = text;
    m_result = text;

    if (!FindInTextBox(txtFind, findWhat, caseSensitive, 0))
        return true;

    cmdSustituir->setEnabled(!readOnly && !replaceWith.isEmpty());
    if (const std::optional<QPoint>& last = LastPosition()) {
        move(*last);
    } else if (const QScreen* s = screen()) {
        adjustSize();
        const QRect area = s->availableGeometry();
        move(area.left() + (area.width() - width()) / 2,
             area.top() + (area.height() - height()) / 2);
    }
    tmrReinicia->start();
    {
        const HandOverPause pause;
        exec();
    }
    tmrReinicia->stop();
    text = m_result;
    return m_continue;
}

void frmFind::Next()
{
    const int start = txtFind->textCursor().selectionEnd();
    if (FindInTextBox(txtFind, m_findWhat, m_caseSensitive, start)) {
        txtFind->setFocus();
        return;
    }
    m_result = boxText();
    accept();
}

void frmFind::Change()
{
    if (!cmdSustituir->isEnabled())
        return;
    // The caret ends after the inserted text, so a replacement that holds
    // the search string is not found again.
    txtFind->insertPlainText(m_replaceWith);
    Next();
}

void frmFind::reject()
{
    m_continue = false;
    m_result = m_original;
    QDialog::reject();
}

void frmFind::done(int result)
{
    tmrReinicia->stop();
    LastPosition() = pos();
    QDialog::done(result);
}

void frmFind::tmrReinicia_Timer()
{
    FindInTextBox(txtFind, m_findWhat, m_caseSensitive, 0);
    txtFind->setFocus();
}

QString frmFind::boxText() const
{
    const QString shown = RawBoxText(txtFind);
    // Unchanged: the text exactly as given, whatever its line ends.
    if (shown == BoxLineEnds(m_original))
        return m_original;
    QString text = shown;
    if (m_original.contains(QLatin1Char('\n')) && !m_original.contains(QStringLiteral("\r\n")))
        return text;
    return text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
}

void frmFind::insertTabSpaces()
{
    if (txtFind->isReadOnly())
        return;
    const QString text = RawBoxText(txtFind);
    const int caret = txtFind->textCursor().selectionStart();
    const qsizetype lineStart = text.lastIndexOf(QLatin1Char('\n'), caret - 1) + 1;
    const qsizetype column = caret - lineStart;
    txtFind->insertPlainText(QString(kTabColumns - column % kTabColumns, QLatin1Char(' ')));
}

bool frmFind::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return QDialog::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    const Qt::KeyboardModifiers mods = key->modifiers() & ~Qt::KeypadModifier;
    if (key->key() == Qt::Key_F3) {
        Next();
        return true;
    }
    if (watched != txtFind)
        return QDialog::eventFilter(watched, event);
    if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && mods == Qt::NoModifier) {
        Next();
        return true;
    }
    if (key->key() == Qt::Key_F2) {
        if (m_doc)
            frmRepositorio::Edita(nullptr, txtFind, 1, *m_doc);
        return true;
    }
    if (key->key() == Qt::Key_Tab && mods == Qt::ControlModifier) {
        insertTabSpaces();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace orvane
