#include "FsmDocument.h"

#include "Messenger.h"
#include "modGrafoInfo.h"
#include "modNodoEstado.h"

namespace orvane {

namespace {
// A state node whose kind bits name no single state kind cannot be configured.
bool HasMalformedState(const Diagram& d)
{
    for (const auto& n : d.nodes()) {
        const qint32 kind = n->userData() & modNodoEstado::NODE_STATE_ANY;
        if (kind != 0 && !modNodoEstado::IsStateKind(kind))
            return true;
    }
    return false;
}

// Rebuilds every drawn text; that is bookkeeping, not an edit.
void RefreshKeepingChanged(FsmDocument& doc, Messenger& messenger)
{
    const bool wasChanged = doc.diagram().changed();
    modNodoEstado::RefreshAllItems(doc, messenger);
    doc.diagram().setChanged(wasChanged);
}
}  // namespace

FsmDocument::FsmDocument() : m_diagram(std::make_unique<Diagram>()) {}

FsmDocument::~FsmDocument() = default;

void FsmDocument::GetGrafoConfig(const OptionOverrides& overrides)
{
    const QString options = modGrafoInfo::GetGraphField(modGrafoInfo::kGraphOptions, *m_diagram);
    const auto has = [&options](const char* code) { return options.contains(QLatin1String(code)); };
    autosizeNodes = !has("AS_N");
    fixedPitchOnly = !has("FO_N");
    hideComments = has("HC_Y");
    bGeneraFuncInit = has("FI_Y");
    bGeneraFuncEnd = has("FE_Y");
    bDebugInfo = overrides.debugInfo.value_or(has("DI_Y"));
    bAnsiComment = overrides.ansiComment.value_or(has("AC_Y"));
    bTextBoxesInCode = overrides.textBoxes.value_or(has("PT_Y"));
    bHistoryFsm = !has("HF_N");
    bUseBitFields = overrides.bitFields.value_or(has("BF_Y"));
    bUseMacros = !has("UM_N");

    QString methodology;
    for (const QString& caption :
         {kCaptionDirectPointers, kCaptionSwitchCase, kCaptionPointerArray, kCaptionHierarchical}) {
        if (options.contains(caption)) {
            methodology = caption;
            break;
        }
    }
    SetDefaultMethodology(methodology);
}

bool FsmDocument::SetDefaultMethodology(const QString& caption)
{
    if (caption.isEmpty())
        return false;
    const bool differs = caption != formatCompilacion;
    if (differs)
        m_diagram->setChanged(true);
    formatCompilacion = caption;
    return differs;
}

bool FsmDocument::AfterLoad(const OptionOverrides& overrides, Messenger& messenger)
{
    if (HasMalformedState(*m_diagram)) {
        messenger.message(QStringLiteral("Error in Configura_Nodo_Estado"), MessageIcon::Critical);
        return false;
    }
    modGrafoInfo::LoadGraphInfo(*this, true);
    GetGrafoConfig(overrides);
    RefreshKeepingChanged(*this, messenger);
    return true;
}

void FsmDocument::BeforeSave() { modGrafoInfo::SaveGraphInfo(*this, true); }

void FsmDocument::AfterSave(Messenger& messenger)
{
    RefreshKeepingChanged(*this, messenger);
    modGrafoInfo::LoadGraphInfo(*this, false);
}

}  // namespace orvane
