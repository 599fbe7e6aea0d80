#include "WordPicker.h"

#include "CodeEditor.h"
#include "Document.h"
#include "DocumentRegistry.h"
#include "FsmDocument.h"
#include "PropertyDialogSupport.h"
#include "InstanceReceiver.h"
#include "MachineInfo.h"
#include "States.h"
#include "Transitions.h"

#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

namespace orvane {

namespace {

const QString kCrLf = QStringLiteral("\r\n");

QPointer<DocumentRegistry>& installedRegistry()
{
    static QPointer<DocumentRegistry> registry;
    return registry;
}

// Characters that end a word (besides "(", which is looked at twice).
bool endsWord(QChar c)
{
    static const QString delimiters = QStringLiteral(" \r=<>+-*/),;:");
    return delimiters.contains(c);
}

bool startsWord(QChar c)
{
    return c == QLatin1Char('"') || c == QLatin1Char('#')
           || (c >= QLatin1Char('a') && c <= QLatin1Char('z'))
           || (c >= QLatin1Char('A') && c <= QLatin1Char('Z'));
}

void addWord(const QString& word, QStringList& words)
{
    if (word.size() <= 1 || !RepositoryWords::isValidWord(word) || words.contains(word)
        || words.size() >= RepositoryWords::kMaxWords)
        return;
    words.append(word);
}

// The global top-left corner of the target, of its container (1) or of the
// container's container (2).
QPoint placementOf(QWidget* target, int placement)
{
    const int levels = placement == 1 ? 1 : placement == 2 ? 2 : 0;
    QWidget* w = target;
    for (int i = 0; i < levels && w->parentWidget(); ++i)
        w = w->parentWidget();
    return w->isWindow() ? w->frameGeometry().topLeft() : w->mapToGlobal(QPoint(0, 0));
}
}  // namespace

namespace RepositoryWords {

QString collectTexts(const FsmDocument& doc)
{
    QString text;
    auto add = [&text](const QString& t) { text += t + kCrLf; };
    const Diagram& d = doc.diagram();
    for (const auto& owned : d.nodes()) {
        const Node* n = owned.get();
        if (States::isStateNode(n)) {
            const StateRecord r = stateRecord(n);
            for (const QString* t : {&r.entry, &r.during, &r.elseAction, &r.exit})
                add(*t);
        } else if (Transitions::isTransitionNode(n)) {
            const TransitionRecord r = transitionRecord(n);
            add(r.condition);
            add(r.action);
        }
    }
    const MachineConfig c = machineConfig(d);
    for (const QString* t : {&c.name, &c.params, &c.moduleHeader, &c.functionHeader, &c.init,
                             &c.before, &c.after, &c.finalActions})
        add(*t);
    return text;
}

bool isValidWord(const QString& word)
{
    static const QString forbidden = QStringLiteral("*?+-|&!;,/");
    if (word.isEmpty() || (word.front() >= QLatin1Char('0') && word.front() <= QLatin1Char('9')))
        return false;
    for (QChar c : word)
        if (forbidden.contains(c))
            return false;
    return true;
}

void scan(const QString& input, QStringList& words)
{
    const QString text = input + QLatin1Char(' ');
    QString word;
    bool inWord = false;
    bool openParen = false;
    auto endWord = [&] {
        addWord(word, words);
        word.clear();
        inWord = false;
    };
    qsizetype i = 0;
    while (i < text.size()) {
        const QChar c = text.at(i);
        if (!inWord) {
            if (startsWord(c)) {
                word = c;
                inWord = true;
            }
            ++i;
            continue;
        }
        if (openParen) {
            // The character after "(": "()" stays with the word; anything
            // else ends the word at the "(" and is read again outside it.
            openParen = false;
            if (c == QLatin1Char(')')) {
                word += QStringLiteral("()");
                endWord();
                ++i;
            } else {
                word += QLatin1Char('(');
                endWord();
            }
            continue;
        }
        if (endsWord(c))
            endWord();
        else if (c == QLatin1Char('('))
            openParen = true;
        else
            word += c;
        ++i;
    }
}

}  // namespace RepositoryWords

void WordPicker::install(DocumentRegistry* registry)
{
    installedRegistry() = registry;
    setRepositoryHandler(
        [](CodeEditor& editor, FsmDocument& doc) { pickWord(&editor, nullptr, 2, doc); });
}

void WordPicker::pickWord(CodeEditor* editor, QPlainTextEdit* textBox, int placement,
                          const FsmDocument& doc)
{
    QWidget* target = editor ? static_cast<QWidget*>(editor) : textBox;
    const bool allowed = editor ? !editor->isLocked() : textBox && !textBox->isReadOnly();
    if (!target || !allowed)
        return;

    WordPicker dialog(target->window());
    dialog.addWords(RepositoryWords::collectTexts(doc));
    if (dialog.words().isEmpty())
        return;
    dialog.move(placementOf(target, placement));
    {
        const HandOverPause pause;
        dialog.exec();
    }

    const QString word = dialog.chosenWord();
    if (dialog.action() == ActionNone || word.isEmpty())
        return;
    if (dialog.action() == ActionInsert) {
        if (editor)
            editor->replaceSelection(word);
        else
            textBox->insertPlainText(word);
        target->setFocus();
    }
    QGuiApplication::clipboard()->setText(word);
}

WordPicker::WordPicker(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("WordPicker"));
    setWindowTitle(QStringLiteral("Repository"));
    auto* layout = new QVBoxLayout(this);

