#include "FindMatchDialog.h"

#include "InstanceReceiver.h"
#include "WordPicker.h"
#include "Texts.h"

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
std::optional<QPoint>& lastPosition()
{
    static std::optional<QPoint> position;
    return position;
}

// The box's text with "\n" between lines, position for position what the
// box's cursor counts (no-break spaces and other characters kept as typed).
QString rawBoxText(const QPlainTextEdit* box)
{
    QString text = box->document()->toRawText();
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    return text;
}

// The line ends a text box makes of a text: every CR LF, CR and LF is one "\n".
QString boxLineEnds(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}
}  // namespace

bool findInTextBox(QPlainTextEdit* box, const QString& findWhat, bool caseSensitive,
                   qsizetype start)
{
    const QString text = rawBoxText(box);
    const qsizetype position = Texts::findInText(text, findWhat, caseSensitive, start);
    if (position < 0)
        return false;
    QTextCursor cursor(box->document());
    cursor.setPosition(int(position));
    cursor.setPosition(int(std::min(position + findWhat.size(), text.size())),
                       QTextCursor::KeepAnchor);
    box->setTextCursor(cursor);
    return true;
}

FindMatchDialog::FindMatchDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FindMatchDialog"));
    setWindowTitle(QStringLiteral("Find string"));
    auto* layout = new QVBoxLayout(this);

    m_infoLabel = new QLabel(this);
    m_infoLabel->setObjectName(QStringLiteral("infoLabel"));
    layout->addWidget(m_infoLabel);

    m_textBox = new QPlainTextEdit(this);
    m_textBox->setObjectName(QStringLiteral("textBox"));
    QFont courier(QStringLiteral("Courier New"));
    courier.setStyleHint(QFont::TypeWriter);
    m_textBox->setFont(courier);
    m_textBox->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_textBox->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_textBox->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_textBox->setMinimumSize(480, 240);
    layout->addWidget(m_textBox, 1);

    m_replaceButton =
        Support::newButton(this, QStringLiteral("replaceButton"), QStringLiteral("Change"));
    m_continueButton =
        Support::newButton(this, QStringLiteral("continueButton"), QStringLiteral("Next (F3)"));
    m_continueButton->setDefault(true);
    m_cancelButton =
        Support::newButton(this, QStringLiteral("cancelButton"), QStringLiteral("Cancel"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_replaceButton);
    buttons->addWidget(m_continueButton);
    buttons->addWidget(m_cancelButton);
    layout->addLayout(buttons);

    m_restartTimer = new QTimer(this);
    m_restartTimer->setObjectName(QStringLiteral("restartTimer"));
    m_restartTimer->setSingleShot(true);
    m_restartTimer->setInterval(kRestartMs);

    connect(m_replaceButton, &QPushButton::clicked, this, &FindMatchDialog::change);
    connect(m_continueButton, &QPushButton::clicked, this, &FindMatchDialog::next);
    connect(m_cancelButton, &QPushButton::clicked, this, &FindMatchDialog::reject);
    connect(m_restartTimer, &QTimer::timeout, this, &FindMatchDialog::onRestartTimer);

    // The dialog sees every key first, whichever control has the focus.
    for (QWidget* w : std::initializer_list<QWidget*>{m_textBox, m_replaceButton, m_continueButton,
                                                      m_cancelButton})
        w->installEventFilter(this);
}

FindMatchDialog::~FindMatchDialog() = default;

bool FindMatchDialog::showMatch(const QString& caption, QString& text, const QString& findWhat,
                                const QString& replaceWith, bool caseSensitive, bool readOnly)
{
    m_infoLabel->setText(caption);
    m_textBox->setPlainText(text);
    m_textBox->setReadOnly(readOnly);
    Support::setBackground(m_textBox, readOnly ? Support::kReadOnlyBack : Support::kWritableBack);

    m_continue = true;
    m_findWhat = findWhat;
    m_replaceWith = replaceWith;
    m_caseSensitive = caseSensitive;
    m_original = text;
    m_result = text;

    if (!findInTextBox(m_textBox, findWhat, caseSensitive, 0))
        return true;
    ++m_matchesShown;

    m_replaceButton->setEnabled(!readOnly && !replaceWith.isEmpty());
    if (const std::optional<QPoint>& last = lastPosition()) {
        move(*last);
    } else if (const QScreen* s = screen()) {
        adjustSize();
        const QRect area = s->availableGeometry();
        move(area.left() + (area.width() - width()) / 2,
             area.top() + (area.height() - height()) / 2);
    }
    m_restartTimer->start();
    {
        const HandOverPause pause;
        exec();
    }
    m_restartTimer->stop();
    text = m_result;
    return m_continue;
}

void FindMatchDialog::next()
{
    const int start = m_textBox->textCursor().selectionEnd();
    if (findInTextBox(m_textBox, m_findWhat, m_caseSensitive, start)) {
        m_textBox->setFocus();
        return;
    }
    m_result = boxText();
    accept();
}

void FindMatchDialog::change()
{
    if (!m_replaceButton->isEnabled())
        return;
    // The caret ends after the inserted text, so a replacement that holds
    // the search string is not found again.
    m_textBox->insertPlainText(m_replaceWith);
    next();
}

void FindMatchDialog::reject()
{
    m_continue = false;
    m_result = m_original;
    QDialog::reject();
}

void FindMatchDialog::done(int result)
{
    m_restartTimer->stop();
    lastPosition() = pos();
    QDialog::done(result);
}

void FindMatchDialog::onRestartTimer()
{
    findInTextBox(m_textBox, m_findWhat, m_caseSensitive, 0);
    m_textBox->setFocus();
}

QString FindMatchDialog::boxText() const
{
    const QString shown = rawBoxText(m_textBox);
    // Unchanged: the text exactly as given, whatever its line ends.
    if (shown == boxLineEnds(m_original))
        return m_original;
    QString text = shown;
    if (m_original.contains(QLatin1Char('\n')) && !m_original.contains(QStringLiteral("\r\n")))
        return text;
    return text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
}

void FindMatchDialog::insertTabSpaces()
{
    if (m_textBox->isReadOnly())
        return;
    const QString text = rawBoxText(m_textBox);
    const int caret = m_textBox->textCursor().selectionStart();
    const qsizetype lineStart = text.lastIndexOf(QLatin1Char('\n'), caret - 1) + 1;
    const qsizetype column = caret - lineStart;
    m_textBox->insertPlainText(QString(kTabColumns - column % kTabColumns, QLatin1Char(' ')));
}

bool FindMatchDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return QDialog::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    const Qt::KeyboardModifiers mods = key->modifiers() & ~Qt::KeypadModifier;
    if (key->key() == Qt::Key_F3) {
        next();
        return true;
    }
    if (watched != m_textBox)
        return QDialog::eventFilter(watched, event);
    if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && mods == Qt::NoModifier) {
        next();
        return true;
    }
    if (key->key() == Qt::Key_F2) {
        if (m_doc)
            WordPicker::pickWord(nullptr, m_textBox, 1, *m_doc);
        return true;
    }
    if (key->key() == Qt::Key_Tab && mods == Qt::ControlModifier) {
        insertTabSpaces();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace orvane
