#include "MachineInfo.h"

#include "FsmDocument.h"
#include "Paths.h"
#include "States.h"
#include "Texts.h"

namespace orvane::MachineInfo {

namespace {
QString token(const char* code, bool on)
{
    return QLatin1String(code) + (on ? QLatin1String("_Y;") : QLatin1String("_N;"));
}

// Leading and trailing blanks removed (other white space stays).
QString trimBlanks(const QString& s)
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

QString getGraphField(int k, const Diagram& d) { return Texts::getField(d.tag(), k); }

void setGraphInfo(Diagram& d, const QString& name, const QString& params, const QString& init,
                  const QString& before, const QString& defaultAction, const QString& after,
                  const QString& finalActions, const QString& signature, const QString& options,
                  const QString& moduleHeader, const QString& functionHeader)
{
    d.setTag(Texts::joinFields({signature, trimBlanks(name), init, before, options, params,
                                     after, finalActions, moduleHeader, functionHeader,
                                     defaultAction}));
}

QString optionsString(const FsmDocument& doc)
{
    return doc.defaultMethodology + QLatin1Char(';') + token("AS", doc.autosizeNodes)
           + token("FO", doc.fixedPitchOnly) + token("HC", doc.hideComments)
           + token("FI", doc.generateInitFunction) + token("FE", doc.generateEndFunction)
           + token("DI", doc.debugInfo) + token("AC", doc.ansiComments)
           + token("PT", doc.remarksInCode) + token("HF", doc.historyMachine)
           + token("BF", doc.useBitFields) + token("UM", doc.useMacros);
}

void saveGraphInfo(FsmDocument& doc, bool clearTexts)
{
    Diagram& d = doc.diagram();
    const bool wasChanged = d.changed();
    const QStringList f = Texts::splitFields(d.tag(), kGraphFieldCount);
    QString name = Paths::baseName(doc.filePath);
    name.replace(QLatin1Char(' '), QLatin1Char('_'));
    setGraphInfo(d, name, f[kGraphParams], f[kGraphInit], f[kGraphBefore], f[kGraphDefault],
                 f[kGraphAfter], f[kGraphFinal], kSignature, optionsString(doc),
                 f[kGraphModuleHeader], f[kGraphFunctionHeader]);

    Node* info = d.addNode(0, 0, 100, 100);
    info->setIsFsmItem(false);
    info->setUserData(States::NODE_INFO);
    info->setTag(d.tag());
    info->setFillColor(d.defaultFillColor());
    info->setForeColor(d.defaultForeColor());
    info->setFont(d.font());

    // The file holds only the records; the texts are rebuilt after loading.
    if (clearTexts) {
        for (const auto& n : d.nodes()) {
            if (!(n->userData() & States::NODE_FSM_ITEM))
                continue;
            n->setText(QString());
            n->setToolTip(QString());
        }
    }
    d.setChanged(wasChanged);
}

void loadGraphInfo(FsmDocument& doc, bool copyInfo)
{
    Diagram& d = doc.diagram();
    const bool wasChanged = d.changed();
    const bool wasRedraw = d.redraw();
    d.setRedraw(false);
    // Nothing but the info nodes may be selected when they are deleted.
    d.clearSelection();
    for (const auto& n : d.nodes()) {
        if (!(n->userData() & States::NODE_FSM_ITEM))
            n->setIsFsmItem(false);
        if (!(n->userData() & States::NODE_INFO))
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

bool signatureIsNewer(const QString& signature)
{
    return QString::compare(signature, kSignature, Qt::CaseSensitive) > 0;
}

}  // namespace orvane::MachineInfo
