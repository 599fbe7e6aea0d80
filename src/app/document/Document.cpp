#include "Document.h"

#include "ProcessState.h"
#include "MachineInfo.h"

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

void Document::refreshButtons() { emit buttonsRefreshRequested(); }

void Document::cleanTagNode() { MachineInfo::loadGraphInfo(fsm, false); }

void Document::readGraphConfig()
{
    MachineInfo::loadGraphInfo(fsm, true);
    fsm.readConfig(process().overrides);
    emit graphConfigApplied();
}

void Document::saveGraphInfo() { MachineInfo::saveGraphInfo(fsm, false); }

bool Document::modeCommand() { return process().batchMode; }

}  // namespace orvane
