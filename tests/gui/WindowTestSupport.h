#pragma once
// The window tests' fixture: a main window over a scripted user interface,
// with every file it may touch in the app tests' temporary folders, and the
// user's mouse on a document's diagram.

#include "../app/AppTestSupport.h"

#include "Document.h"
#include "DocumentWindow.h"
#include "MainWindow.h"

#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QTest>

namespace orvane::test {

class WindowTest : public AppTest {
protected:
    std::unique_ptr<MainWindow> main;

    void SetUp() override
    {
        AppTest::SetUp();
        main = std::make_unique<MainWindow>(&ui, nullptr);
        main->resize(1100, 800);
        main->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(main.get()));
    }

    void TearDown() override
    {
        main.reset();
        AppTest::TearDown();
    }

    // A new document, maximised so that its view is large.
    DocumentWindow* newDocument()
    {
        main->newDocument();
        DocumentWindow* w = main->activeDoc();
        w->subWindow()->showMaximized();
        QTest::qWait(1);
        return w;
    }

    DocumentWindow* open(const QString& path)
    {
        const DocumentCommands::OpenResult r = main->openFile(path);
        return r.ok() ? main->docWindow(r.document) : nullptr;
    }

    static Diagram& diagramOf(DocumentWindow* w) { return w->document()->fsm.diagram(); }

    static void drag(DocumentWindow* w, QPoint from, QPoint to)
    {
        QWidget* vp = w->view()->viewport();
        QTest::mousePress(vp, Qt::LeftButton, {}, from);
        QTest::mouseMove(vp, (from + to) / 2);
        QTest::mouseMove(vp, to);
        QTest::mouseRelease(vp, Qt::LeftButton, {}, to);
    }

    // Draws a node with its corners at these viewport pixels.
    static Node* drawNode(DocumentWindow* w, QPoint from, QPoint to)
    {
        const int before = diagramOf(w).nodeCount();
        drag(w, from, to);
        Diagram& d = diagramOf(w);
        return d.nodeCount() > before ? d.item(d.nodeCount()) : nullptr;
    }

    static QPoint centre(DocumentWindow* w, const Node* n)
    {
        return w->view()->mapFromScene(
            QRectF(n->left(), n->top(), n->width(), n->height()).center());
    }

    // A viewport pixel size that is `twips` long at the view's zoom.
    static int pixels(DocumentWindow* w, double twips)
    {
        return int(std::ceil(twips * w->view()->logicalDpiX() / 1440.0));
    }

    QAction* button(const char* key) const { return main->button(QString::fromLatin1(key)); }
    static QAction* item(DocumentWindow* w, const char* name)
    {
        return w->action(QString::fromLatin1(name));
    }
};

}  // namespace orvane::test