    m_wordList = new QComboBox(this);
    m_wordList->setObjectName(QStringLiteral("wordList"));
    QFont courier(QStringLiteral("Courier New"));
    courier.setStyleHint(QFont::TypeWriter);
    m_wordList->setFont(courier);
    m_wordList->setMinimumWidth(320);
    m_wordList->setMaxVisibleItems(20);
    layout->addWidget(m_wordList);

    m_insertButton = PropertyDialogSupport::newButton(this, QStringLiteral("insertButton"),
                                                      QStringLiteral("Insert"));
    m_insertButton->setDefault(true);
    m_copyButton = PropertyDialogSupport::newButton(this, QStringLiteral("copyButton"),
                                                    QStringLiteral("Copy"));
    m_seekAllButton = PropertyDialogSupport::newButton(this, QStringLiteral("seekAllButton"),
                                                       QStringLiteral("Seek in all FSM"));
    m_cancelButton = PropertyDialogSupport::newButton(this, QStringLiteral("cancelButton"),
                                                      QStringLiteral("Cancel"));
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {m_insertButton, m_copyButton, m_seekAllButton, m_cancelButton})
        buttons->addWidget(b);
    layout->addLayout(buttons);

    connect(m_insertButton, &QPushButton::clicked, this, [this] { finish(ActionInsert); });
    connect(m_copyButton, &QPushButton::clicked, this, [this] { finish(ActionCopy); });
    connect(m_seekAllButton, &QPushButton::clicked, this, &WordPicker::seekInAllFsm);
    connect(m_cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(this, &QDialog::rejected, this, [this] { m_action = ActionNone; });
}

void WordPicker::addWords(const QString& text)
{
    RepositoryWords::scan(text, m_words);
    refill();
}

void WordPicker::seekInAllFsm()
{
    QString texts;
    if (DocumentRegistry* registry = installedRegistry())
        for (const Document* doc : registry->documents())
            texts += RepositoryWords::collectTexts(doc->fsm);
    addWords(texts);
}

void WordPicker::refill()
{
    m_wordList->clear();
    m_wordList->addItems(m_words);
    if (!m_words.isEmpty())
        m_wordList->setCurrentIndex(0);
}

void WordPicker::finish(Action action)
{
    m_action = action;
    m_chosen = m_wordList->currentText();
    accept();
}

}  // namespace orvane
