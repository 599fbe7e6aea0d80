// The picture library's entry point: what the batch road of the program
// (which links only Qt Core) takes from this library when a page or picture
// switch is given.

#include "CoveragePage.h"
#include "DiagramText.h"
#include "FontTextMeasurer.h"
#include "HtmlPage.h"
#include "Modules.h"
#include "ScxmlWriter.h"

#include <QGuiApplication>

namespace orvane {

namespace {

QCoreApplication* createDrawingApplication(int& argc, char** argv)
{
    // Batch mode never needs a display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    auto* app = new QGuiApplication(argc, argv);
    installFontTextMeasurer();
    return app;
}

bool writeSvgPage(FsmDocument& doc, const QString& path, bool sameFolder, Messenger& messenger)
{
    return HtmlPage::fileSaveAsHTMLWithPicture(doc, path, sameFolder, HtmlPage::PictureFormat::Svg,
                                               messenger);
}

bool writeOther(FsmDocument& doc, const QString& path, OtherOutput kind, double dotsPerInch,
                Messenger& messenger)
{
    switch (kind) {
    case OtherOutput::Svg:
        return HtmlPage::fileSaveAsPicture(doc, path, HtmlPage::PictureFormat::Svg, dotsPerInch,
                                           messenger);
    case OtherOutput::Png:
        return HtmlPage::fileSaveAsPicture(doc, path, HtmlPage::PictureFormat::Png, dotsPerInch,
                                           messenger);
    case OtherOutput::Mermaid:
        return DiagramText::fileSaveAsMermaid(doc, path, messenger);
    case OtherOutput::PlantUml:
        return DiagramText::fileSaveAsPlantUml(doc, path, messenger);
    case OtherOutput::Scxml:
        return ScxmlWriter::fileSaveAsScxml(doc, path, messenger);
    }
    return false;
}

const PictureModule kPictureModule{&createDrawingApplication,
                                   &HtmlPage::fileSaveAsHTML,
                                   &HtmlPage::fileSaveAsEMF,
                                   &CoveragePage::writePage,
                                   &writeSvgPage,
                                   &writeOther};

}  // namespace

}  // namespace orvane

extern "C" Q_DECL_EXPORT const orvane::PictureModule* orvanePictureModule()
{
    return &orvane::kPictureModule;
}
