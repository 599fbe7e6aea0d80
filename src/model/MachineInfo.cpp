#include "modGrafoInfo.h"

#include "FsmDocument.h"
#include "modLib_Rutas.h"
#include "modNodoEstado.h"
#include "modStrings.h"

namespace orvane::modGrafoInfo {

namespace {
QString Token(const char* code, bool on)
{
    return QLatin1String(code) + (on ? QLatin1String("_Y;") : QLatin1String("_N;"));
}

// Leading and trailing blanks removed (other white space stays).
QString TrimBlanks(const QString& s)
{
    qsizetype from = 0;
    qsizetype to = s.size();
    while (from < to && s.at(from) == QLatin1Char(' '))
        ++from;
    while (to > from && s.at(to - 1) == QLatin1Char(' '))
        --to;
    return s.mid(from, to - from);
}
}  // namespace

QString GetGraphField(int k, const Diagram& d) { return modStrings::GetField(d.tag(), k); }

void SetGraphInfo(Diagram& d, const QString& name, const QString& params, const QString& init,
                  const QString& before, const QString& defaultAction, const QString& after,
                  const QString& finalActions, const QString& signature, const QString& options,
                  const QString& moduleHeader, const QString& functionHeader)
{
    d.setTag(modStrings::JoinFields({signature, TrimBlanks(name), init, before, options, params,
                                     after, finalActions, moduleHeader, functionHeader,
                                     defaultAction}));
}

QString OptionsString(const FsmDocument& doc)
{
    return doc.formatCompilacion + QLatin1Char(';') + Token("AS", doc.autosizeNodes)
           + Token("FO", doc.fixedPitchOnly) + Token("HC", doc.hideComments)
           + Token("FI", doc.bGeneraFuncInit) + Token("FE", doc.bGeneraFuncEnd)
           + Token("DI", doc.bDebugInfo) + Token("AC", doc.bAnsiComment)
           + Token("PT", doc.bTextBoxesInCode) + Token("HF", doc.bHistoryFsm)
           + Token("BF", doc.bUseBitFields) + Token("UM", doc.bUseMacros);
}

void SaveGraphInfo(FsmDocument& doc, bool clearTexts)
{
    Diagram& d = doc.diagram();
    const bool wasChanged = d.changed();
    const QStringList f = modStrings::SplitFields(d.tag(), kGraphFieldCount);
    QString name = modLib_Rutas::BaseName(doc.sFullDocname);
    name.replace(QLatin1Char(' '), QLatin1Char('_'));
    SetGraphInfo(d, name, f[kGraphParams], f[kGraphInit], f[kGraphBefore], f[kGraphDefault],
                 f[kGraphAfter], f[kGraphFinal], kSignature, OptionsString(doc),
                 f[kGraphModuleHeader], f[kGraphFunctionHeader]);

    Node* info = d.addNode(0, 0, 100, 100);
    info->setIsFsmItem(false);
    info->setUserData(modNodoEstado::NODE_INFO);
    info->setTag(d.tag());
    info->setFillColor(d.defaultFillColor());
    info->setForeColor(d.defaultForeColor());
    info->setFont(d.font());

    // The file holds only the records; the texts are rebuilt after loading.
    if (clearTexts) {
        for (const auto& n : d.nodes()) {
            if (!(n->userData() & modNodoEstado::NODE_FSM_ITEM))
                continue;
            n->setText(QString());
            n->setToolTip(QString());
        }
    }
    d.setChanged(wasChanged);
}

void LoadGraphInfo(FsmDocument& doc, bool copyInfo)
{
    Diagram& d = doc.diagram();
    const bool wasChanged = d.changed();
    const bool wasRedraw = d.redraw();
    d.setRedraw(false);
    // Nothing but the info nodes may be selected when they are deleted.
    d.clearSelection();
    for (const auto& n : d.nodes()) {
        if (!(n->userData() & modNodoEstado::NODE_FSM_ITEM))
            n->setIsFsmItem(false);
        if (!(n->userData() & modNodoEstado::NODE_INFO))
            continue;
        if (copyInfo) {
            d.setTag(n->tag());
            d.setFont(n->font());
            d.setDefaultFillColor(n->fillColor());
            d.setDefaultForeColor(n->foreColor());
        }
        n->setSelected(true);
    }
    d.deleteSelected();
    d.setRedraw(wasRedraw);
    d.setChanged(wasChanged);
}

bool SignatureIsNewer(const QString& signature)
{
    return QString::compare(signature, kSignature, Qt::CaseSensitive) > 0;
}

}  // namespace orvane::modGrafoInfo
