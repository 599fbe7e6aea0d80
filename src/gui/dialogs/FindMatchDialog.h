#pragma once
// The match dialog of find and replace ("Find string"): shows one text that
// holds the search string with the match selected; the user steps to the
// next match (Next, Enter or F3 anywhere in the dialog), replaces the match
// (Change) or stops the whole search (Cancel, Esc or the close box).

#include "PropertyDialogSupport.h"

#include <QDialog>

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTimer;

namespace orvane {

class FsmDocument;

// Selects the first occurrence of `findWhat` in the box's text at or after
// `start` (0-based); with caseSensitive the comparison is exact, otherwise
// in lower case. False (selection untouched) when there is none.
bool findInTextBox(QPlainTextEdit* box, const QString& findWhat, bool caseSensitive,
                   qsizetype start);

class FindMatchDialog : public QDialog, public FindMatcher {
    Q_OBJECT
public:
    static constexpr int kRestartMs = 20;

    explicit FindMatchDialog(QWidget* parent = nullptr);
    ~FindMatchDialog() override;

    // The document whose words F2 offers in the box (may be null: F2 then
    // does nothing).
    void setDocument(const FsmDocument* doc) { m_doc = doc; }

    // Shows `text` under `caption` when it holds `findWhat`; a text without
    // a match is not shown. `text` receives the result: the box's content
    // when the user went past the last match, the text as given when the
    // user cancelled. False when the user stopped the search.
    bool showMatch(const QString& caption, QString& text, const QString& findWhat,
                   const QString& replaceWith, bool caseSensitive, bool readOnly) override;

    // How many texts with a match were shown since the dialog was made.
    int matchesShown() const { return m_matchesShown; }

    // "Next (F3)": the next match after the selection, or the end of this
    // text (the dialog closes, the search goes on).
    void next();
    // "Change": the selection becomes the replacement, then Next.
    void change();

public slots:
    // "Cancel", Esc and the close box: the whole search stops and this text
    // keeps its previous content.
    void reject() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void done(int result) override;

private:
    void onRestartTimer();
    // Ctrl+Tab: blanks up to the next multiple of four columns.
    void insertTabSpaces();
    // The box's text with the line ends of the text it was given.
    QString boxText() const;

    QLabel* m_infoLabel = nullptr;
    QPlainTextEdit* m_textBox = nullptr;
    QPushButton* m_replaceButton = nullptr;
    QPushButton* m_continueButton = nullptr;
    QPushButton* m_cancelButton = nullptr;
    QTimer* m_restartTimer = nullptr;

    const FsmDocument* m_doc = nullptr;
    QString m_findWhat;
    QString m_replaceWith;
    bool m_caseSensitive = false;
    bool m_continue = true;
    int m_matchesShown = 0;
    QString m_original;
    QString m_result;
};

}  // namespace orvane
