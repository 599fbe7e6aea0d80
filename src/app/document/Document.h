#pragma once
// One open document of the application: the windowless FSM document, its
// undo store, and the answers to the store's events. A document window wraps
// one of these and listens to its signals.

#include "FsmDocument.h"
#include "UndoSnapshots.h"

#include <QObject>

namespace orvane {

class Document : public QObject, public UndoRedoEvents {
    Q_OBJECT
public:
    explicit Document(QObject* parent = nullptr);
    ~Document() override;

    FsmDocument fsm;
    UndoSnapshots undo{fsm, *this};

    const QString& caption() const { return fsm.caption; }
    void setCaption(const QString& caption);

    // UndoRedoEvents.
    void refreshButtons() override;
    void cleanTagNode() override;
    void readGraphConfig() override;
    void saveGraphInfo() override;
    bool modeCommand() override;

signals:
    // The undo/redo availability or the locked state may have changed.
    void buttonsRefreshRequested();
    // The options and the default methodology were read again (after undo or
    // redo): the menus' check marks follow them.
    void graphConfigApplied();
    void captionChanged(const QString& caption);
};

}  // namespace orvane
