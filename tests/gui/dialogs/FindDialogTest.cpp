#include "FindDialog.h"
#include "ModalTestSupport.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

using namespace orvane;
using namespace orvane::testing;

namespace {

TEST(FindDialogTest, ReplacementCountsOnlyWhenEnabled)
{
    onModal([](QDialog* d) {
        auto* replace = child<QLineEdit>(d, "replaceEdit");
        auto* enable = child<QCheckBox>(d, "replaceBox");
        EXPECT_FALSE(enable->isChecked());  // unchecked whenever the dialog opens
        EXPECT_TRUE(replace->isReadOnly());
        EXPECT_EQ(replace->text(), QStringLiteral("old"));
        EXPECT_EQ(child<QLineEdit>(d, "findEdit")->selectedText(), QStringLiteral("abc"));
        enable->click();
        EXPECT_FALSE(replace->isReadOnly());
        EXPECT_EQ(replace->palette().color(QPalette::Base), QColor(Qt::white));
        replace->setText(QStringLiteral("new"));
        child<QCheckBox>(d, "caseSensitiveBox")->click();
        child<QPushButton>(d, "okButton")->click();
    });
    QString replaceWith = QStringLiteral("old");
    bool caseSensitive = false;
    EXPECT_EQ(FindDialog::ask(QStringLiteral("abc"), replaceWith, caseSensitive, false),
              QStringLiteral("abc"));
    EXPECT_EQ(replaceWith, QStringLiteral("new"));
    EXPECT_TRUE(caseSensitive);
}

}  // namespace
