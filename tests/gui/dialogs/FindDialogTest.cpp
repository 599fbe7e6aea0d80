#include "frmFindWhat.h"
#include "ModalTestSupport.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

using namespace orvane;
using namespace orvane::testing;

namespace {

TEST(frmFindWhatTest, ReplacementCountsOnlyWhenEnabled)
{
    OnModal([](QDialog* d) {
        auto* replace = Child<QLineEdit>(d, "txtToReplace");
        auto* enable = Child<QCheckBox>(d, "chkEnableReplace");
        EXPECT_FALSE(enable->isChecked());  // unchecked whenever the dialog opens
        EXPECT_TRUE(replace->isReadOnly());
        EXPECT_EQ(replace->text(), QStringLiteral("old"));
        EXPECT_EQ(Child<QLineEdit>(d, "txtToFind")->selectedText(), QStringLiteral("abc"));
        enable->click();
        EXPECT_FALSE(replace->isReadOnly());
        EXPECT_EQ(replace->palette().color(QPalette::Base), QColor(Qt::white));
        replace->setText(QStringLiteral("new"));
        Child<QCheckBox>(d, "chkCaseSensitive")->click();
        Child<QPushButton>(d, "cmdOk")->click();
    });
    QString replaceWith = QStringLiteral("old");
    bool caseSensitive = false;
    EXPECT_EQ(frmFindWhat::Ask(QStringLiteral("abc"), replaceWith, caseSensitive, false),
              QStringLiteral("abc"));
    EXPECT_EQ(replaceWith, QStringLiteral("new"));
    EXPECT_TRUE(caseSensitive);
}

}  // namespace
