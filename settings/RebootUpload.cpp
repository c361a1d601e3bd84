#include "settings/RebootUpload.h"

#include "platform/PlatformPaths.h"

#include <QRegularExpression>

const char *const RebootUpload::Login = "kv52gate";
const char *const RebootUpload::Program = "curl";

QString RebootUpload::markerPath()
{
    return PlatformPaths::toLocal(QStringLiteral("C:\\VELMORA\\NRT52\\InternalReadOnly\\.reboot"));
}

int RebootUpload::ftpPort(const QString &address, int snmpPort)
{
    const QString key = QStringLiteral("%1:%2").arg(address).arg(snmpPort);
    const QStringList entries = qEnvironmentVariable("NRT52_FTP_PORTS")
                                    .split(QRegularExpression(QStringLiteral("[,\\s]+")), Qt::SkipEmptyParts);
    for (const QString &entry : entries) {
        const int equals = entry.indexOf(QLatin1Char('='));
        if (equals <= 0 || entry.left(equals) != key)
            continue;
        bool ok = false;
        const int port = entry.mid(equals + 1).toInt(&ok);
        if (ok && port > 0 && port < 65536)
            return port;
    }
    return 0;
}

QString RebootUpload::targetUrl(const QString &address, int ftpPort)
{
    return QStringLiteral("ftp://%1:%2/data/").arg(address, ftpPort > 0 ? QString::number(ftpPort) : QString());
}

QStringList RebootUpload::arguments(const QString &markerPath, const QString &address, int ftpPort)
{
    // "-q" must come first to keep a user's .curlrc out.
    return { QStringLiteral("-q"), QStringLiteral("--silent"), QStringLiteral("--show-error"),
             QStringLiteral("-m"), QString::number(TimeLimitSeconds), QStringLiteral("-T"), markerPath,
             QStringLiteral("-K"), QStringLiteral("-"), targetUrl(address, ftpPort) };
}

QByteArray RebootUpload::standardInput()
{
    return QByteArray("user = \"") + Login + ':' + Login + "\"\n";
}

bool RebootUpload::isTimeout(const QByteArray &errorOutput)
{
    return QString::fromLocal8Bit(errorOutput).contains(QLatin1String("timed out"), Qt::CaseInsensitive);
}
