#include "support/TestPaths.h"

#include <QDir>
#include <QStandardPaths>

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

QString TestPaths::missingPrograms(const QStringList &programs)
{
    QStringList missing;
    for (const QString &program : programs) {
        if (QStandardPaths::findExecutable(program).isEmpty())
            missing.append(program);
    }
    if (missing.isEmpty())
        return QString();
    return QStringLiteral("not installed (or not on PATH): %1; scripts/install-deps.sh installs them")
        .arg(missing.join(QStringLiteral(", ")));
}
