#include "clsParientes.h"

#include "modLib_Rutas.h"
#include "modNodoEstado.h"

#include <QFileInfo>

#include <algorithm>

namespace orvane {

namespace {
const QString kExt = QStringLiteral(".fsm");

// A folder and a name joined by one "/" (the root already ends with one).
QString Join(const QString& folder, const QString& name)
{
    return folder.endsWith(QLatin1Char('/')) ? folder + name : folder + QLatin1Char('/') + name;
}

// A diagram file of exactly that name (folders do not count). A name
// holding a NUL names no file; Qt would also warn about it on every call.
bool DiagramExists(const QString& path)
{
    return !path.contains(QChar(0)) && QFileInfo(path).isFile();
}

// Non-empty, none of * ? + - | & ! ; , / and not beginning with a digit.
bool IsValidChildName(const QString& name)
{
    static const QString forbidden = QStringLiteral("*?+-|&!;,/");
    if (name.isEmpty() || (name.at(0) >= QLatin1Char('0') && name.at(0) <= QLatin1Char('9')))
        return false;
    return std::none_of(name.begin(), name.end(),
                        [](QChar c) { return forbidden.contains(c); });
}

bool EndsName(QChar c)
{
    return c == QLatin1Char('\t') || c == QLatin1Char(' ') || c == QLatin1Char('\n')
           || c == QLatin1Char(';');
}
}  // namespace

void clsParientes::Reset(const QString& documentPath)
{
    m_children.clear();
    // Only the file name's extension goes ("/a.d/Top" keeps its folder).
    const QString withoutExtension = modLib_Rutas::FileNameOf(documentPath).contains(QLatin1Char('.'))
                                         ? modLib_Rutas::StripExtension(documentPath)
                                         : documentPath;
    m_childFolder = modLib_Rutas::AbsolutePath(withoutExtension);
    m_siblingFolder = modLib_Rutas::FolderOf(m_childFolder);
    m_relativeChildFolder = QStringLiteral("./") + modLib_Rutas::FileNameOf(withoutExtension);
}

bool clsParientes::BuscaEnlaces(const QString& text)
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
        } else if (EndsName(c)) {
            const QString name = s.mid(i + 1, open - i - 1);
            open = -1;
            if (!IsValidChildName(name))
                continue;
            const QString file = name + kExt;
            if (DiagramExists(Join(m_siblingFolder, file))) {
                add(file);
                found = true;
            }
            if (DiagramExists(Join(m_childFolder, file))) {
                add(QLatin1Char('/') + file);
                found = true;
            }
        } else if (c == QLatin1Char('(')) {
            open = i;
        }
    }
    return found;
}

bool clsParientes::BuscaTodosEnlaces(const Diagram& d)
{
    using namespace modNodoEstado;
    bool found = false;
    for (const auto& n : d.nodes()) {
        if (!IsStateNode(n.get()))
            continue;
        found = BuscaEnlaces(GetStateField(kStateDuring, n.get())) || found;
        found = BuscaEnlaces(GetStateField(kStateElse, n.get())) || found;
    }
    return found;
}

QString clsParientes::DimeHijo(int i) const
{
    if (i < 1 || i > DimeNumeroHijos())
        return {};
    return m_children.at(i - 1);
}

QString clsParientes::RutaCompleta(const QString& reference) const
{
    if (reference.startsWith(QLatin1Char('/')))
        return m_childFolder + reference;
    return Join(m_siblingFolder, reference);
}

QString clsParientes::RutaRelativa(const QString& reference) const
{
    if (reference.startsWith(QLatin1Char('/')))
        return m_relativeChildFolder + reference;
    return QStringLiteral("./") + reference;
}

void clsParientes::add(const QString& reference)
{
    const auto pos = std::lower_bound(m_children.begin(), m_children.end(), reference);
    if (pos != m_children.end() && *pos == reference)
        return;
    m_children.insert(pos, reference);
}

}  // namespace orvane
