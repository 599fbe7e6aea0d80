#pragma once
// One open document of the application: the windowless FSM document, its
// undo store, and the answers to the store's events. A document window wraps
// one of these and listens to its signals.

#include "FsmDocument.h"
#include "clsLib_UndoRedo.h"

#include <QObject>

namespace orvane {

class Document : public QObject, public UndoRedoEvents {
    Q_OBJECT
public:
    explicit Document(QObject* parent = nullptr);
    ~Document() override;

    FsmDocument fsm;
    clsLib_UndoRedo undRed{fsm, *this};

    const QString& caption() const { return fsm.caption; }
    void setCaption(const QString& caption);

    // UndoRedoEvents.
    void RefreshButtons() override;
    void CleanTagNode() override;
    void GetGraphConfig() override;
    void SaveGraphInfo() override;
    bool ModeCommand() override;

signals:
    // The undo/redo availability or the locked state may have changed.
    void buttonsRefreshRequested();
    // The options and the default methodology were read again (after undo or
    // redo): the menus' check marks follow them.
    void graphConfigApplied();
    void captionChanged(const QString& caption);
};

}  // namespace orvane
