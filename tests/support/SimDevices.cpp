#include "support/SimDevices.h"
#include "support/TestPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSaveFile>
#include <QTemporaryDir>

SimDevices::SimDevices() = default;

SimDevices::~SimDevices()
{
    stop();
}

QString SimDevices::sourceDir()
{
    return TestPaths::sourceDir();
}

QString SimDevices::simctlPath()
{
    return sourceDir() + QStringLiteral("/sim/simctl");
}

QString SimDevices::mibFile()
{
    return sourceDir() + QStringLiteral("/sim/VEDIRUDO-ZER");
}

QString SimDevices::installMib(const QString &root)
{
    const QString target = QDir::cleanPath(root + QStringLiteral("/InternalReadOnly/Mibs/Vm"));
    if (!QDir().mkpath(target))
        return QString();
    const QString file = target + QStringLiteral("/VEDIRUDO-ZER");
    QFile::remove(file);
    if (!QFile::copy(mibFile(), file))
        return QString();
    return target;
}

QString SimDevices::faultName(Fault mode)
{
    switch (mode) {
    case Fault::None: return QStringLiteral("none");
    case Fault::Silent: return QStringLiteral("silent");
    case Fault::Error: return QStringLiteral("error");
    case Fault::Slow: return QStringLiteral("slow");
    case Fault::WrongChannel: return QStringLiteral("wrongchannel");
    case Fault::Range: return QStringLiteral("range");
    case Fault::NoSignal: return QStringLiteral("nosignal");
    }
    return QStringLiteral("none");
}

bool SimDevices::runSimctl(const QStringList &arguments, QString *output, int timeoutMs)
{
    QProcess process;
    process.setProgram(simctlPath());
    process.setArguments(arguments);
    process.start();
    if (!process.waitForStarted(5000)) {
        m_lastError = QStringLiteral("cannot run %1: %2").arg(simctlPath(), process.errorString());
        return false;
    }
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished(2000);
        m_lastError = QStringLiteral("simctl %1 did not finish").arg(arguments.value(0));
        return false;
    }
    const QString out = QString::fromUtf8(process.readAllStandardOutput());
    if (output)
        *output = out;
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        m_lastError = QStringLiteral("simctl %1 failed (%2): %3")
                          .arg(arguments.join(QLatin1Char(' ')))
                          .arg(process.exitCode())
                          .arg(QString::fromUtf8(process.readAllStandardError()).trimmed());
        return false;
    }
    return true;
}

bool SimDevices::start(int count)
{
    return startDevices(count, {});
}

bool SimDevices::startWithFtp(int count, double rebootSeconds)
{
    return startDevices(count, {QStringLiteral("--ftp"), QStringLiteral("--reboot-seconds"),
                                QString::number(rebootSeconds)});
}

bool SimDevices::startAtPort(int count, int basePort)
{
    return startDevices(count, {QStringLiteral("--base-port"), QString::number(basePort)});
}

bool SimDevices::startDevices(int count, const QStringList &options)
{
    stop();
    m_dir = std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/nrt52-sim-XXXXXX"));
    if (!m_dir->isValid()) {
        m_lastError = QStringLiteral("no temporary folder");
        return false;
    }
    QString out;
    m_running = true;
    // The owner PID lets the devices go away by themselves should this test crash.
    const bool ok = runSimctl(QStringList{QStringLiteral("start"), QStringLiteral("--count"), QString::number(count),
                                          QStringLiteral("--dir"), folder(), QStringLiteral("--owner-pid"),
                                          QString::number(QCoreApplication::applicationPid())}
                                  + options,
                              &out, 60000);
    m_startedPids = processIds();
    if (!ok)
        return false;
    m_addresses = out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    if (m_addresses.size() != count) {
        m_lastError = QStringLiteral("simctl start printed %1 addresses for %2 devices")
                          .arg(m_addresses.size())
                          .arg(count);
        return false;
    }
    return true;
}

int SimDevices::ftpPort(int device) const
{
    QFile file(deviceFolder(device) + QStringLiteral("/ftp.port"));
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    return QString::fromLatin1(file.readAll()).trimmed().toInt();
}

