#include "support/TestPaths.h"

#include <QDir>

namespace {
QString folder(const char *variable, const char *configured)
{
    const QString env = qEnvironmentVariable(variable);
    return QDir::cleanPath(env.isEmpty() ? QString::fromUtf8(configured) : env);
}
}

QString TestPaths::sourceDir()
{
    return folder("NRT52_SOURCE_DIR", NRT52_CONFIGURED_SOURCE_DIR);
}

QString TestPaths::buildDir()
{
    return folder("NRT52_BUILD_DIR", NRT52_CONFIGURED_BUILD_DIR);
}

QString TestPaths::picturePath(const char *variable, const QString &fileName)
{
    const QString path = qEnvironmentVariable(variable);
    return path.isEmpty() ? buildDir() + QLatin1Char('/') + fileName : path;
}
