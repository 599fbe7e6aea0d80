#include "frmAbout.h"

#include "ProcessState.h"
#include "PropertyDialogSupport.h"
#include "frmLib_LinkInstance.h"
#include "modVersion.h"

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QStyle>
#include <QVBoxLayout>

namespace orvane {

namespace {
QString ApplicationTitle()
{
    return Process().windowTitle.isEmpty() ? WindowTitle() : Process().windowTitle;
}

QString Description()
{
    return QStringLiteral(
        "Orvane Diagram Editor turns state diagrams into C code: draw the states and "
        "transitions of a hierarchical finite-state machine, write their actions in C, and "
        "generate switch-case, pointer or hierarchical ANSI-C modules, list files and HTML "
        "pages, from the window or from a build script.\r\n"
        "\r\n"
        "Credits: designed and written by the Orvane team.\r\n"
        "\r\n"
        "The code editor is built on QScintilla, Copyright (c) Riverbank Computing Limited, "
        "used under the terms of the GNU General Public License version 3. The windows are "
        "built with Qt, Copyright (c) The Qt Company Ltd., used under the terms of the GNU "
        "Lesser General Public License version 3.\r\n");
}
}  // namespace

frmAbout::frmAbout(QWidget* parent, Messenger* messenger) : QDialog(parent), m_messenger(messenger)
{
    setObjectName(QStringLiteral("frmAbout"));
    const QString title = ApplicationTitle();
    setWindowTitle(QStringLiteral("About ") + title);

    imgIcon = new QLabel(this);
    imgIcon->setObjectName(QStringLiteral("imgIcon"));
    QIcon icon = QApplication::windowIcon();
    if (icon.isNull())
        icon = style()->standardIcon(QStyle::SP_ComputerIcon);
    imgIcon->setPixmap(icon.pixmap(48, 48));

    lblTitle = new QLabel(title, this);
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    QFont big = lblTitle->font();
    big.setPointSizeF(big.pointSizeF() * 1.5);
    big.setBold(true);
    lblTitle->setFont(big);
    lblVersion = new QLabel(VersionLine(), this);
    lblVersion->setObjectName(QStringLiteral("lblVersion"));

    txtDescription = new QPlainTextEdit(this);
    txtDescription->setObjectName(QStringLiteral("txtDescription"));
    txtDescription->setReadOnly(true);
    txtDescription->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtDescription->setPlainText(Description());
    txtDescription->setMinimumSize(420, 160);

    lblDisclaimer = new QLabel(
        QStringLiteral("Warning: this program is provided as it is, without any warranty. Check "
                       "the generated code before you use it in a product."),
        this);
    lblDisclaimer->setObjectName(QStringLiteral("lblDisclaimer"));
    lblDisclaimer->setWordWrap(true);

    cmdOK = new QPushButton(QStringLiteral("Ok"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    cmdSysInfo = new QPushButton(QStringLiteral("&Info..."), this);
    cmdSysInfo->setObjectName(QStringLiteral("cmdSysInfo"));
    cmdSysInfo->setAutoDefault(false);

    auto* head = new QGridLayout;
    head->addWidget(imgIcon, 0, 0, 2, 1, Qt::AlignTop);
    head->addWidget(lblTitle, 0, 1);
    head->addWidget(lblVersion, 1, 1);
    head->setColumnStretch(1, 1);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdSysInfo);
    buttons->addStretch(1);
    auto* foot = new QHBoxLayout;
    foot->addWidget(lblDisclaimer, 1);
    foot->addLayout(buttons);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(head);
    layout->addWidget(txtDescription, 1);
    layout->addLayout(foot);

    // Enter presses "Ok" as the default button; Esc rejects, which closes too.
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmdSysInfo, &QPushButton::clicked, this, &frmAbout::StartSysInfo);
}

frmAbout::~frmAbout() = default;

void frmAbout::Show(QWidget* parent)
{
    frmAbout about(parent);
    const HandOverPause pause;
    about.exec();
}

QString frmAbout::VersionLine()
{
    return QStringLiteral("Version %1.%2r%3   (27-Nov-2002)")
        .arg(ORVANE_VERSION_MAJOR)
        .arg(ORVANE_VERSION_MINOR)
        .arg(ORVANE_VERSION_PATCH);
}

QStringList frmAbout::SystemInfoTools()
{
    return {QStringLiteral("hardinfo2"),
            QStringLiteral("hardinfo"),
            QStringLiteral("kinfocenter"),
            QStringLiteral("gnome-system-monitor"),
            QStringLiteral("plasma-systemmonitor"),
            QStringLiteral("ksysguard"),
            QStringLiteral("mate-system-monitor"),
            QStringLiteral("xfce4-taskmanager")};
}

QString frmAbout::FindSystemInfoTool()
{
    for (const QString& tool : SystemInfoTools()) {
        const QString path = QStandardPaths::findExecutable(tool);
        if (!path.isEmpty())
            return path;
    }
    return QString();
}

void frmAbout::StartSysInfo()
{
    const QString tool = FindSystemInfoTool();
    if (!tool.isEmpty() && QProcess::startDetached(tool, {}))
        return;
    const QString text = QStringLiteral("System Information Is Unavailable At This Time");
    if (m_messenger) {
        m_messenger->message(text, MessageIcon::None, ApplicationTitle());
        return;
    }
    MessageBoxAsker box(this);
    box.message(text, MessageIcon::None, ApplicationTitle());
}

}  // namespace orvane
