#include "Logs.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

using namespace orvane;

namespace {

// Sets an environment variable for the lifetime of the object.
class EnvOverride {
public:
    EnvOverride(const char* name, const QByteArray& value)
        : m_name(name), m_had(qEnvironmentVariableIsSet(name)), m_old(qgetenv(name))
    {
        if (value.isNull())
            qunsetenv(name);
        else
            qputenv(name, value);
    }
    ~EnvOverride()
    {
        if (m_had)
            qputenv(m_name, m_old);
        else
            qunsetenv(m_name);
    }
    EnvOverride(const EnvOverride&) = delete;
    EnvOverride& operator=(const EnvOverride&) = delete;

private:
    const char* m_name;
    bool m_had;
    QByteArray m_old;
};

}  // namespace

TEST(DebugLog, LivesInTheUsersDataFolderUnlessTheVariableNamesAnother)
{
    QTemporaryDir home;
    const EnvOverride data("XDG_DATA_HOME", home.path().toLocal8Bit());
    {
        const EnvOverride none("ORVANE_LOG_DIR", QByteArray());
        // The same folder with or without an application name.
        EXPECT_EQ(Logs::debugLogPath(), home.path() + QStringLiteral("/orvane/FSM.log"));
    }
    const EnvOverride chosen("ORVANE_LOG_DIR", home.path().toLocal8Bit());
    EXPECT_EQ(Logs::debugLogPath(), home.path() + QStringLiteral("/FSM.log"));
}
