#pragma once
#include <QString>

namespace orvane {
// "Orvane Editor v" + major + "." + minor + "r" + revision, from the project version.
inline QString programTitle()
{
    return QStringLiteral("Orvane Editor v%1.%2r%3")
        .arg(ORVANE_VERSION_MAJOR)
        .arg(ORVANE_VERSION_MINOR)
        .arg(ORVANE_VERSION_PATCH);
}
}  // namespace orvane
