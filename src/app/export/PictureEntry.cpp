// The picture library's entry point: what the batch road of the program
// (which links only Qt Core) takes from this library when a page or picture
// switch is given.

#include "CoveragePage.h"
#include "FontTextMeasurer.h"
#include "HtmlPage.h"
#include "Modules.h"

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

const PictureModule kPictureModule{&createDrawingApplication, &HtmlPage::fileSaveAsHTML,
                                   &HtmlPage::fileSaveAsEMF, &CoveragePage::writePage};

}  // namespace

}  // namespace orvane

extern "C" Q_DECL_EXPORT const orvane::PictureModule* orvanePictureModule()
{
    return &orvane::kPictureModule;
}
