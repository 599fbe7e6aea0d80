#include "FindDialog.h"

#include "PropertyDialogSupport.h"
#include "InstanceReceiver.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace orvane {

namespace Support = PropertyDialogSupport;

FindDialog::FindDialog(const QString& findWhat, const QString& replaceWith, bool caseSensitive,
                       bool readOnly, QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("FindDialog"));
    setWindowTitle(QStringLiteral("String to search"));

    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    m_findEdit = new QLineEdit(this);
    m_findEdit->setObjectName(QStringLiteral("findEdit"));
    m_replaceEdit = new QLineEdit(this);
    m_replaceEdit->setObjectName(QStringLiteral("replaceEdit"));
    grid->addWidget(new QLabel(QStringLiteral("Search:"), this), 0, 0);
    grid->addWidget(m_findEdit, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Replace:"), this), 1, 0);
    grid->addWidget(m_replaceEdit, 1, 1);
    grid->setColumnMinimumWidth(1, 300);
    layout->addLayout(grid);

    m_caseSensitiveBox = new QCheckBox(QStringLiteral("Case Sensitive"), this);
    m_caseSensitiveBox->setObjectName(QStringLiteral("caseSensitiveBox"));
    m_replaceBox = new QCheckBox(QStringLiteral("Enable Replace"), this);
    m_replaceBox->setObjectName(QStringLiteral("replaceBox"));
    auto* checks = new QHBoxLayout;
    checks->addWidget(m_caseSensitiveBox);
    checks->addWidget(m_replaceBox);
    checks->addStretch(1);
    layout->addLayout(checks);

    m_okButton = new QPushButton(QStringLiteral("OK"), this);
    m_okButton->setObjectName(QStringLiteral("okButton"));
    m_okButton->setDefault(true);
    m_cancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    m_cancelButton->setObjectName(QStringLiteral("cancelButton"));
    m_cancelButton->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_okButton);
    buttons->addWidget(m_cancelButton);
    layout->addLayout(buttons);

    connect(m_okButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_cancelButton, &QPushButton::clicked, this, &FindDialog::reject);
    connect(m_replaceBox, &QCheckBox::toggled, this, &FindDialog::updateReplaceBox);

    m_replaceBox->setChecked(false);
    m_replaceBox->setEnabled(!readOnly);
    m_findEdit->setText(findWhat);
    m_findEdit->selectAll();
    m_replaceEdit->setText(readOnly ? QString() : replaceWith);
    m_caseSensitiveBox->setChecked(caseSensitive);
    updateReplaceBox();
    m_findEdit->setFocus();
}

QString FindDialog::ask(const QString& findWhat, QString& replaceWith, bool& caseSensitive,
                        bool readOnly, QWidget* parent)
{
    FindDialog dialog(findWhat, replaceWith, caseSensitive, readOnly, parent);
    {
        const HandOverPause pause;
        dialog.exec();
    }
    replaceWith = dialog.replaceText();
    caseSensitive = dialog.caseSensitive();
    return dialog.findText();
}

QString FindDialog::findText() const { return m_findEdit->text(); }

QString FindDialog::replaceText() const
{
    return m_replaceBox->isChecked() ? m_replaceEdit->text() : QString();
}

bool FindDialog::caseSensitive() const { return m_caseSensitiveBox->isChecked(); }

void FindDialog::reject()
{
    m_findEdit->clear();
    QDialog::reject();
}

void FindDialog::updateReplaceBox()
{
    Support::lockLineEdit(m_replaceEdit, !m_replaceBox->isChecked());
}

}  // namespace orvane
