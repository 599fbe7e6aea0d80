#include "Document.h"

#include "ProcessState.h"
#include "modGrafoInfo.h"

namespace orvane {

Document::Document(QObject* parent) : QObject(parent) {}

Document::~Document() = default;

void Document::setCaption(const QString& caption)
{
    if (fsm.caption == caption)
        return;
    fsm.caption = caption;
    emit captionChanged(caption);
}

void Document::RefreshButtons() { emit buttonsRefreshRequested(); }

void Document::CleanTagNode() { modGrafoInfo::LoadGraphInfo(fsm, false); }

void Document::GetGraphConfig()
{
    modGrafoInfo::LoadGraphInfo(fsm, true);
    fsm.GetGrafoConfig(Process().overrides);
    emit graphConfigApplied();
}

void Document::SaveGraphInfo() { modGrafoInfo::SaveGraphInfo(fsm, false); }

bool Document::ModeCommand() { return Process().batchMode; }

}  // namespace orvane
