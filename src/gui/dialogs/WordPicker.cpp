#include "frmRepositorio.h"

#include "CodeEditor.h"
#include "Document.h"
#include "DocumentRegistry.h"
#include "FsmDocument.h"
#include "PropertyDialogSupport.h"
#include "frmLib_LinkInstance.h"
#include "modGrafoInfo.h"
#include "modNodoEstado.h"
#include "modNodoTransicion.h"

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
namespace Estado = modNodoEstado;
namespace Transicion = modNodoTransicion;
namespace Grafo = modGrafoInfo;

const QString kCrLf = QStringLiteral("\r\n");

QPointer<DocumentRegistry>& InstalledRegistry()
{
    static QPointer<DocumentRegistry> registry;
    return registry;
}

// Characters that end a word (besides "(", which is looked at twice).
bool EndsWord(QChar c)
{
    static const QString delimiters = QStringLiteral(" \r=<>+-*/),;:");
    return delimiters.contains(c);
}

bool StartsWord(QChar c)
{
    return c == QLatin1Char('"') || c == QLatin1Char('#') ||
           (c >= QLatin1Char('a') && c <= QLatin1Char('z')) ||
           (c >= QLatin1Char('A') && c <= QLatin1Char('Z'));
}

void AddWord(const QString& word, QStringList& words)
{
    if (word.size() <= 1 || !RepositoryWords::IsValidWord(word) || words.contains(word) ||
        words.size() >= RepositoryWords::kMaxWords)
        return;
    words.append(word);
}

// The global top-left corner of the target, of its container (1) or of the
// container's container (2).
QPoint PlacementOf(QWidget* target, int placement)
{
    const int levels = placement == 1 ? 1 : placement == 2 ? 2 : 0;
    QWidget* w = target;
    for (int i = 0; i < levels && w->parentWidget(); ++i)
        w = w->parentWidget();
    return w->isWindow() ? w->frameGeometry().topLeft() : w->mapToGlobal(QPoint(0, 0));
}
}  // namespace

