#include "AboutDialog.h"

#include "Messenger.h"
#include "RecordingMessenger.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace orvane;

namespace {

using orvane::testing::RecordingMessenger;

// PATH set to one folder for the lifetime of the object.
class PathOverride {
public:
    explicit PathOverride(const QString& folder) : m_old(qgetenv("PATH"))
    {
        qputenv("PATH", folder.toLocal8Bit());
    }
    ~PathOverride() { qputenv("PATH", m_old); }

private:
    QByteArray m_old;
};

TEST(AboutDialogTest, InfoStartsTheFirstToolOnPathOrSaysNoneIsThere)
{
    QTemporaryDir bin;
    ASSERT_TRUE(bin.isValid());
    RecordingMessenger messenger;
    AboutDialog about(nullptr, &messenger);
    auto* info = about.findChild<QPushButton*>(QStringLiteral("systemInfoButton"));
    {
        const PathOverride path(bin.path());
        info->click();
        EXPECT_EQ(messenger.texts,
                  QStringList{QStringLiteral("System Information Is Unavailable At This Time")});
    }

    const QString marker = bin.filePath(QStringLiteral("started"));
    QFile tool(bin.filePath(QStringLiteral("hardinfo")));
    ASSERT_TRUE(tool.open(QIODevice::WriteOnly));
    tool.write(QStringLiteral("#!/bin/sh\n: > '%1'\n").arg(marker).toLocal8Bit());
    tool.close();
    tool.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    {
        const PathOverride path(bin.path());
        EXPECT_EQ(AboutDialog::findSystemInfoTool(), tool.fileName());
        info->click();
    }
    EXPECT_TRUE(QTest::qWaitFor([&] { return QFile::exists(marker); }, 5000));
    EXPECT_EQ(messenger.texts.size(), 1);
}

}  // namespace