bool SimDevices::stop()
{
    if (!m_running)
        return true;
    // Handlers start with the first request, so look again for what is running now.
    const QList<qint64> before = processIds() + m_startedPids;
    bool ok = runSimctl({QStringLiteral("stop"), QStringLiteral("--dir"), folder()});
    for (qint64 pid : before) {
        if (isProcessRunning(pid)) {
            m_lastError = QStringLiteral("process %1 still running after stop").arg(pid);
            ok = false;
        }
    }
    m_running = false;
    m_addresses.clear();
    m_startedPids.clear();
    return ok;
}

QString SimDevices::folder() const
{
    return m_dir ? m_dir->path() : QString();
}

QString SimDevices::deviceFolder(int device) const
{
    return folder() + QLatin1Char('/') + QString::number(device);
}

QString SimDevices::address(int device) const
{
    return m_addresses.value(device - 1);
}

QString SimDevices::host(int device) const
{
    return address(device).section(QLatin1Char(':'), 0, 0);
}

int SimDevices::port(int device) const
{
    return address(device).section(QLatin1Char(':'), 1, 1).toInt();
}

bool SimDevices::setFault(int device, Fault mode, int delayMs, const QString &channel,
                          const QString &onlyChannel)
{
    // Same file as "simctl fault" writes, written here directly: starting simctl for
    // every switch would cost a Python start-up each time. The relay and the handler
    // read it again at their next request.
    const QString path = deviceFolder(device) + QStringLiteral("/fault.json");
    if (!m_running || !QFile::exists(path)) {
        m_lastError = QStringLiteral("no device %1").arg(device);
        return false;
    }
    QJsonObject fault{{QStringLiteral("mode"), faultName(mode)},
                      {QStringLiteral("delay_ms"), mode == Fault::Slow ? qMax(0, delayMs) : 0}};
    if (mode == Fault::WrongChannel && !channel.isEmpty())
        fault.insert(QStringLiteral("channel"), channel);
    const bool valueFault = mode == Fault::WrongChannel || mode == Fault::Range || mode == Fault::NoSignal;
    if (valueFault && !onlyChannel.isEmpty())
        fault.insert(QStringLiteral("only_channel"), onlyChannel);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        m_lastError = file.errorString();
        return false;
    }
    file.write(QJsonDocument(fault).toJson());
    if (!file.commit()) {
        m_lastError = file.errorString();
        return false;
    }
    return true;
}

QStringList SimDevices::requestLog(int device) const
{
    QFile file(deviceFolder(device) + QStringLiteral("/requests.log"));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

QStringList SimDevices::requests(int device) const
{
    QStringList lines = requestLog(device);
    for (QString &line : lines)
        line = line.section(QLatin1Char(' '), 1);
    return lines;
}

bool SimDevices::clearLog(int device)
{
    // Truncating is safe while the relay writes: it appends with O_APPEND.
    QFile file(deviceFolder(device) + QStringLiteral("/requests.log"));
    if (!file.exists())
        return false;
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate);
}

QList<qint64> SimDevices::processIds() const
{
    QList<qint64> pids;
    QStringList deviceFolders;
    QFile file(folder() + QStringLiteral("/pids"));
    if (file.open(QIODevice::ReadOnly)) {
        const QJsonArray entries = QJsonDocument::fromJson(file.readAll()).array();
        for (const QJsonValue &entry : entries) {
            const QJsonObject object = entry.toObject();
            pids << object.value(QStringLiteral("pid")).toVariant().toLongLong();
            const QString dir = object.value(QStringLiteral("dir")).toString();
            if (!dir.isEmpty() && !deviceFolders.contains(dir))
                deviceFolders << dir;
        }
    }
    // snmpd starts the handler itself, which records its PID beside its state.
    for (const QString &dir : deviceFolders) {
        QFile handler(dir + QStringLiteral("/handler.pid"));
        if (handler.open(QIODevice::ReadOnly)) {
            const qint64 pid = handler.readAll().trimmed().toLongLong();
            if (pid > 0 && !pids.contains(pid))
                pids << pid;
        }
    }
    for (qint64 pid : m_startedPids) {
        if (!pids.contains(pid))
            pids << pid;
    }
    return pids;
}

bool SimDevices::isProcessRunning(qint64 pid)
{
    if (pid <= 0)
        return false;
    // A zombie has stopped running; only its parent's wait would remove it.
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return false;
    const QByteArray text = stat.readAll();
    const int close = text.lastIndexOf(')');
    if (close < 0)
        return false;
    const QByteArray state = text.mid(close + 1).trimmed().left(1);
    return state != "Z" && state != "X";
}
