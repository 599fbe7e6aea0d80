#pragma once
// The word picker ("Repository"): the words already used in the diagram's C
// texts (identifiers, function names with their parenthesis, preprocessor
// words, string literals without blanks), offered for insertion at the
// caret of the editor being typed in, or for the clipboard. The list is made
// anew each time from the open diagrams; nothing is stored.

#include <QDialog>
#include <QStringList>

class QComboBox;
class QPlainTextEdit;
class QPushButton;

namespace orvane {

class CodeEditor;
class DocumentRegistry;
class FsmDocument;

namespace RepositoryWords {

constexpr int kMaxWords = 1024;

// The C texts of one diagram, each followed by CR LF: per node in diagram
// order a state's entry, during, else and exit actions, a transition's
// condition and action; then the machine's name, parameters, module and
// function headers, initialization, actions before and after, ending.
QString collectTexts(const FsmDocument& doc);

// Adds the words of `text` to `words` (first use first, no repeats, at
// most kMaxWords).
void scan(const QString& text, QStringList& words);

// True for a word worth offering: not empty, none of * ? + - | & ! ; , /,
// and not starting with a digit.
bool isValidWord(const QString& word);

}  // namespace RepositoryWords

class WordPicker : public QDialog {
    Q_OBJECT
public:
    enum Action { ActionNone = 0, ActionInsert = 1, ActionCopy = 2 };

    // The documents "Seek in all FSM" looks through, in the order they were
    // opened; also makes F2 in the property dialogs' editors open the picker.
    // Null forgets them.
    static void install(DocumentRegistry* registry);

    // Opens the picker for `editor` (placing allowed only when it is not
    // read-only) or, without one, for `textBox` (only when not read-only),
    // with the words of `doc`. Placement 1 puts the picker at the top-left
    // corner of the target's container, 2 of the container's container,
    // otherwise of the target itself. "Insert" replaces the target's
    // selection by the word (or inserts it at the caret) and also puts it on
    // the clipboard; "Copy" only puts it on the clipboard.
    static void pickWord(CodeEditor* editor, QPlainTextEdit* textBox, int placement,
                         const FsmDocument& doc);

    explicit WordPicker(QWidget* parent = nullptr);

    // Scans `text` into the list and refills the drop-down, first word
    // selected.
    void addWords(const QString& text);
    const QStringList& words() const { return m_words; }

    // "Seek in all FSM": the words of every open document are added.
    void seekInAllFsm();

    Action action() const { return m_action; }
    QString chosenWord() const { return m_chosen; }

private:
    void refill();
    void finish(Action action);

    QStringList m_words;
    Action m_action = ActionNone;
    QString m_chosen;

    QComboBox* m_wordList = nullptr;
    QPushButton* m_insertButton = nullptr;
    QPushButton* m_copyButton = nullptr;
    QPushButton* m_seekAllButton = nullptr;
    QPushButton* m_cancelButton = nullptr;
};

}  // namespace orvane
