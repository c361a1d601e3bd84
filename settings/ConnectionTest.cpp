#include "settings/ConnectionTest.h"

#include <QStringList>

ConnectionTest::ConnectionTest(QObject *parent)
    : QObject(parent)
{
    limit.setSingleShot(true);
    limit.setInterval(LimitMs);
    connect(&limit, &QTimer::timeout, this, [this] {
        // finished() of the killed ping concludes the test.
        ping.kill();
    });
    connect(&ping, QOverload<int, QProcess::ExitStatus>::of(&QProcess::finished), this,
            &ConnectionTest::onPingFinished);
    connect(&ping, &QProcess::errorOccurred, this, &ConnectionTest::onPingError);
    connect(&ping, &QProcess::readyReadStandardOutput, this, [this] { pingOutput += ping.readAllStandardOutput(); });
}

ConnectionTest::~ConnectionTest()
{
    ping.disconnect(this);
}

QString ConnectionTest::normalisedAddress(const QString &addressText)
{
    const QStringList parts = addressText.split(QLatin1Char('.'));
    if (parts.size() < 4)
        return QString();
    QStringList numbers;
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        const uint number = parts.at(i).trimmed().toUInt(&ok);
        numbers << QString::number(ok ? number : 0);
    }
    return numbers.join(QLatin1Char('.'));
}

bool ConnectionTest::isAnswered(int exitCode, const QByteArray &output, const QString &address)
{
    if (exitCode != 0 || address.isEmpty())
        return false;
    const QString text = QString::fromLocal8Bit(output);
    // "64 bytes from 192.168.1.10: icmp_seq=1 ttl=64 time=0.4 ms"; a reply from elsewhere
    // (a router's "Destination Host Unreachable", or the local host for 0.0.0.0) is none.
    return text.contains(QStringLiteral("from %1:").arg(address))
           && text.contains(QLatin1String("ttl="), Qt::CaseInsensitive);
}

ConnectionTest::Start ConnectionTest::start(const QString &addressText)
{
    if (running)
        return Start::Busy;
    const QString address = normalisedAddress(addressText);
    if (address.isEmpty())
        return Start::NoAddress;
    testedAddress = address;
    pingOutput.clear();
    running = true;
    limit.start();
    ping.startProgram(QStringLiteral("ping"), {QStringLiteral("-n"), QStringLiteral("-c"), QStringLiteral("1"),
                                               QStringLiteral("-W"), QStringLiteral("1"), address});
    return Start::Started;
}

bool ConnectionTest::isRunning() const
{
    return running;
}

void ConnectionTest::onPingFinished(int exitCode, QProcess::ExitStatus exitStatus)
{
    pingOutput += ping.readAllStandardOutput();
    conclude(exitStatus == QProcess::NormalExit && isAnswered(exitCode, pingOutput, testedAddress));
}

void ConnectionTest::onPingError(QProcess::ProcessError error)
{
    // A ping that never ran reports no end of its own.
    if (error == QProcess::FailedToStart)
        conclude(false);
}

void ConnectionTest::conclude(bool success)
{
    if (!running)
        return;
    running = false;
    limit.stop();
    emit finished(success);
}
