#include "platform/PlatformPaths.h"

#include <QDir>
#include <QStandardPaths>

namespace {
const QString kFixedPrefix = QStringLiteral("C:\\VELMORA\\NRT52\\");
}

QString PlatformPaths::rootFolder()
{
    const QString env = qEnvironmentVariable("NRT52_ROOT");
    if (!env.isEmpty())
        return QDir::cleanPath(QDir(env).absolutePath());
    return QDir::cleanPath(QDir::homePath() + QStringLiteral("/.local/share/NRT52"));
}

QByteArray PlatformPaths::rootKey()
{
    const QByteArray env = qgetenv("NRT52_ROOT");
    if (!env.isEmpty())
        return env.startsWith('/') ? env : env + '\0' + QDir::currentPath().toUtf8();
    return QByteArray(1, '\0') + qgetenv("HOME");
}

QString PlatformPaths::toLocal(const QString &windowsPath)
{
    if (windowsPath.startsWith(kFixedPrefix, Qt::CaseInsensitive)) {
        QString rest = windowsPath.mid(kFixedPrefix.size());
        rest.replace(QLatin1Char('\\'), QLatin1Char('/'));
        return rootFolder() + QLatin1Char('/') + rest;
    }
    if (windowsPath.compare(QStringLiteral("C:\\VELMORA\\NRT52"), Qt::CaseInsensitive) == 0)
        return rootFolder();
    const bool drive = windowsPath.size() >= 2 && windowsPath.at(0).isLetter()
                       && windowsPath.at(1) == QLatin1Char(':');
    if (drive) {
        QString rest = windowsPath.mid(2);
        rest.replace(QLatin1Char('\\'), QLatin1Char('/'));
        while (rest.startsWith(QLatin1Char('/')))
            rest.remove(0, 1);
        const QString driveFolder = QStringLiteral("drive_") + windowsPath.at(0).toLower();
        return rootFolder() + QLatin1Char('/') + driveFolder
               + (rest.isEmpty() ? QString() : QLatin1Char('/') + rest);
    }
    QString local = windowsPath;
    local.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return local;
}

QString PlatformPaths::checkerSettingsFolder()
{
    return toLocal(QStringLiteral("C:\\VELMORA\\NRT52\\InternalReadOnly\\CheckerSettings"));
}

QString PlatformPaths::mibFolder()
{
    return toLocal(QStringLiteral("C:\\VELMORA\\NRT52\\InternalReadOnly\\Mibs\\Vm"));
}
