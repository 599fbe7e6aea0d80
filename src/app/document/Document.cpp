#include "Document.h"

#include "ProcessState.h"
#include "MachineInfo.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QThreadPool>

namespace orvane {

Document::Document(QObject* parent) : QObject(parent) {}

Document::~Document()
{
    // The write must not outlive the document it reports to; what would have
    // followed it is dropped with the document.
    if (m_saver)
        m_saver->waitForDone();
}

void Document::startSave(std::function<std::function<void()>()> write)
{
    if (!m_saver) {
        m_saver = std::make_unique<QThreadPool>();
        m_saver->setMaxThreadCount(1);
    }
    m_saving = true;
    m_saver->start([this, write = std::move(write)] {
        std::function<void()> then = write();
        QMetaObject::invokeMethod(
            this,
            [this, then = std::move(then)] {
                m_saving = false;
                if (then)
                    then();
                // What followed may have started another write (a save
                // without its backup copy, when the user asked for one).
                if (!m_saving)
                    emit saveEnded();
            },
            Qt::QueuedConnection);
    });
}

void Document::waitForSave()
{
    if (!m_saving)
        return;
    QEventLoop loop;
    connect(this, &Document::saveEnded, &loop, &QEventLoop::quit);
    while (m_saving)
        loop.exec(QEventLoop::ExcludeUserInputEvents);
}

void Document::setCaption(const QString& caption)
{
    if (fsm.caption == caption)
        return;
    fsm.caption = caption;
    emit captionChanged(caption);
}

void Document::refreshButtons() { emit buttonsRefreshRequested(); }

void Document::readGraphConfig()
{
    MachineInfo::loadGraphInfo(fsm, true);
    fsm.readConfig(process().overrides);
    emit graphConfigApplied();
}

std::unique_ptr<Diagram> Document::fileCopyWithRecord()
{
    return MachineInfo::fileCopyWithRecord(fsm);
}

bool Document::modeCommand() { return process().batchMode; }

}  // namespace orvane
