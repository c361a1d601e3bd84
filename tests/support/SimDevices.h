#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <memory>

class QTemporaryDir;

// Simulated level checkers for tests: a thin wrapper around sim/simctl.
//
//   SimDevices sim;
//   QVERIFY2(sim.start(2), qPrintable(sim.lastError()));
//   const QString peer = sim.address(1);          // "127.0.0.1:PORT"
//   sim.setFault(1, SimDevices::Fault::Slow, 2500);
//   QTRY_COMPARE(sim.requests(1).value(0), QStringLiteral("GET 4.1"));
//
// Devices are numbered from 1 like the monitor's devices. Everything lives in a
// temporary folder of this object; the destructor stops every process it started, and
// the devices also stop by themselves when the test process ends without it.
// The source tree is found through TestPaths.
class SimDevices
{
public:
    enum class Fault { None, Silent, Error, Slow, WrongChannel, Range, NoSignal };

    SimDevices();
    ~SimDevices();
    SimDevices(const SimDevices &) = delete;
    SimDevices &operator=(const SimDevices &) = delete;

    // Starts count devices on 127.0.0.1 (free ports); false with lastError() on failure.
    bool start(int count);
    // The same, each device also with its FTP service (simctl start --ftp): storing the
    // reboot marker makes it answer nothing for rebootSeconds.
    bool startWithFtp(int count, double rebootSeconds);
    // The same on fixed ports: device K listens on basePort + K - 1 (161: the port a row
    // typed on the device setting screen gets). False when a port is taken.
    bool startAtPort(int count, int basePort);
    // Stops every process started; true when none is left. Also done by the destructor.
    bool stop();

    QStringList addresses() const { return m_addresses; }
    QString address(int device) const;      // "127.0.0.1:PORT", empty when unknown
    QString host(int device) const;         // "127.0.0.1"
    int port(int device) const;             // 0 when unknown
    int count() const { return m_addresses.size(); }
    int ftpPort(int device) const;          // 0 without an FTP service

    // delayMs is used by Slow; channel by WrongChannel (empty: a derived channel text).
    // A non-empty onlyChannel limits WrongChannel, Range and NoSignal to the results of
    // that selected channel text; Silent, Error and Slow hit every request.
    bool setFault(int device, Fault mode, int delayMs = 2500, const QString &channel = QString(),
                  const QString &onlyChannel = QString());

    // Request log lines as written: "<iso-time> GET 4.1", "<iso-time> SET 3.1.1 ISDBT".
    QStringList requestLog(int device) const;
    // The same without the time stamps: "GET 4.1", "SET 3.1.1 ISDBT".
    QStringList requests(int device) const;
    bool clearLog(int device);

    // The folder of the devices (DIR of simctl) and of one device (DIR/<n>).
    QString folder() const;
    QString deviceFolder(int device) const;

    // PIDs of every process of the devices (agents, handlers, relays).
    QList<qint64> processIds() const;
    static bool isProcessRunning(qint64 pid);

    QString lastError() const { return m_lastError; }

    // Source tree, simctl and the MIB module file.
    static QString sourceDir();
    static QString simctlPath();
    static QString mibFile();
    // Copies the MIB module to <root>/InternalReadOnly/Mibs/Vm/ (the mapping of
    // "C:\VELMORA\NRT52\InternalReadOnly\Mibs\Vm"); returns that folder, empty on failure.
    static QString installMib(const QString &root);

    static QString faultName(Fault mode);

private:
    bool startDevices(int count, const QStringList &options);
    bool runSimctl(const QStringList &arguments, QString *output = nullptr, int timeoutMs = 30000);

    std::unique_ptr<QTemporaryDir> m_dir;
    QStringList m_addresses;
    QList<qint64> m_startedPids;
    QString m_lastError;
    bool m_running = false;
};
