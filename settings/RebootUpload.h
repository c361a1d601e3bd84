#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// The on-demand reboot of a level checker: the marker file ".reboot" uploaded by curl into
// the folder "/data/" of the device's FTP service. The login travels on curl's standard
// input ("-K -"), never on its command line, where every user of the machine could read it.
class RebootUpload
{
public:
    // The device login, user name and password alike.
    static const char *const Login;
    // curl's limit for the whole transfer, in seconds.
    static constexpr int TimeLimitSeconds = 3;
    static const char *const Program;

    // The installed marker file below the root folder.
    static QString markerPath();

    // The FTP port of a device; 0 for the scheme's own port. Tests and the demo run devices
    // side by side on one loopback address and give their FTP ports in NRT52_FTP_PORTS:
    // entries "address:snmpPort=ftpPort" separated by "," or blanks.
    static int ftpPort(const QString &address, int snmpPort);

    // "ftp://address:port/data/"; an empty port after the colon without one.
    static QString targetUrl(const QString &address, int ftpPort);
    // curl's arguments: quiet apart from errors, no user configuration file, the time limit,
    // the marker, the options from standard input and the target.
    static QStringList arguments(const QString &markerPath, const QString &address, int ftpPort);
    // What curl reads from standard input: the login.
    static QByteArray standardInput();

    // True when the error output tells of a timeout ("timed out", any letter case).
    static bool isTimeout(const QByteArray &errorOutput);
};