namespace RepositoryWords {

QString CollectTexts(const FsmDocument& doc)
{
    QString text;
    auto add = [&text](const QString& t) { text += t + kCrLf; };
    const Diagram& d = doc.diagram();
    for (const auto& owned : d.nodes()) {
        const Node* n = owned.get();
        if (Estado::IsStateNode(n)) {
            for (int f : {Estado::kStateEntry, Estado::kStateDuring, Estado::kStateElse,
                          Estado::kStateExit})
                add(Estado::GetStateField(f, n));
        } else if (Transicion::IsTransitionNode(n)) {
            add(Transicion::GetTransitionField(Transicion::kTransCondition, n));
            add(Transicion::GetTransitionField(Transicion::kTransAction, n));
        }
    }
    for (int f : {Grafo::kGraphName, Grafo::kGraphParams, Grafo::kGraphModuleHeader,
                  Grafo::kGraphFunctionHeader, Grafo::kGraphInit, Grafo::kGraphBefore,
                  Grafo::kGraphAfter, Grafo::kGraphFinal})
        add(Grafo::GetGraphField(f, d));
    return text;
}

bool IsValidWord(const QString& word)
{
    static const QString forbidden = QStringLiteral("*?+-|&!;,/");
    if (word.isEmpty() || (word.front() >= QLatin1Char('0') && word.front() <= QLatin1Char('9')))
        return false;
    for (QChar c : word)
        if (forbidden.contains(c))
            return false;
    return true;
}

void Scan(const QString& input, QStringList& words)
{
    const QString text = input + QLatin1Char(' ');
    QString word;
    bool inWord = false;
    bool openParen = false;
    auto endWord = [&] {
        AddWord(word, words);
        word.clear();
        inWord = false;
    };
    qsizetype i = 0;
    while (i < text.size()) {
        const QChar c = text.at(i);
        if (!inWord) {
            if (StartsWord(c)) {
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
        if (EndsWord(c))
            endWord();
        else if (c == QLatin1Char('('))
            openParen = true;
        else
            word += c;
        ++i;
    }
}

}  // namespace RepositoryWords

void frmRepositorio::Install(DocumentRegistry* registry)
{
    InstalledRegistry() = registry;
    SetRepositoryHandler(
        [](CodeEditor& editor, FsmDocument& doc) { Edita(&editor, nullptr, 2, doc); });
}

void frmRepositorio::Edita(CodeEditor* editor, QPlainTextEdit* textBox, int placement,
                           const FsmDocument& doc)
{
    QWidget* target = editor ? static_cast<QWidget*>(editor) : textBox;
    const bool allowed = editor ? !editor->ReadOnly() : textBox && !textBox->isReadOnly();
    if (!target || !allowed)
        return;

    frmRepositorio dialog(target->window());
    dialog.AddWords(RepositoryWords::CollectTexts(doc));
    if (dialog.words().isEmpty())
        return;
    dialog.move(PlacementOf(target, placement));
    {
        const HandOverPause pause;
        dialog.exec();
    }

    const QString word = dialog.chosenWord();
    if (dialog.action() == ActionNone || word.isEmpty())
        return;
    if (dialog.action() == ActionInsert) {
        if (editor)
            editor->SetSelText(word);
        else
            textBox->insertPlainText(word);
        target->setFocus();
    }
    QGuiApplication::clipboard()->setText(word);
}

frmRepositorio::frmRepositorio(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmRepositorio"));
    setWindowTitle(QStringLiteral("Repository"));
    auto* layout = new QVBoxLayout(this);

    cmbReposi = new QComboBox(this);
    cmbReposi->setObjectName(QStringLiteral("cmbReposi"));
    QFont courier(QStringLiteral("Courier New"));
    courier.setStyleHint(QFont::TypeWriter);
    cmbReposi->setFont(courier);
    cmbReposi->setMinimumWidth(320);
    cmbReposi->setMaxVisibleItems(20);
    layout->addWidget(cmbReposi);

    cmdInsert = PropertyDialogSupport::NewButton(this, QStringLiteral("cmdInsert"),
                                                 QStringLiteral("Insert"));
    cmdInsert->setDefault(true);
    cmdCopy =
        PropertyDialogSupport::NewButton(this, QStringLiteral("cmdCopy"), QStringLiteral("Copy"));
    cmdSeekAllFsm = PropertyDialogSupport::NewButton(this, QStringLiteral("cmdSeekAllFsm"),
                                                     QStringLiteral("Seek in all FSM"));
    cmdCancel = PropertyDialogSupport::NewButton(this, QStringLiteral("cmdCancel"),
                                                 QStringLiteral("Cancel"));
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {cmdInsert, cmdCopy, cmdSeekAllFsm, cmdCancel})
        buttons->addWidget(b);
    layout->addLayout(buttons);

    connect(cmdInsert, &QPushButton::clicked, this, [this] { finish(ActionInsert); });
    connect(cmdCopy, &QPushButton::clicked, this, [this] { finish(ActionCopy); });
    connect(cmdSeekAllFsm, &QPushButton::clicked, this, &frmRepositorio::SeekInAllFsm);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(this, &QDialog::rejected, this, [this] { m_action = ActionNone; });
}

void frmRepositorio::AddWords(const QString& text)
{
    RepositoryWords::Scan(text, m_words);
    refill();
}

void frmRepositorio::SeekInAllFsm()
{
    QString texts;
    if (DocumentRegistry* registry = InstalledRegistry())
        for (const Document* doc : registry->documents())
            texts += RepositoryWords::CollectTexts(doc->fsm);
    AddWords(texts);
}

void frmRepositorio::refill()
{
    cmbReposi->clear();
    cmbReposi->addItems(m_words);
    if (!m_words.isEmpty())
        cmbReposi->setCurrentIndex(0);
}

void frmRepositorio::finish(Action action)
{
    m_action = action;
    m_chosen = cmbReposi->currentText();
    accept();
}

}  // namespace orvane
