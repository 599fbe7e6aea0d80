#pragma once
// The about box: the program's title and version, what it does, its
// credits, and a button that starts the desktop's system information tool.

#include <QDialog>
#include <QStringList>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace orvane {

class Messenger;

class frmAbout : public QDialog {
    Q_OBJECT
public:
    // `messenger` (may be null: a message box) tells that no system
    // information tool is installed.
    explicit frmAbout(QWidget* parent = nullptr, Messenger* messenger = nullptr);
    ~frmAbout() override;

    // Shows the box modally; the hand-over of other starts waits meanwhile.
    static void Show(QWidget* parent = nullptr);

    // "Version 1.0r0   (27-Nov-2002)" for the program's version.
    static QString VersionLine();
    // The system information tools looked for on PATH, in order.
    static QStringList SystemInfoTools();
    // The first of them found on PATH; empty when none is installed.
    static QString FindSystemInfoTool();

    // "&Info...": starts the tool, or says that none is available.
    void StartSysInfo();

private:
    QLabel* imgIcon = nullptr;
    QLabel* lblTitle = nullptr;
    QLabel* lblVersion = nullptr;
    QLabel* lblDisclaimer = nullptr;
    QPlainTextEdit* txtDescription = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdSysInfo = nullptr;
    Messenger* m_messenger;
};

}  // namespace orvane
