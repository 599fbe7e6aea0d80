#include "InstalledTools.h"

#include "Document.h"
#include "DocumentRegistry.h"
#include "FindAndReplace.h"
#include "UserInterface.h"
#include "clsLib_PrevInstance.h"
#include "frmAbout.h"
#include "frmDoc.h"
#include "frmLib_LinkInstance.h"
#include "frmMain.h"
#include "frmRepositorio.h"
#include "modFont.h"

namespace orvane {

namespace {

FsmDocument& FsmOf(frmDoc& w) { return w.document()->fsm; }

modFont::CommitEditor CommitOf(frmDoc& w)
{
    return [&w] { w.CommitRemarkEditor(); };
}

void InstallLink(frmMain& main)
{
    // The link lives as long as the main window; a second receiver on the
    // same channel is refused, and the program then only opens its own files.
    auto* link = new frmLib_LinkInstance(&main);
    link->Listen();
    link->setOpenHandler([&main](const QString& path) {
        main.openFile(path);
        main.showNormal();
        main.raise();
        main.activateWindow();
    });
    link->setActivateHandler([&main] {
        if (main.isMinimized())
            main.showNormal();
        main.raise();
        main.activateWindow();
    });
    frmRepositorio::Install(&main.documents());
}

}  // namespace

ToolHooks InstalledToolHooks()
{
    ToolHooks h;
    h.find = [](frmDoc& w) {
        FindTexts texts{w.findWhat, w.replaceWith};
        bool caseSensitive = w.mainWindow().findCaseSensitive();
        FindAndReplace::RunFind(FsmOf(w), texts, caseSensitive, &w);
        w.findWhat = texts.findWhat;
        w.replaceWith = texts.replaceWith;
        w.mainWindow().setFindCaseSensitive(caseSensitive);
    };
    h.enlargeFont = [](frmDoc& w) {
        modFont::EnlargeFont(FsmOf(w), w.mainWindow().ui(), CommitOf(w));
    };
    h.reduceFont = [](frmDoc& w) {
        modFont::ReduceFont(FsmOf(w), w.mainWindow().ui(), CommitOf(w));
    };
    h.changeFont = [](frmDoc& w, bool fixedPitchOnly) {
        modFont::ChangeFont(
            FsmOf(w), fixedPitchOnly, w.mainWindow().ui(),
            [&w](const modFont::FontChoice& initial, bool withEffects, bool fixed) {
                return modFont::AskFont(initial, withEffects, fixed, &w);
            },
            CommitOf(w));
    };
    h.about = [](QWidget* parent) { frmAbout::Show(parent); };
    h.handOver = [](const QString& path) {
        return clsLib_PrevInstance::HandOverToRunningInstance(path);
    };
    h.mainWindowReady = [](frmMain& main) { InstallLink(main); };
    h.queueFile = [](const QString& path) {
        if (frmLib_LinkInstance* link = frmLib_LinkInstance::Current())
            link->Receive(path);
    };
    h.stopped = [] {
        if (frmLib_LinkInstance* link = frmLib_LinkInstance::Current())
            link->Stopped();
    };
    h.running = [] {
        if (frmLib_LinkInstance* link = frmLib_LinkInstance::Current())
            link->Running();
    };
    return h;
}

}  // namespace orvane
