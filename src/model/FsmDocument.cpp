#include "FsmDocument.h"

#include "Messenger.h"
#include "MachineInfo.h"
#include "States.h"

namespace orvane {

namespace {
// A state node whose kind bits name no single state kind cannot be configured.
bool hasMalformedState(const Diagram& d)
{
    for (const auto& n : d.nodes()) {
        const qint32 kind = n->userData() & NodeAnyState;
        if (kind != 0 && !States::isStateKind(kind))
            return true;
    }
    return false;
}

// Rebuilds every drawn text; that is bookkeeping, not an edit.
void refreshKeepingChanged(FsmDocument& doc, Messenger& messenger)
{
    const bool wasChanged = doc.diagram().changed();
    States::refreshAllItems(doc, messenger);
    doc.diagram().setChanged(wasChanged);
}
}  // namespace

FsmDocument::FsmDocument() : m_diagram(std::make_unique<Diagram>()) {}

FsmDocument::~FsmDocument() = default;

void FsmDocument::readConfig(const OptionOverrides& overrides)
{
    const QString options = machineConfig(*m_diagram).options;
    const auto has = [&options](const char* code) { return options.contains(QLatin1String(code)); };
    autosizeNodes = !has("AS_N");
    fixedPitchOnly = !has("FO_N");
    hideComments = has("HC_Y");
    generateInitFunction = has("FI_Y");
    generateEndFunction = has("FE_Y");
    debugInfo = overrides.debugInfo.value_or(has("DI_Y"));
    ansiComments = overrides.ansiComment.value_or(has("AC_Y"));
    remarksInCode = overrides.textBoxes.value_or(has("PT_Y"));
    historyMachine = !has("HF_N");
    useBitFields = overrides.bitFields.value_or(has("BF_Y"));
    useMacros = !has("UM_N");

    // The first caption found in this order wins.
    for (Methodology m : {Methodology::DirectPointers, Methodology::SwitchCase,
                          Methodology::PointerArray, Methodology::Hierarchical}) {
        if (options.contains(methodologyCaption(m))) {
            setDefaultMethodology(m);
            break;
        }
    }
}

bool FsmDocument::setDefaultMethodology(Methodology methodology)
{
    const bool differs = defaultMethodology != methodology;
    if (differs)
        m_diagram->setChanged(true);
    defaultMethodology = methodology;
    return differs;
}

bool FsmDocument::afterLoad(const OptionOverrides& overrides, Messenger& messenger)
{
    if (hasMalformedState(*m_diagram)) {
        messenger.message(States::kMsgBadStateKind, MessageIcon::Critical);
        return false;
    }
    MachineInfo::loadGraphInfo(*this, true);
    readConfig(overrides);
    refreshKeepingChanged(*this, messenger);
    return true;
}

void FsmDocument::beforeSave() { MachineInfo::saveGraphInfo(*this, true); }

void FsmDocument::afterSave(Messenger& messenger)
{
    refreshKeepingChanged(*this, messenger);
    MachineInfo::loadGraphInfo(*this, false);
}

}  // namespace orvane
