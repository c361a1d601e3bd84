#pragma once

#include "platform/ExternalProgram.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTimer>

// The connection test of a device table row: one bounded ping of the row's address
// ("ping -n -c 1 -W 1 ADDRESS", about a second at most), run as a child process so that the
// window never waits for it. Success means the address itself answered: ping ended with
// status 0 and its output tells of a reply from that address with its "ttl".
class ConnectionTest : public QObject
{
    Q_OBJECT
public:
    enum class Start {
        Started,   // finished() follows
        NoAddress, // the text has fewer than four "."-separated parts: nothing was started
        Busy       // a test is still running: nothing was started
    };
    Q_ENUM(Start)

    // A ping that has not ended by then is killed and counts as a failure.
    static constexpr int LimitMs = 10000;

    explicit ConnectionTest(QObject *parent = nullptr);
    ~ConnectionTest() override;

    // The address text as the table holds it, normalised: the first four "."-separated parts
    // each read as an unsigned decimal number (anything else, blanks too, as 0), so
    // "192.168.001.010" gives "192.168.1.10" and the blank mask "0.0.0.0". Empty when the
    // text has fewer than four parts.
    static QString normalisedAddress(const QString &addressText);

    // The verdict on one finished ping of address.
    static bool isAnswered(int exitCode, const QByteArray &output, const QString &address);

    // Starts the test of a row's address text; returns at once.
    Start start(const QString &addressText);
    bool isRunning() const;
    // The normalised address of the running or last test.
    QString address() const { return testedAddress; }
    // ping's whole output of the last test.
    QByteArray output() const { return pingOutput; }
    // The process id of a running ping, 0 otherwise.
    qint64 processId() const { return ping.processId(); }

signals:
    // The test of address() is over.
    void finished(bool success);

private:
    void onPingFinished(int exitCode, QProcess::ExitStatus exitStatus);
    void onPingError(QProcess::ProcessError error);
    void conclude(bool success);

    ExternalProgram ping;
    QTimer limit;
    QString testedAddress;
    QByteArray pingOutput;
    bool running = false;
};
