#pragma once
// Real font metrics for the diagram: the fonts the renderer draws with and a
// TextMeasurer built on them, so that nodes fitted to their text (autosize)
// hold exactly the text that is drawn.

#include "Diagram.h"

#include <QFont>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

namespace orvane {

// The font a diagram font is drawn with. Its pixel size is the font size in
// twips (1 point = 20 twips), so in a painter whose units are twips it has
// the right size on any device, and its metrics do not depend on the screen.
QFont toQFont(const DiagramFont& font);

// The lines of a node text as they are drawn: cut at CR (LF dropped), a final
// line break opens no new line, tabs expanded to the next multiple of 4
// columns. An empty text is one empty line.
QStringList displayLines(const QString& text);
// Calls `visit` with each of the displayLines of the text in turn, one line
// buffer reused: a text of megabytes is not held again as a list of lines.
void forEachDisplayLine(const QString& text, const std::function<void(const QString&)>& visit);

// The advance in `font` of each of the displayLines of `text`. Long texts
// are measured once and kept (the last few): sizing a node, framing a
// picture and laying out its text measure the same lines again, and shaping
// megabytes of text takes seconds. Needs a QGuiApplication.
std::shared_ptr<const std::vector<double>> lineAdvances(const QString& text, const QFont& font);
// The same in toQFont(font). A text of hundreds of thousands of characters
// is cut at line breaks into pieces measured on several threads at once,
// which gives every line the advance it gets on one thread.
std::shared_ptr<const std::vector<double>> lineAdvances(const QString& text,
                                                        const DiagramFont& font);

// Measures texts with QFontMetricsF; needs a QGuiApplication.
class FontTextMeasurer : public TextMeasurer {
public:
    QSizeF textSize(const QString& text, const DiagramFont& font) const override;
};

// Makes FontTextMeasurer the measurer of every diagram. Call it once after
// the QGuiApplication exists and before diagrams are loaded; without a
// QGuiApplication it does nothing and diagrams keep the estimate.
void installFontTextMeasurer();

}  // namespace orvane
