#pragma once
// The parts of the program that only some roads need, opened when a road
// needs them: the picture library (Qt Gui and the fonts) for the page and
// metafile switches, and the window library (Qt Widgets, the code editor)
// for the interactive road. The program itself links only Qt Core, so a code
// or list switch never loads the drawing or widget libraries.

#include "CommandLine.h"

#include <QString>
#include <QStringList>

#include <vector>

class QCoreApplication;

namespace orvane {

class FsmDocument;
class Messenger;
namespace Simulation {
class TraceReplay;
}

// The outputs besides the code, list, page and metafile.
enum class OtherOutput { Svg, Png, Mermaid, PlantUml, Scxml };

// What the picture library offers the batch road.
struct PictureModule {
    // The application object of a run that draws: a QGuiApplication on the
    // offscreen platform, with the font measurer installed for every diagram.
    QCoreApplication* (*createApplication)(int& argc, char** argv);
    // The page and its picture beside it; see HtmlPage::fileSaveAsHTML.
    bool (*writePage)(FsmDocument& doc, const QString& path, bool sameFolder, Messenger& messenger);
    // The picture alone; see HtmlPage::fileSaveAsEMF.
    bool (*writePicture)(FsmDocument& doc, const QString& path, Messenger& messenger);
    // The coverage page of a replay; see CoveragePage::writePage.
    bool (*writeCoveragePage)(const std::vector<const FsmDocument*>& documents,
                              const Simulation::TraceReplay& replay, const QString& traceName,
                              const QString& path, Messenger& messenger);
    // The page with an SVG picture beside it instead of the metafile.
    bool (*writeSvgPage)(FsmDocument& doc, const QString& path, bool sameFolder,
                         Messenger& messenger);
    // One of the other outputs; `dotsPerInch` concerns the SVG and PNG pictures.
    bool (*writeOther)(FsmDocument& doc, const QString& path, OtherOutput kind, double dotsPerInch,
                       Messenger& messenger);
};

namespace Modules {

// The folders searched for the program's libraries, first found wins: the
// installed library folder relative to the program, then the program's own
// folder (the build tree keeps them beside the program).
QStringList libraryFolders();

// The picture library's offer, or null with `error` saying why.
const PictureModule* pictureModule(QString* error);

// The interactive road: opens the window library and runs its window
// program. When the library cannot be opened, says so on standard error and
// returns 2.
int runWindows(int argc, char** argv, ProcessState& state);

}  // namespace Modules
}  // namespace orvane

// The entry points the libraries export, looked up by these names.
#define ORVANE_PICTURE_ENTRY "orvanePictureModule"
#define ORVANE_WINDOW_ENTRY "orvaneWindowRoad"
