#pragma once
// The search-text dialog of find and replace ("String to search"): what to
// find, what to put instead, and whether case matters.

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace orvane {

class FindDialog : public QDialog {
    Q_OBJECT
public:
    // Fills the dialog. On a read-only diagram replacing is impossible: the
    // replacement is emptied and "Enable Replace" stays off.
    FindDialog(const QString& findWhat, const QString& replaceWith, bool caseSensitive,
               bool readOnly, QWidget* parent = nullptr);

    // Shows the dialog modally (the hand-over of other starts waits) and
    // returns the search text, empty when cancelled. `replaceWith` becomes
    // the replacement when "Enable Replace" was checked, else empty;
    // `caseSensitive` the check box (on Cancel too).
    static QString ask(const QString& findWhat, QString& replaceWith, bool& caseSensitive,
                       bool readOnly, QWidget* parent = nullptr);

    // The results once the dialog has closed.
    QString findText() const;
    QString replaceText() const;
    bool caseSensitive() const;

public slots:
    // Cancel and Esc: the search text is emptied, the rest is taken as OK.
    void reject() override;

private:
    // Locked with the read-only look unless "Enable Replace" is checked.
    void updateReplaceBox();

    QLineEdit* m_findEdit = nullptr;
    QLineEdit* m_replaceEdit = nullptr;
    QCheckBox* m_caseSensitiveBox = nullptr;
    QCheckBox* m_replaceBox = nullptr;
    QPushButton* m_okButton = nullptr;
    QPushButton* m_cancelButton = nullptr;
};

}  // namespace orvane
