#include "frmFindWhat.h"

#include "PropertyDialogSupport.h"
#include "frmLib_LinkInstance.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace orvane {

namespace Support = PropertyDialogSupport;

frmFindWhat::frmFindWhat(const QString& findWhat, const QString& replaceWith, bool caseSensitive,
                         bool readOnly, QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmFindWhat"));
    setWindowTitle(QStringLiteral("String to search"));

    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    txtToFind = new QLineEdit(this);
    txtToFind->setObjectName(QStringLiteral("txtToFind"));
    txtToReplace = new QLineEdit(this);
    txtToReplace->setObjectName(QStringLiteral("txtToReplace"));
    grid->addWidget(new QLabel(QStringLiteral("Search:"), this), 0, 0);
    grid->addWidget(txtToFind, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Replace:"), this), 1, 0);
    grid->addWidget(txtToReplace, 1, 1);
    grid->setColumnMinimumWidth(1, 300);
    layout->addLayout(grid);

    chkCaseSensitive = new QCheckBox(QStringLiteral("Case Sensitive"), this);
    chkCaseSensitive->setObjectName(QStringLiteral("chkCaseSensitive"));
    chkEnableReplace = new QCheckBox(QStringLiteral("Enable Replace"), this);
    chkEnableReplace->setObjectName(QStringLiteral("chkEnableReplace"));
    auto* checks = new QHBoxLayout;
    checks->addWidget(chkCaseSensitive);
    checks->addWidget(chkEnableReplace);
    checks->addStretch(1);
    layout->addLayout(checks);

    cmdOk = new QPushButton(QStringLiteral("OK"), this);
    cmdOk->setObjectName(QStringLiteral("cmdOk"));
    cmdOk->setDefault(true);
    cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdCancel->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdOk);
    buttons->addWidget(cmdCancel);
    layout->addLayout(buttons);

    connect(cmdOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmdCancel, &QPushButton::clicked, this, &frmFindWhat::reject);
    connect(chkEnableReplace, &QCheckBox::toggled, this, &frmFindWhat::updateReplaceBox);

    chkEnableReplace->setChecked(false);
    chkEnableReplace->setEnabled(!readOnly);
    txtToFind->setText(findWhat);
    txtToFind->selectAll();
    txtToReplace->setText(readOnly ? QString() : replaceWith);
    chkCaseSensitive->setChecked(caseSensitive);
    updateReplaceBox();
    txtToFind->setFocus();
}

QString frmFindWhat::Ask(const QString& findWhat, QString& replaceWith, bool& caseSensitive,
                         bool readOnly, QWidget* parent)
{
    frmFindWhat dialog(findWhat, replaceWith, caseSensitive, readOnly, parent);
    {
        const HandOverPause pause;
        dialog.exec();
    }
    replaceWith = dialog.replaceText();
    caseSensitive = dialog.caseSensitive();
    return dialog.findText();
}

QString frmFindWhat::findText() const { return txtToFind->text(); }

QString frmFindWhat::replaceText() const
{
    return chkEnableReplace->isChecked() ? txtToReplace->text() : QString();
}

bool frmFindWhat::caseSensitive() const { return chkCaseSensitive->isChecked(); }

void frmFindWhat::reject()
{
    txtToFind->clear();
    QDialog::reject();
}

void frmFindWhat::updateReplaceBox()
{
    Support::LockLineEdit(txtToReplace, !chkEnableReplace->isChecked());
}

}  // namespace orvane
