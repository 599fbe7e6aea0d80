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

class AboutDialog : public QDialog {
    Q_OBJECT
public:
    // `messenger` (may be null: a message box) tells that no system
    // information tool is installed.
    explicit AboutDialog(QWidget* parent = nullptr, Messenger* messenger = nullptr);
    ~AboutDialog() override;

    // Shows the box modally; the hand-over of other starts waits meanwhile.
    static void run(QWidget* parent = nullptr);

    // "Version 1.0r0   (27-Nov-2002)" for the program's version.
    static QString versionLine();
    // The system information tools looked for on PATH, in order.
    static QStringList systemInfoTools();
    // The first of them found on PATH; empty when none is installed.
    static QString findSystemInfoTool();

    // "&Info...": starts the tool, or says that none is available.
    void startSysInfo();

private:
    QLabel* m_iconLabel = nullptr;
    QLabel* m_titleLabel = nullptr;
    QLabel* m_versionLabel = nullptr;
    QLabel* m_disclaimerLabel = nullptr;
    QPlainTextEdit* m_descriptionBox = nullptr;
    QPushButton* m_okButton = nullptr;
    QPushButton* m_systemInfoButton = nullptr;
    Messenger* m_messenger;
};

}  // namespace orvane
