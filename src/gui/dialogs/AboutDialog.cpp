#include "AboutDialog.h"

#include "ProcessState.h"
#include "PropertyDialogSupport.h"
#include "InstanceReceiver.h"
#include "Version.h"

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
QString applicationTitle()
{
    return process().windowTitle.isEmpty() ? programTitle() : process().windowTitle;
}

QString description()
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

AboutDialog::AboutDialog(QWidget* parent, Messenger* messenger)
    : QDialog(parent), m_messenger(messenger)
{
    setObjectName(QStringLiteral("AboutDialog"));
    const QString title = applicationTitle();
    setWindowTitle(QStringLiteral("About ") + title);

    m_iconLabel = new QLabel(this);
    m_iconLabel->setObjectName(QStringLiteral("iconLabel"));
    QIcon icon = QApplication::windowIcon();
    if (icon.isNull())
        icon = style()->standardIcon(QStyle::SP_ComputerIcon);
    m_iconLabel->setPixmap(icon.pixmap(48, 48));

    m_titleLabel = new QLabel(title, this);
    m_titleLabel->setObjectName(QStringLiteral("titleLabel"));
    QFont big = m_titleLabel->font();
    big.setPointSizeF(big.pointSizeF() * 1.5);
    big.setBold(true);
    m_titleLabel->setFont(big);
    m_versionLabel = new QLabel(versionLine(), this);
    m_versionLabel->setObjectName(QStringLiteral("versionLabel"));

    m_descriptionBox = new QPlainTextEdit(this);
    m_descriptionBox->setObjectName(QStringLiteral("descriptionBox"));
    m_descriptionBox->setReadOnly(true);
    m_descriptionBox->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_descriptionBox->setPlainText(description());
    m_descriptionBox->setMinimumSize(420, 160);

    m_disclaimerLabel = new QLabel(
        QStringLiteral("Warning: this program is provided as it is, without any warranty. Check "
                       "the generated code before you use it in a product."),
        this);
    m_disclaimerLabel->setObjectName(QStringLiteral("disclaimerLabel"));
    m_disclaimerLabel->setWordWrap(true);

    m_okButton = new QPushButton(QStringLiteral("Ok"), this);
    m_okButton->setObjectName(QStringLiteral("okButton"));
    m_okButton->setDefault(true);
    m_systemInfoButton = new QPushButton(QStringLiteral("&Info..."), this);
    m_systemInfoButton->setObjectName(QStringLiteral("systemInfoButton"));
    m_systemInfoButton->setAutoDefault(false);

    auto* head = new QGridLayout;
    head->addWidget(m_iconLabel, 0, 0, 2, 1, Qt::AlignTop);
    head->addWidget(m_titleLabel, 0, 1);
    head->addWidget(m_versionLabel, 1, 1);
    head->setColumnStretch(1, 1);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(m_okButton);
    buttons->addWidget(m_systemInfoButton);
    buttons->addStretch(1);
    auto* foot = new QHBoxLayout;
    foot->addWidget(m_disclaimerLabel, 1);
    foot->addLayout(buttons);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(head);
    layout->addWidget(m_descriptionBox, 1);
    layout->addLayout(foot);

    // Enter presses "Ok" as the default button; Esc rejects, which closes too.
    connect(m_okButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_systemInfoButton, &QPushButton::clicked, this, &AboutDialog::startSysInfo);
}

AboutDialog::~AboutDialog() = default;

void AboutDialog::run(QWidget* parent)
{
    AboutDialog about(parent);
    const HandOverPause pause;
    about.exec();
}

QString AboutDialog::versionLine()
{
    return QStringLiteral("Version %1.%2r%3   (27-Nov-2002)")
        .arg(ORVANE_VERSION_MAJOR)
        .arg(ORVANE_VERSION_MINOR)
        .arg(ORVANE_VERSION_PATCH);
}

QStringList AboutDialog::systemInfoTools()
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

QString AboutDialog::findSystemInfoTool()
{
    for (const QString& tool : systemInfoTools()) {
        const QString path = QStandardPaths::findExecutable(tool);
        if (!path.isEmpty())
            return path;
    }
    return QString();
}

void AboutDialog::startSysInfo()
{
    const QString tool = findSystemInfoTool();
    if (!tool.isEmpty() && QProcess::startDetached(tool, {}))
        return;
    const QString text = QStringLiteral("System Information Is Unavailable At This Time");
    if (m_messenger) {
        m_messenger->message(text, MessageIcon::None, applicationTitle());
        return;
    }
    MessageBoxAsker box(this);
    box.message(text, MessageIcon::None, applicationTitle());
}

}  // namespace orvane
