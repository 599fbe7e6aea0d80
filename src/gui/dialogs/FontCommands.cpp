#include "FontCommands.h"

#include "FsmDocument.h"
#include "InstanceReceiver.h"
#include "States.h"

#include <QColorDialog>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace orvane::FontCommands {

namespace {

// Switches the diagram's automatic refresh off for its lifetime.
class AutoRefreshOff {
public:
    explicit AutoRefreshOff(Diagram& d) : m_diagram(d) { d.setAutoRefresh(false); }
    ~AutoRefreshOff() { m_diagram.setAutoRefresh(true); }
    AutoRefreshOff(const AutoRefreshOff&) = delete;
    AutoRefreshOff& operator=(const AutoRefreshOff&) = delete;

private:
    Diagram& m_diagram;
};

// The current node when it is a remark, after committing its in-place
// editor (which may change the current node); null otherwise.
Node* currentRemark(Diagram& d, const CommitEditor& commit)
{
    if (!States::isTextBox(d.currentNode()))
        return nullptr;
    if (commit)
        commit();
    Node* n = d.currentNode();
    return States::isTextBox(n) ? n : nullptr;
}

// Every node takes the diagram's font (all of it, or only its size), is
// sized to its text, and the states and transitions redraw their texts.
void spreadDiagramFont(FsmDocument& doc, Messenger& messenger, bool sizeOnly)
{
    Diagram& d = doc.diagram();
    for (int i = 1; i <= d.nodeCount(); ++i) {
        Node* n = d.item(i);
        DiagramFont f = sizeOnly ? n->font() : d.font();
        f.size = d.font().size;
        n->setFont(f);
        States::sizeNodeToText(doc, n);
    }
    States::refreshAllItems(doc, messenger);
}

bool canStep(double size, double step) { return step > 0 ? size < kMaxSize : size > kMinSize; }

// One point in the step's direction, never past the limit on that side
// (a fractional size ends on the limit).
double stepped(double size, double step)
{
    return step > 0 ? std::min(size + step, kMaxSize) : std::max(size + step, kMinSize);
}

bool stepFont(FsmDocument& doc, Messenger& messenger, const CommitEditor& commit, double step)
{
    Diagram& d = doc.diagram();
    if (d.readOnly())
        return false;
    const AutoRefreshOff refreshOff(d);
    if (Node* remark = currentRemark(d, commit)) {
        d.setChanged(true);
        DiagramFont f = remark->font();
        if (!canStep(f.size, step))
            return false;
        f.size = stepped(f.size, step);
        remark->setFont(f);
        States::sizeNodeToText(doc, remark);
        return true;
    }
    DiagramFont f = d.font();
    if (!canStep(f.size, step))
        return false;
    d.setChanged(true);
    f.size = stepped(f.size, step);
    d.setFont(f);
    spreadDiagramFont(doc, messenger, true);
    return true;
}

QFont toQFont(const DiagramFont& f)
{
    QFont font(f.name);
    font.setPointSizeF(f.size > 0 ? f.size : 8);
    font.setBold(f.bold);
    font.setItalic(f.italic);
    font.setUnderline(f.underline);
    font.setStrikeOut(f.strikeout);
    return font;
}

DiagramFont fromQFont(const QFont& font)
{
    DiagramFont f;
    f.name = font.family();
    f.size = font.pointSizeF();
    f.bold = font.bold();
    f.italic = font.italic();
    f.underline = font.underline();
    f.strikeout = font.strikeOut();
    return f;
}

QColor fromColorRef(quint32 c)
{
    return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
}
quint32 toColorRef(const QColor& c)
{
    return quint32(c.red() | (c.green() << 8) | (c.blue() << 16));
}

void showSwatch(QPushButton* button, const QColor& colour)
{
    QPixmap swatch(16, 16);
    swatch.fill(colour);
    button->setIcon(QIcon(swatch));
}
}  // namespace

bool enlargeFont(FsmDocument& doc, Messenger& messenger, const CommitEditor& commit)
{
    return stepFont(doc, messenger, commit, +1);
}

bool reduceFont(FsmDocument& doc, Messenger& messenger, const CommitEditor& commit)
{
    return stepFont(doc, messenger, commit, -1);
}

bool changeFont(FsmDocument& doc, bool fixedPitchOnly, Messenger& messenger, const FontAsker& ask,
                const CommitEditor& commit)
{
    Diagram& d = doc.diagram();
    if (d.readOnly() || !ask)
        return false;
    Node* remark = currentRemark(d, commit);
    const FontChoice initial =
        remark ? FontChoice{remark->font(), remark->foreColor()} : FontChoice{d.font(), 0};
    // A remark's dialog is never restricted to fixed-pitch fonts.
    const std::optional<FontChoice> chosen =
        ask(initial, remark != nullptr, !remark && fixedPitchOnly);
    if (!chosen)
        return false;

    d.setChanged(true);
    if (remark) {
        remark->setFont(chosen->font);
        remark->setForeColor(chosen->foreColor);
        States::sizeNodeToText(doc, remark);
        return true;
    }
    d.setFont(chosen->font);
    const AutoRefreshOff refreshOff(d);
    spreadDiagramFont(doc, messenger, false);
    return true;
}

std::optional<FontChoice> askFont(const FontChoice& initial, bool withEffects, bool fixedPitchOnly,
                                  QWidget* parent)
{
    QDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("fontChooser"));
    dialog.setWindowTitle(QStringLiteral("Font"));
    auto* layout = new QVBoxLayout(&dialog);

    auto* fonts = new QFontDialog(&dialog);
    fonts->setObjectName(QStringLiteral("fontDialog"));
    fonts->setWindowFlags(Qt::Widget);
    QFontDialog::FontDialogOptions options =
        QFontDialog::DontUseNativeDialog | QFontDialog::NoButtons;
    if (fixedPitchOnly)
        options |= QFontDialog::MonospacedFonts;
    fonts->setOptions(options);
    fonts->setCurrentFont(toQFont(initial.font));
    layout->addWidget(fonts);
    // The embedded chooser is a dialog of its own: Escape in it would only
    // close it inside its host. It cancels the host instead.
    QObject::connect(fonts, &QDialog::rejected, &dialog, &QDialog::reject);

    QColor colour = fromColorRef(initial.foreColor);
    if (withEffects) {
        auto* colourButton = new QPushButton(QStringLiteral("&Color..."), &dialog);
        colourButton->setObjectName(QStringLiteral("colourButton"));
        showSwatch(colourButton, colour);
        QObject::connect(colourButton, &QPushButton::clicked, &dialog, [&] {
            const QColor picked = QColorDialog::getColor(colour, &dialog);
            if (picked.isValid()) {
                colour = picked;
                showSwatch(colourButton, colour);
            }
        });
        auto* row = new QHBoxLayout;
        row->addWidget(colourButton);
        row->addStretch(1);
        layout->addLayout(row);
    }

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(buttons);

    int result = QDialog::Rejected;
    {
        const HandOverPause pause;
        result = dialog.exec();
    }
    if (result != QDialog::Accepted)
        return std::nullopt;
    FontChoice chosen{fromQFont(fonts->currentFont()),
                      withEffects ? toColorRef(colour) : initial.foreColor};
    // Without effects the diagram's underline and strikethrough stay as they were.
    if (!withEffects) {
        chosen.font.underline = initial.font.underline;
        chosen.font.strikeout = initial.font.strikeout;
    }
    return chosen;
}

}  // namespace orvane::FontCommands
