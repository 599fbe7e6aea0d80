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

void setMachineConfig(Diagram& d, MachineConfig config)
{
    config.name = trimBlanks(config.name);
    d.setTag(config.toText());
}

QString optionsString(const FsmDocument& doc)
{
    const QString style =
        doc.defaultMethodology ? methodologyCaption(*doc.defaultMethodology) : QString();
    return style + QLatin1Char(';') + token("AS", doc.autosizeNodes)
           + token("FO", doc.fixedPitchOnly) + token("HC", doc.hideComments)
           + token("FI", doc.generateInitFunction) + token("FE", doc.generateEndFunction)
           + token("DI", doc.debugInfo) + token("AC", doc.ansiComments)
           + token("PT", doc.remarksInCode) + token("HF", doc.historyMachine)
           + token("BF", doc.useBitFields) + token("UM", doc.useMacros);
}

QString nameForFile(const QString& path)
{
    QString name = Paths::baseName(path);
    name.replace(QLatin1Char(' '), QLatin1Char('_'));
    return name;
}

namespace {
// The configuration record with the current signature, name and options.
void updateConfig(FsmDocument& doc)
{
    Diagram& d = doc.diagram();
    MachineConfig config = machineConfig(d);
    config.signature = kSignature;
    config.name = nameForFile(doc.filePath);
    config.options = optionsString(doc);
    setMachineConfig(d, std::move(config));
}

// The hidden node that carries the record into the file, added last.
void addInfoNode(Diagram& d)
{
    Node* info = d.addNode(0, 0, 100, 100);
    info->setIsFsmItem(false);
    info->setUserData(NodeInfo);
    info->setTag(d.tag());
    info->setFillColor(d.defaultFillColor());
    info->setForeColor(d.defaultForeColor());
    info->setFont(d.font());
}
}  // namespace

void saveGraphInfo(FsmDocument& doc, bool clearTexts)
{
    Diagram& d = doc.diagram();
    const bool wasChanged = d.changed();
    updateConfig(doc);
    addInfoNode(d);

    if (clearTexts)
        clearTextsForFile(d);
    d.setChanged(wasChanged);
}

void clearTextsForFile(Diagram& d)
{
    for (const auto& n : d.nodes()) {
        if (!(n->userData() & NodeFsmItem))
            continue;
        n->setText(QString());
        n->setToolTip(QString());
    }
}

std::unique_ptr<Diagram> fileCopyWithRecord(FsmDocument& doc)
{
    Diagram& d = doc.diagram();
    const bool wasChanged = d.changed();
    updateConfig(doc);
    d.setChanged(wasChanged);
    // The copy has the diagram's tag, colours and font, as addInfoNode needs.
    std::unique_ptr<Diagram> copy = d.fileCopy();
    addInfoNode(*copy);
    return copy;
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
        if (!(n->userData() & NodeFsmItem))
            n->setIsFsmItem(false);
        if (!(n->userData() & NodeInfo))
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
