#include "ChildDiagrams.h"

#include "Paths.h"
#include "States.h"

#include <QFileInfo>

#include <algorithm>

namespace orvane {

namespace {
const QString kExt = QStringLiteral(".fsm");

// A folder and a name joined by one "/" (the root already ends with one).
QString join(const QString& folder, const QString& name)
{
    return folder.endsWith(QLatin1Char('/')) ? folder + name : folder + QLatin1Char('/') + name;
}

// Non-empty, none of * ? + - | & ! ; , / and not beginning with a digit.
bool isValidChildName(const QString& name)
{
    static const QString forbidden = QStringLiteral("*?+-|&!;,/");
    if (name.isEmpty() || (name.at(0) >= QLatin1Char('0') && name.at(0) <= QLatin1Char('9')))
        return false;
    return std::none_of(name.begin(), name.end(), [](QChar c) { return forbidden.contains(c); });
}

bool endsName(QChar c)
{
    return c == QLatin1Char('\t') || c == QLatin1Char(' ') || c == QLatin1Char('\n')
           || c == QLatin1Char(';');
}
}  // namespace

ChildDiagrams::ChildDiagrams() : m_exists(isDiagramFile) {}

// A diagram file of exactly that name (folders do not count). A name
// holding a NUL names no file; Qt would also warn about it on every call.
bool ChildDiagrams::isDiagramFile(const QString& path)
{
    return !path.contains(QChar(0)) && QFileInfo(path).isFile();
}

ChildDiagrams::ChildDiagrams(Exists exists) : m_exists(std::move(exists)) {}

void ChildDiagrams::reset(const QString& documentPath)
{
    m_children.clear();
    // Only the file name's extension goes ("/a.d/Top" keeps its folder).
    const QString withoutExtension = Paths::fileNameOf(documentPath).contains(QLatin1Char('.'))
                                         ? Paths::stripExtension(documentPath)
                                         : documentPath;
    m_childFolder = Paths::absolutePath(withoutExtension);
    m_siblingFolder = Paths::folderOf(m_childFolder);
    m_relativeChildFolder = QStringLiteral("./") + Paths::fileNameOf(withoutExtension);
}

bool ChildDiagrams::scanText(const QString& text)
{
    // Scanned backwards: a name is what stands directly before a "(".
    const QString s = QLatin1Char(' ') + text;
    bool found = false;
    qsizetype open = -1;  // the "(" whose name is being read, -1 when none
    for (qsizetype i = s.size() - 1; i >= 0; --i) {
        const QChar c = s.at(i);
        if (open < 0) {
            if (c == QLatin1Char('('))
                open = i;
        } else if (endsName(c)) {
            const QString name = s.mid(i + 1, open - i - 1);
            open = -1;
            if (!isValidChildName(name))
                continue;
            const QString file = name + kExt;
            if (m_exists(join(m_siblingFolder, file))) {
                add(file);
                found = true;
            }
            if (m_exists(join(m_childFolder, file))) {
                add(QLatin1Char('/') + file);
                found = true;
            }
        } else if (c == QLatin1Char('(')) {
            open = i;
        }
    }
    return found;
}

bool ChildDiagrams::scanDiagram(const Diagram& d)
{
    using namespace States;
    bool found = false;
    for (const auto& n : d.nodes()) {
        if (!isStateNode(n.get()))
            continue;
        found = scanText(stateRecord(n.get()).during) || found;
        found = scanText(stateRecord(n.get()).elseAction) || found;
    }
    return found;
}

QString ChildDiagrams::fullPath(const QString& reference) const
{
    if (reference.startsWith(QLatin1Char('/')))
        return m_childFolder + reference;
    return join(m_siblingFolder, reference);
}

QString ChildDiagrams::relativePath(const QString& reference) const
{
    if (reference.startsWith(QLatin1Char('/')))
        return m_relativeChildFolder + reference;
    return QStringLiteral("./") + reference;
}

void ChildDiagrams::add(const QString& reference)
{
    const auto pos = std::lower_bound(m_children.begin(), m_children.end(), reference);
    if (pos != m_children.end() && *pos == reference)
        return;
    m_children.insert(pos, reference);
}

}  // namespace orvane
