#include "InstalledTools.h"

#include "Document.h"
#include "DocumentRegistry.h"
#include "FindAndReplace.h"
#include "UserInterface.h"
#include "InstanceSender.h"
#include "AboutDialog.h"
#include "DocumentWindow.h"
#include "InstanceReceiver.h"
#include "MainWindow.h"
#include "WordPicker.h"
#include "FontCommands.h"

namespace orvane {

namespace {

FsmDocument& fsmOf(DocumentWindow& w) { return w.document()->fsm; }

FontCommands::CommitEditor commitOf(DocumentWindow& w)
{
    return [&w] { w.commitRemarkEditor(); };
}

void installLink(MainWindow& main)
{
    // The link lives as long as the main window; a second receiver on the
    // same channel is refused, and the program then only opens its own files.
    auto* link = new InstanceReceiver(&main);
    link->listen();
    link->setOpenHandler([&main](const QString& path) {
        main.openFile(path);
        bringToFront(main);
    });
    link->setActivateHandler([&main] { bringToFront(main); });
    WordPicker::install(&main.documents());
}

}  // namespace

void bringToFront(QWidget& window)
{
    if (window.isMinimized())
        window.setWindowState(window.windowState() & ~Qt::WindowMinimized);
    window.show();
    window.raise();
    window.activateWindow();
}

ToolHooks installedToolHooks()
{
    ToolHooks h;
    h.find = [](DocumentWindow& w) {
        FindTexts texts{w.findWhat, w.replaceWith};
        bool caseSensitive = w.mainWindow().findCaseSensitive();
        const FindAndReplace::FindOutcome outcome =
            FindAndReplace::runFind(fsmOf(w), texts, caseSensitive, &w);
        if (outcome == FindAndReplace::FindOutcome::NotFound)
            w.mainWindow().showStatusMessage(QLatin1Char('"') + texts.findWhat
                                             + QStringLiteral("\" not found"));
        w.findWhat = texts.findWhat;
        w.replaceWith = texts.replaceWith;
        w.mainWindow().setFindCaseSensitive(caseSensitive);
    };
    h.enlargeFont = [](DocumentWindow& w) {
        FontCommands::enlargeFont(fsmOf(w), w.mainWindow().ui(), commitOf(w));
    };
    h.reduceFont = [](DocumentWindow& w) {
        FontCommands::reduceFont(fsmOf(w), w.mainWindow().ui(), commitOf(w));
    };
    h.changeFont = [](DocumentWindow& w, bool fixedPitchOnly) {
        FontCommands::changeFont(
            fsmOf(w), fixedPitchOnly, w.mainWindow().ui(),
            [&w](const FontCommands::FontChoice& initial, bool withEffects, bool fixed) {
                return FontCommands::askFont(initial, withEffects, fixed, &w);
            },
            commitOf(w));
    };
    h.about = [](QWidget* parent) { AboutDialog::run(parent); };
    h.handOver = [](const QString& path) {
        return InstanceSender::handOverToRunningInstance(path);
    };
    h.mainWindowReady = [](MainWindow& main) { installLink(main); };
    h.queueFile = [](const QString& path) {
        if (InstanceReceiver* link = InstanceReceiver::current())
            link->receive(path);
    };
    h.stopped = [] {
        if (InstanceReceiver* link = InstanceReceiver::current())
            link->stopped();
    };
    h.running = [] {
        if (InstanceReceiver* link = InstanceReceiver::current())
            link->running();
    };
    return h;
}

}  // namespace orvane
