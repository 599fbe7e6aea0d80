#pragma once
// The frame shared by the three property dialogs: the document, the shared
// editor options, the asker, the read-only state, the "Ok" and "Cancel"
// buttons, and the window size kept in the settings under the dialog's
// section.

#include "PropertyDialogSupport.h"

#include <QDialog>

#include <memory>

class QBoxLayout;
class QEvent;
class QKeyEvent;
class QShowEvent;
class QPushButton;

namespace orvane {

class FsmDocument;
class CodeEditorOptions;
class ChildDiagrams;

class PropertyDialog : public QDialog {
    Q_OBJECT
public:
    ~PropertyDialog() override;

    // The child diagram left by "Open Child_FSM" (empty when none).
    const QString& pendingDocument() const { return m_pendingDocument; }

public slots:
    // Every way of closing ends here: the window size is saved once.
    void done(int result) override;

protected:
    // The focus starts on the first field of the page shown.
    void showEvent(QShowEvent* e) override;
    // Esc asks before it throws away anything typed since the dialog opened.
    void keyPressEvent(QKeyEvent* e) override;

    // `section` names the settings section of the window size; the default
    // size is also the minimum size (twips).
    PropertyDialog(FsmDocument& doc, CodeEditorOptions* options, DialogAsker* asker,
                   QWidget* parent, const QString& section, int defaultHeight, int defaultWidth);

    // Size from the settings, centred on the screen.
    void restoreSize();
    // Adds `m_okButton` "Ok" (runs onOk) and `m_cancelButton` "Cancel".
    void addOkCancel(QBoxLayout* layout);
    // True when `event` is the user leaving a field whose leave check should
    // run: not while closing or read-only, not when going to Cancel.
    bool isFieldLeave(const QEvent* event) const;
    // The end of a find-and-replace run: close without saving when the
    // diagram is read-only, otherwise as "Ok".
    void finishSearch();
    virtual void onOk() = 0;
    // "Open Child_FSM": when the reference names an existing file, its path
    // becomes the pending document and "Ok" follows; otherwise the pending
    // document is emptied and the dialog stays.
    void openChild(const ChildDiagrams& children, const QString& reference);

    DialogAsker& asker() { return *m_asker; }

    FsmDocument& m_doc;
    CodeEditorOptions* m_options;
    bool m_readOnly = false;
    bool m_repositoryBusy = false;
    QPushButton* m_okButton = nullptr;
    QPushButton* m_cancelButton = nullptr;

private:
    // Keys for the whole dialog: Ctrl+Enter for "Ok", Ctrl+Tab, Ctrl+Shift+Tab,
    // Ctrl+PgDown and Ctrl+PgUp for the pages.
    void addDialogKeys();
    void stepPage(int step);
    void focusFirstField(QWidget* page);
    // Every field's value, to tell whether the user has typed anything.
    QStringList fieldValues() const;

    std::unique_ptr<MessageBoxAsker> m_ownAsker;
    QStringList m_shownValues;
    bool m_shownOnce = false;
    DialogAsker* m_asker;
    QString m_section;
    int m_defaultHeight;
    int m_defaultWidth;
    bool m_closing = false;
    QString m_pendingDocument;
};

// The static entry points of the dialogs: open modally and hand back the
// child path; run find and replace on a hidden dialog.
template <class Dialog>
int openPropertyDialog(FsmDocument& doc, CodeEditorOptions* options, QWidget* parent,
                       QString* pendingDocument)
{
    Dialog dialog(doc, options, nullptr, parent);
    const int result = dialog.exec();
    if (pendingDocument)
        *pendingDocument = dialog.pendingDocument();
    return result;
}

template <class Dialog>
bool searchPropertyDialog(FsmDocument& doc, FindMatcher& matcher, const QString& findWhat,
                          const QString& replaceWith, bool caseSensitive, DialogAsker* asker)
{
    Dialog dialog(doc, nullptr, asker);
    return dialog.search(matcher, findWhat, replaceWith, caseSensitive);
}

}  // namespace orvane
